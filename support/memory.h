// Size-class memory manager.
//
// Small fixed-size records (string representations, list nodes) come from
// one free list per record size, 0 to 255 bytes.  An empty list is refilled
// from one 8188-byte heap block: the first slot of the block links it into
// the class's block chain, the remaining slots become free records chained
// through their first word.  Slots are the size rounded up to a multiple of
// 4 (and at least one pointer, so the link always fits); a record is aligned
// to 8 whenever its size is a multiple of 8, which is what callers storing
// pointers request.  Requests of 255 bytes or more go straight to the heap,
// behind a small header that links them into the manager's list of large
// records: text kept until the process ends stays reachable from the manager
// (leak checkers see no lost block), and teardown frees what is left.
// Small records are never returned to the heap one by one; the destructor
// prints the teardown report chosen by VRK_MEMORY_REPORT ("statistics" or
// "used_memory") and then frees every block and every large record.
//
// Under AddressSanitizer a record is poisoned while it sits on a free list
// and unpoisoned when it is handed out again, so a use of a released record
// is reported even though the heap never sees the release.  The manager
// reads the link of a free record only through free_link, which exposes the
// record for that moment.
//
// The standard instance is constructed on first use and destroyed after every
// static object of any translation unit that includes this header, so static
// lists and strings may still release records during static destruction.
#pragma once

#include "support/blocks.h"
#include <cstddef>
#include <cstdio>
#include <cstring>

#if defined(__SANITIZE_ADDRESS__)
#define VRK_POISON_FREE_RECORDS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VRK_POISON_FREE_RECORDS 1
#endif
#endif
#ifdef VRK_POISON_FREE_RECORDS
#include <sanitizer/asan_interface.h>
#endif

namespace vrk {

class MemoryManager {
 public:
  static constexpr int kClasses = 256;
  static constexpr std::size_t kSizeLimit = 255;  // requests of this size or more use the heap
  static constexpr std::size_t kRefillBytes = 8188;
  static constexpr std::size_t kNameCapacity = 64;

  enum class Report { none, statistics, used_memory };

  explicit MemoryManager(const char* name);
  ~MemoryManager();
  MemoryManager(const MemoryManager&) = delete;
  MemoryManager& operator=(const MemoryManager&) = delete;

  // Returns nullptr only when a heap request of kSizeLimit bytes or more fails.
  void* allocate(std::size_t size);
  // Pushes the record on its free list without any check.
  void release(void* record, std::size_t size);
  // Fatal (code 999) when no block was ever made for the size, or when the
  // record is already on the free list.
  void release_verified(void* record, std::size_t size);
  // Pushes a chain of records of one size, already linked through their first
  // words from head to tail, on the free list in one step.
  void release_chain(void* head, void* tail, std::size_t size);

  // n < 0: one 8188-byte block; n > 0: a block of size * (n + 1) bytes; n == 0: nothing.
  void allocate_block(std::size_t size, long n);

  void print_statistics(std::FILE* out) const;
  void print_used_memory(std::FILE* out) const;

  long records_made(std::size_t size) const;
  long blocks_made(std::size_t size) const;
  long free_records(std::size_t size) const;  // length of the free list
  // Records of the size classes (not heap requests) handed out and not
  // released since.
  long records_in_use() const;
  // Heap requests (kSizeLimit bytes or more) handed out and not released since.
  long large_records_in_use() const noexcept;
  // True when released records are poisoned for AddressSanitizer.
  static constexpr bool poisons_free_records() noexcept {
#ifdef VRK_POISON_FREE_RECORDS
    return true;
#else
    return false;
#endif
  }
  const char* name() const;

  Report teardown_report() const noexcept { return report_; }
  void set_teardown_report(Report report) noexcept { report_ = report; }

  // Slot length used for records of the given size class.
  static std::size_t slot_length(std::size_t size) noexcept;

  // Free records may sit at addresses aligned to 4 only, so their link word
  // is read and written bytewise.
  static void* load_link(const void* record) noexcept {
    void* next;
    std::memcpy(&next, record, sizeof next);
    return next;
  }
  static void store_link(void* record, void* next) noexcept {
    std::memcpy(record, &next, sizeof next);
  }

