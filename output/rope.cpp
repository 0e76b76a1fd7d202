#include "output/rope.h"

#include <algorithm>
#include <cstring>

namespace vrk {

Text Rope::piece(const char* data, std::size_t size) {
  if (size == 0) return {};
  if (pieces_ % kPiecesPerBlock == 0 && pieces_ / kPiecesPerBlock == blocks_.size()) {
    blocks_.push_back(std::make_unique_for_overwrite<Piece[]>(kPiecesPerBlock));
  }
  std::uint32_t index = pieces_++;
  at(index) = {data, static_cast<std::uint32_t>(size), Text::kNone};
  return {index, index, static_cast<std::uint32_t>(size)};
}

// Storage for `size` bytes that stays where it is until the rope is cleared. Chunks a clear()
// left behind are filled again before new ones are made.
char* Rope::reserve(std::size_t size) {
  while (size > left_) {
    if (chunk_in_use_ < chunks_.size() && chunks_[chunk_in_use_].size >= size) {
      free_ = chunks_[chunk_in_use_].bytes.get();
      left_ = chunks_[chunk_in_use_].size;
      ++chunk_in_use_;
      continue;
    }
    std::size_t usual = chunks_.empty() ? kFirstChunk : std::min(chunks_.back().size * 2, kLargestChunk);
    std::size_t chunk = size > usual ? size : usual;
    chunks_.insert(chunks_.begin() + static_cast<std::ptrdiff_t>(chunk_in_use_),
                   Chunk{make_block(chunk), chunk});
    free_ = chunks_[chunk_in_use_].bytes.get();
    left_ = chunk;
    ++chunk_in_use_;
  }
  char* start = free_;
  free_ += size;
  left_ -= size;
  return start;
}

// Most pieces are a few bytes: a loop costs less than a call of memcpy for those.
void Rope::put(char*& end, std::string_view bytes) {
  if (bytes.size() <= 16) {
    for (char c : bytes) *end++ = c;
    return;
  }
  std::memcpy(end, bytes.data(), bytes.size());
  end += bytes.size();
}

template <class... Parts>
Text Rope::flatten_into(std::uint32_t reuse, std::uint32_t size, const Parts&... parts) {
  char* start = reserve(size);
  char* end = start;
  (put(end, parts), ...);
  at(reuse) = {start, size, Text::kNone};
  return {reuse, reuse, size};
}

void Rope::clear() {
  pieces_ = 0;
  chunk_in_use_ = 0;
  free_ = nullptr;
  left_ = 0;
}

Text Rope::literal(std::string_view bytes) { return piece(bytes.data(), bytes.size()); }

Text Rope::copy(std::string_view bytes) {
  if (bytes.empty()) return {};
  char* start = reserve(bytes.size());
  char* end = start;
  put(end, bytes);
  return piece(start, bytes.size());
}

// A short result is one piece: `a`'s own piece grows when its bytes end the storage (texts are
// mostly built left to right), otherwise both are copied into fresh storage that `a`'s first
// piece then covers.
Text Rope::join_short(Text a, Text b) {
  std::uint32_t size = a.size + b.size;
  Piece& first = at(a.head);
  if (a.head == a.tail && ends_storage(first) && b.size <= left_) {
    char* end = reserve(b.size);
    put(end, b);
    first.size = size;
    return {a.head, a.head, size};
  }
  return flatten_into(a.head, size, a, b);
}

Text Rope::join(Text a, std::string_view b) {
  if (b.empty()) return a;
  if (a.empty()) return literal(b);
  std::uint32_t size = a.size + static_cast<std::uint32_t>(b.size());
  if (size >= kFlattenBelow) return join(a, literal(b));
  Piece& first = at(a.head);
  if (a.head == a.tail && ends_storage(first) && b.size() <= left_) {
    char* end = reserve(b.size());
    put(end, b);
    first.size = size;
    return {a.head, a.head, size};
  }
  return flatten_into(a.head, size, a, b);
}

Text Rope::join(std::string_view a, Text b) {
  if (a.empty()) return b;
  if (b.empty()) return literal(a);
  std::uint32_t size = static_cast<std::uint32_t>(a.size()) + b.size;
  if (size >= kFlattenBelow) return join(literal(a), b);
  return flatten_into(b.head, size, a, b);
}

Text Rope::dup(Text text) {
  Text copy;
  write(text, [&](std::string_view bytes) {
    Text next = piece(bytes.data(), bytes.size());
    if (copy.empty()) {
      copy = next;
    } else {
      at(copy.tail).next = next.head;
      copy = {copy.head, next.tail, copy.size + next.size};
    }
  });
  return copy;
}

std::string Rope::str(Text text) const {
  std::string result;
  result.reserve(text.size);
  write(text, [&](std::string_view bytes) { result += bytes; });
  return result;
}

bool Rope::equals(Text text, std::string_view bytes) const { return text.size == bytes.size() && str(text) == bytes; }

}  // namespace vrk
