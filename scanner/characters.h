// The classes of source characters both scanners ask about.
#pragma once

namespace vrk {

// The code of a NUL byte in the source, in both modes: a token of its own that no production
// accepts, so it is a syntax error on its line (it must not read as 0, the end of the input).
inline constexpr int kNulByteToken = 301;

inline bool is_digit(char c) { return c >= '0' && c <= '9'; }
inline bool is_upper(char c) { return c >= 'A' && c <= 'Z'; }
inline bool is_lower(char c) { return c >= 'a' && c <= 'z'; }
inline bool is_letter(char c) { return is_upper(c) || is_lower(c); }
inline bool is_hex_digit(char c) { return is_digit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

}  // namespace vrk