  // A free record's link, read while the record may be poisoned.
  static void* free_link(const void* record, std::size_t size) noexcept {
    expose_record(record, size);
    void* next = load_link(record);
    hide_free_record(record, size);
    return next;
  }
  // Poisons / unpoisons the slot of a record of the given size class (no-ops
  // without AddressSanitizer).
  static void hide_free_record(const void* record, std::size_t size) noexcept {
#ifdef VRK_POISON_FREE_RECORDS
    ASAN_POISON_MEMORY_REGION(record, slot_length(size));
#else
    (void)record;
    (void)size;
#endif
  }
  static void expose_record(const void* record, std::size_t size) noexcept {
#ifdef VRK_POISON_FREE_RECORDS
    ASAN_UNPOISON_MEMORY_REGION(record, slot_length(size));
#else
    (void)record;
    (void)size;
#endif
  }

 private:
  struct SizeClass {
    void* free = nullptr;    // free records, linked through their first word
    void* blocks = nullptr;  // heap blocks, linked through their first slot
    long records = 0;        // records carved from blocks
    long block_count = 0;
  };

#ifdef VRK_POISON_FREE_RECORDS
  long in_use_ = 0;  // kept only where releases are walked anyway
#endif

  // Header in front of every large record; aligned like anything malloc returns.
  struct alignas(std::max_align_t) LargeRecord {
    LargeRecord* prev;
    LargeRecord* next;
  };

  static std::size_t class_of(std::size_t size) noexcept { return size == 0 ? 1 : size; }
  // Out of line, which also keeps the compiler's use-after-free analysis
  // from following inlined releases into callers.
  void* allocate_large(std::size_t size);
  void release_large(void* record);
  void free_large_records();
  bool is_free(std::size_t size, const void* record) const;
  void report_out_of_memory() const;
  void print_table(std::FILE* out, bool used_only) const;
  void free_all_blocks();
  void* obtain_block(std::size_t length);
  bool from_chunk(const void* block) const noexcept;

  // Refill blocks are carved in address order from chunks: a few heap calls instead of one per
  // block, and memory touched once, in order. Chunks start small, since a translation that writes
  // its output early reuses a few hundred records, and double up to kChunkBytes for one that
  // holds its whole output; chunks of huge-page size are asked for huge pages where the system
  // offers them, saving page faults where the memory is all used anyway.
  struct Chunk {
    Chunk* next;
    char* base;
    std::size_t used;
    std::size_t size;
  };
  static constexpr std::size_t kFirstChunkBytes = std::size_t{64} << 10;
  static constexpr std::size_t kChunkBytes = std::size_t{4} << 20;
  static constexpr std::size_t kHugePageBytes = vrk::kHugePageBytes;
  bool add_chunk();
  Chunk* chunks_ = nullptr;
  LargeRecord* large_ = nullptr;  // large records handed out, most recent first

  char name_[kNameCapacity];
  Report report_;
  SizeClass classes_[kClasses];
};

inline void* MemoryManager::allocate(std::size_t size) {
  if (size >= kSizeLimit) [[unlikely]] return allocate_large(size);
  size = class_of(size);
  SizeClass& c = classes_[size];
  if (c.free == nullptr) [[unlikely]] allocate_block(size, -1);
  void* record = c.free;
  expose_record(record, size);
  c.free = load_link(record);
#ifdef VRK_POISON_FREE_RECORDS
  ++in_use_;
#endif
  return record;
}

inline void MemoryManager::release(void* record, std::size_t size) {
  if (record == nullptr) return;
  if (size >= kSizeLimit) [[unlikely]] {
    release_large(record);
    return;
  }
  size = class_of(size);
  SizeClass& c = classes_[size];
  store_link(record, c.free);
  c.free = record;
  hide_free_record(record, size);
#ifdef VRK_POISON_FREE_RECORDS
  --in_use_;
#endif
}

namespace detail {
extern MemoryManager* standard_manager;
MemoryManager& create_standard_manager();

// One instance per translation unit; the last one destroyed tears the
// standard manager down.
struct StandardManagerLifetime {
  StandardManagerLifetime() noexcept;
  ~StandardManagerLifetime();
};
static const StandardManagerLifetime standard_manager_lifetime;
}  // namespace detail

// The standard instance, named "STD_MEMORY_MGR".
inline MemoryManager& std_memory_mgr() {
  MemoryManager* manager = detail::standard_manager;
  if (manager == nullptr) [[unlikely]] return detail::create_standard_manager();
  return *manager;
}

}  // namespace vrk
