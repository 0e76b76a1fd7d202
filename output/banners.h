// The error banners, as static texts (see banners.def).
#pragma once

#include <string_view>

#include "support/string.h"

namespace vrk::banners {

#define VRK_BANNER(name, text) inline constexpr string::rep name = VRK_STATIC_TEXT(text);
#include "output/banners.def"
#undef VRK_BANNER

// A banner's bytes.
constexpr std::string_view text_of(const string::rep& banner) {
  return {banner.text, static_cast<std::size_t>(banner.length)};
}

}  // namespace vrk::banners
