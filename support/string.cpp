// Construction and the text-building operations of string.
//
// Every result is assembled directly in one new record: concatenations and
// range edits copy their pieces once, and replace_nth measures its result
// before building it.
#include "support/string.h"

#include <array>
#include <climits>
#include <cstring>
#include <new>

#include "support/bytes.h"
#include "support/error.h"

namespace vrk {
namespace {

constexpr const char* kDupOutOfMemory = "string::str_dup: out of memory";
constexpr const char* kCatOutOfMemory = "string::str_cat: out of memory";

// Longest text whose record size still fits an int length.
constexpr std::size_t kMaxLength = static_cast<std::size_t>(INT_MAX) - 2 * sizeof(string::rep);

constexpr auto kCharTexts = [] {
  std::array<std::array<char, 2>, 256> texts{};
  for (int c = 0; c < 256; ++c) texts[c][0] = static_cast<char>(c);
  return texts;
}();

constexpr auto kCharReps = [] {
  std::array<string::rep, 256> reps{};
  for (int c = 0; c < 256; ++c) reps[c] = string::rep{-1, 1, kCharTexts[c].data()};
  return reps;
}();

char* text_of(string::rep* r) { return reinterpret_cast<char*>(r + 1); }

}  // namespace

string::rep* string::make(std::size_t length, const char* failure) {
  if (length > kMaxLength) {
    error(1, failure);
    return nullptr;
  }
  void* record = std_memory_mgr().allocate(record_size(length));
  if (record == nullptr) {
    error(1, failure);
    return nullptr;
  }
  rep* r = new (record) rep{1, static_cast<int>(length), nullptr};
  char* chars = text_of(r);
  chars[length] = '\0';
  r->text = chars;
  return r;
}

string string::from_parts(std::string_view a, std::string_view b, std::string_view c,
                          const char* failure) {
  if (a.size() + b.size() + c.size() == 0) return string();
  if (a.size() > kMaxLength || b.size() > kMaxLength || c.size() > kMaxLength) {
    error(1, failure);
    return string();
  }
  rep* r = make(a.size() + b.size() + c.size(), failure);
  string result;
  if (r == nullptr) return result;
  char* out = text_of(r);
  for (std::string_view part : {a, b, c}) {
    if (!part.empty()) std::memcpy(out, part.data(), part.size());
    out += part.size();
  }
  result.rep_ = r;
  return result;
}

string::string(const char* text) : rep_(&kEmptyText) {
  if (text == nullptr) {
    error(1, "string::str_dup: nil argument");
    return;
  }
  *this = from_parts(text, {}, {}, kDupOutOfMemory);
}

// One text, the commonest construction: copied straight into the new record.
string::string(const char* text, std::size_t length) : rep_(&kEmptyText) {
  if (length == 0) return;
  if (text == nullptr) {
    error(1, "string::str_dup: nil argument");
    return;
  }
  rep* r = make(length, kDupOutOfMemory);
  if (r == nullptr) return;
  copy_bytes(text_of(r), text, length);
  rep_ = r;
}

string::string(std::string_view text) : string(text.data(), text.size()) {}

string::string(char c) noexcept : rep_(&kCharReps[static_cast<unsigned char>(c)]) {}

// Concatenation with an empty side shares the other side's representation.
string::string(const string& a, const string& b) : rep_(&kEmptyText) {
  if (b.empty()) {
    *this = a;
  } else if (a.empty()) {
    *this = b;
  } else {
    *this = from_parts(a.view(), b.view(), {}, kCatOutOfMemory);
  }
}

string string::joined(std::string_view a, std::string_view b, std::string_view c) {
  return from_parts(a, b, c, kCatOutOfMemory);
}

// Positions are widened so that callers may pass i - 1 and j + 1 freely.
std::string_view string::clamped(long long i, long long j) const noexcept {
  if (i < 0) i = 0;
  if (j >= length()) j = length() - 1;
  if (j - i + 1 <= 0) return {};
  return view().substr(static_cast<std::size_t>(i), static_cast<std::size_t>(j - i + 1));
}

string string::substring(int i, int j) const {
  const std::string_view part = clamped(i, j);
  if (part.size() == static_cast<std::size_t>(length())) return *this;
  return from_parts(part, {}, {}, kDupOutOfMemory);
}

int string::find(const string& t, int i) const {
  if (t.empty() || i >= length()) return -1;
  const std::size_t at = view().find(t.view(), static_cast<std::size_t>(i < 0 ? 0 : i));
  return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

string string::replace_nth(const string& t, const string& r, int n) const {
  // First pass: the length of the result and whether anything changes.
  std::size_t result_length = 0;
  bool changed = false;
  int p = 0;
  int k = 0;
  for (int g = find(t, p); g >= 0; g = find(t, p)) {
    ++k;
    const bool replace = n == 0 || n == k;
    changed = changed || replace;
    result_length += static_cast<std::size_t>(g - p) + (replace ? r.view() : t.view()).size();
    p = g + t.length();
  }
  if (!changed) return *this;
  result_length += static_cast<std::size_t>(length() - p);

  // Second pass: copy the pieces.
  rep* out_rep = make(result_length, kDupOutOfMemory);
  string result;
  if (out_rep == nullptr) return result;
  char* out = text_of(out_rep);
  auto put = [&out](std::string_view piece) {
    if (!piece.empty()) std::memcpy(out, piece.data(), piece.size());
    out += piece.size();
  };
  p = 0;
  k = 0;
  for (int g = find(t, p); g >= 0; g = find(t, p)) {
    ++k;
    put(view().substr(static_cast<std::size_t>(p), static_cast<std::size_t>(g - p)));
    put(n == 0 || n == k ? r.view() : t.view());
    p = g + t.length();
  }
  put(view().substr(static_cast<std::size_t>(p)));
  result.rep_ = out_rep;
  return result;
}

string string::erase_range(int i, int j) const {
  return from_parts(clamped(0, i - 1LL), clamped(j + 1LL, length() - 1), {}, kCatOutOfMemory);
}

string string::replace_range(int i, int j, const string& r) const {
  return from_parts(clamped(0, i - 1LL), r.view(), clamped(j + 1LL, length() - 1),
                    kCatOutOfMemory);
}

}  // namespace vrk
