// Token codes shared by the scanner, the parse engine and the translation actions.
#pragma once

namespace vrk::token {

enum Code : int {
#define VRK_TOKEN(name, code) name = code,
#include "scanner/tokens.def"
#undef VRK_TOKEN
};

}  // namespace vrk::token
