// Immutable reference-counted text.
//
// A string is one pointer to a shared representation: count, length and text.
// A representation made at run time is one record from the standard memory
// manager holding the header followed by the characters and a NUL, so a copy
// of a handle costs one increment and the last release one free-list push.
// Representations with a negative count are immortal static texts (the empty
// string, the 256 one-character strings, fixed fragments declared with
// VRK_STATIC_TEXT): they are never counted and never released, and wrapping
// one allocates nothing.  Every operation that changes text builds a new
// representation.  Failures go to the error handler with code 1; if a handler
// returns, the string is left empty.
//
// The class is the support library's public API: substring, replace_nth,
// erase_range and replace_range are part of it and tested with it, though the
// translator itself does not use them.
#pragma once

#include <cstddef>
#include <string_view>

#include "support/memory.h"

namespace vrk {

class string {
 public:
  struct rep {
    int refs;  // < 0: immortal (static text); never counted or released
    int length;
    const char* text;  // NUL-terminated; for manager-made reps it points just past the rep
  };

  constexpr string() noexcept;
  string(const char* text);  // NOLINT: implicit on purpose, literals convert
  string(const char* text, std::size_t length);
  string(std::string_view text);  // NOLINT
  explicit string(char c) noexcept;
  string(const string& a, const string& b);
  // The three texts one after another, in one new representation.
  static string joined(std::string_view a, std::string_view b, std::string_view c);
  explicit constexpr string(const rep& immortal) noexcept : rep_(&immortal) {}

  string(const string& other) noexcept : rep_(other.rep_) { retain(); }
  string(string&& other) noexcept;
  string& operator=(const string& other) noexcept;
  string& operator=(string&& other) noexcept;
  ~string() { drop(); }

  friend string operator+(const string& a, const string& b) { return string(a, b); }
  string& operator+=(const string& b);

  int length() const noexcept { return rep_->length; }
  const char* text() const noexcept { return rep_->text; }
  std::string_view view() const noexcept {
    return {rep_->text, static_cast<std::size_t>(rep_->length)};
  }
  bool empty() const noexcept { return rep_->length == 0; }

  // Characters i through j inclusive; i < 0 counts as 0, j >= length as
  // length - 1; empty when j - i + 1 <= 0.
  string substring(int i, int j) const;
  // First occurrence of t starting at or after i; -1 when none, when t is
  // empty, or when i is not below the length.
  int find(const string& t, int i) const;
  // n == 0 replaces every non-overlapping occurrence of t by r, n >= 1 only the n-th.
  string replace_nth(const string& t, const string& r, int n) const;
  // substring(0, i - 1) + substring(j + 1, length - 1)
  string erase_range(int i, int j) const;
  // substring(0, i - 1) + r + substring(j + 1, length - 1)
  string replace_range(int i, int j, const string& r) const;
  bool begins_with(std::string_view prefix) const noexcept { return view().starts_with(prefix); }

  friend bool operator==(const string& a, const string& b) noexcept {
    return a.rep_ == b.rep_ || a.view() == b.view();
  }
  friend bool operator==(const string& a, std::string_view b) noexcept { return a.view() == b; }
  // Keeps comparisons with literals unambiguous.
  friend bool operator==(const string& a, const char* b) noexcept {
    return b != nullptr && a.view() == std::string_view(b);
  }

  const rep* representation() const noexcept { return rep_; }
  bool is_immortal() const noexcept { return rep_->refs < 0; }

  // Bytes of the manager record for a text of the given length: header, text
  // and NUL, rounded up so that the header's pointer is always aligned.
  static constexpr std::size_t record_size(std::size_t length) noexcept {
    return (sizeof(rep) + length + 1 + alignof(rep) - 1) / alignof(rep) * alignof(rep);
  }

 private:
  // A fresh representation with room for length characters (text filled in
  // by the caller, NUL already set); nullptr after a reported failure.
  static rep* make(std::size_t length, const char* failure);
  static string from_parts(std::string_view a, std::string_view b, std::string_view c,
                           const char* failure);
  std::string_view clamped(long long i, long long j) const noexcept;

  void retain() const noexcept {
    if (rep_->refs >= 0) ++const_cast<rep*>(rep_)->refs;
  }
  void drop() noexcept {
    if (rep_->refs > 0 && --const_cast<rep*>(rep_)->refs == 0) {
      std_memory_mgr().release(const_cast<rep*>(rep_), record_size(rep_->length));
    }
  }

  const rep* rep_;
};

#define VRK_STATIC_TEXT(literal) \
  ::vrk::string::rep { -1, static_cast<int>(sizeof(literal) - 1), literal }

inline constexpr string::rep kEmptyText = VRK_STATIC_TEXT("");

constexpr string::string() noexcept : rep_(&kEmptyText) {}

inline string::string(string&& other) noexcept : rep_(other.rep_) { other.rep_ = &kEmptyText; }

inline string& string::operator=(const string& other) noexcept {
  other.retain();  // first, so that self-assignment is harmless
  drop();
  rep_ = other.rep_;
  return *this;
}

inline string& string::operator=(string&& other) noexcept {
  if (this != &other) {
    drop();
    rep_ = other.rep_;
    other.rep_ = &kEmptyText;
  }
  return *this;
}

inline string& string::operator+=(const string& b) {
  if (!b.empty()) *this = string(*this, b);
  return *this;
}

}  // namespace vrk
