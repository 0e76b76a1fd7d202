// Texts assembled from pieces without copying them: a Rope keeps the bytes and the chains of
// pieces, a Text names one chain. Joining two texts links their chains, so a text built up
// through many levels of nesting is written once, at the end, instead of being copied at every
// level. Short results are flattened into one piece, so that small texts (names, expressions,
// one statement) cost one piece each.
//
// A Text is a value of three numbers; each one may be joined into another text only once, since
// joining links its chain (dup makes a second chain over the same bytes).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "support/blocks.h"

namespace vrk {

struct Text {
  static constexpr std::uint32_t kNone = 0xffffffffu;
  std::uint32_t head = kNone;
  std::uint32_t tail = kNone;
  std::uint32_t size = 0;  // bytes
  bool empty() const { return size == 0; }
};

class Rope {
 public:
  // Results up to this many bytes are copied into one piece rather than linked.
  static constexpr std::uint32_t kFlattenBelow = 96;

  // A text over bytes that outlive the rope (string literals).
  Text literal(std::string_view bytes);
  // A text over a copy of `bytes`.
  Text copy(std::string_view bytes);
  // `a` followed by `b`; both are used up.
  Text join(Text a, Text b) {
    if (a.empty()) return b;
    if (b.empty()) return a;
    if (a.size + b.size >= kFlattenBelow) {
      at(a.tail).next = b.head;
      return {a.head, b.tail, a.size + b.size};
    }
    return join_short(a, b);
  }
  // `a` followed by bytes that outlive the rope, or the other way round.
  Text join(Text a, std::string_view b);
  Text join(std::string_view a, Text b);
  // A second chain over the same bytes, for a text that is used more than once.
  Text dup(Text text);
  // The text's bytes in one string.
  std::string str(Text text) const;
  bool equals(Text text, std::string_view bytes) const;

  // Forgets every text, keeping the first blocks of storage for the texts to come.
  void clear();
  // Appends the text's bytes to `out`.
  void append_to(std::string& out, Text text) const {
    write(text, [&out](std::string_view bytes) { out += bytes; });
  }

  // Calls sink(std::string_view) for each piece in order.
  template <class Sink>
  void write(Text text, Sink&& sink) const {
    for (std::uint32_t p = text.head; p != Text::kNone; p = at(p).next) {
      sink(std::string_view(at(p).data, at(p).size));
      if (p == text.tail) break;
    }
  }

 private:
  struct Piece {
    const char* data;
    std::uint32_t size;
    std::uint32_t next;
  };
  // Pieces live in blocks that never move, so that the rope grows without copying itself.
  static constexpr std::uint32_t kPiecesPerBlock = 1u << 12;
  // Chunks of bytes grow from small to large, so that a short translation stays small.
  static constexpr std::size_t kFirstChunk = std::size_t{4} << 10;
  static constexpr std::size_t kLargestChunk = kHugePageBytes;

  Piece& at(std::uint32_t index) { return blocks_[index / kPiecesPerBlock][index % kPiecesPerBlock]; }
  const Piece& at(std::uint32_t index) const { return blocks_[index / kPiecesPerBlock][index % kPiecesPerBlock]; }
  Text piece(const char* data, std::size_t size);
  Text join_short(Text a, Text b);
  char* reserve(std::size_t size);
  bool ends_storage(const Piece& piece) const { return piece.data + piece.size == free_; }
  // Copies `parts` into fresh storage that piece `reuse` then covers.
  template <class... Parts>
  Text flatten_into(std::uint32_t reuse, std::uint32_t size, const Parts&... parts);
  void put(char*& end, Text text) const {
    write(text, [&end](std::string_view bytes) { put(end, bytes); });
  }
  static void put(char*& end, std::string_view bytes);

  std::vector<std::unique_ptr<Piece[]>> blocks_;
  std::uint32_t pieces_ = 0;
  struct Chunk {
    std::unique_ptr<char[], BlockRelease> bytes;
    std::size_t size;
  };
  std::vector<Chunk> chunks_;   // kept by clear() for the texts to come
  std::size_t chunk_in_use_ = 0;  // chunks_[chunk_in_use_ - 1] is the one being filled
  char* free_ = nullptr;
  std::size_t left_ = 0;
};

}  // namespace vrk
