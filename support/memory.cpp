// Refills, verification, reports and lifetime of the size-class manager.
#include "support/memory.h"

#include "support/blocks.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <new>
#if defined(__linux__)
#include <sys/mman.h>
#endif

#include "support/error.h"

namespace vrk {
namespace {

constexpr const char* kBorder = "\t+--------------------------------------------------+\n";
constexpr const char* kHeading = "\t|   size     used     free     blocks     bytes    |\n";

MemoryManager::Report report_from_environment() {
  const char* choice = std::getenv("VRK_MEMORY_REPORT");
  if (choice == nullptr) return MemoryManager::Report::none;
  if (std::strcmp(choice, "statistics") == 0) return MemoryManager::Report::statistics;
  if (std::strcmp(choice, "used_memory") == 0) return MemoryManager::Report::used_memory;
  return MemoryManager::Report::none;
}

double running_seconds() {
  const double milliseconds = static_cast<double>(std::clock()) * 1000.0 / CLOCKS_PER_SEC;
  return milliseconds * 0.001;
}

char* byte_at(void* base, std::size_t offset) { return static_cast<char*>(base) + offset; }

}  // namespace

MemoryManager::MemoryManager(const char* name) : name_{}, report_(report_from_environment()) {
  std::snprintf(name_, sizeof name_, "%s", name != nullptr ? name : "");
}

MemoryManager::~MemoryManager() {
  if (report_ == Report::statistics) print_statistics(stderr);
  if (report_ == Report::used_memory) print_used_memory(stderr);
  free_all_blocks();
}

std::size_t MemoryManager::slot_length(std::size_t size) noexcept {
  const std::size_t rounded = (size + 3) / 4 * 4;
  return rounded < sizeof(void*) ? sizeof(void*) : rounded;
}

void* MemoryManager::allocate_large(std::size_t size) {
  if (size > SIZE_MAX - sizeof(LargeRecord)) return nullptr;
  auto* header = static_cast<LargeRecord*>(std::malloc(sizeof(LargeRecord) + size));
  if (header == nullptr) return nullptr;
  *header = LargeRecord{nullptr, large_};
  if (large_ != nullptr) large_->prev = header;
  large_ = header;
  return header + 1;
}

void MemoryManager::release_large(void* record) {
  LargeRecord* header = static_cast<LargeRecord*>(record) - 1;
  if (header->prev != nullptr) header->prev->next = header->next;
  else large_ = header->next;
  if (header->next != nullptr) header->next->prev = header->prev;
  std::free(header);
}

long MemoryManager::large_records_in_use() const noexcept {
  long count = 0;
  for (const LargeRecord* r = large_; r != nullptr; r = r->next) ++count;
  return count;
}

void MemoryManager::free_large_records() {
  while (large_ != nullptr) {
    LargeRecord* next = large_->next;
    std::free(large_);
    large_ = next;
  }
}

void MemoryManager::allocate_block(std::size_t size, long n) {
  if (n == 0) return;
  if (size > kSizeLimit) {
    char message[80];
    std::snprintf(message, sizeof message, "allocate_block: size (%zu bytes) too big", size);
    error(1, message);
    return;
  }
  size = class_of(size);
  const std::size_t slot = slot_length(size);
  const auto wanted = static_cast<std::size_t>(n);
  if (n > 0 && wanted > SIZE_MAX / size - 1) report_out_of_memory();
  std::size_t block_length = n < 0 ? kRefillBytes : size * (wanted + 1);
  std::size_t count = block_length / slot - 1;
  if (block_length < 2 * slot) {  // always room for the chain link and one record
    block_length = 2 * slot;
    count = 1;
  }

  SizeClass& c = classes_[size];
  c.block_count += 1;
  c.records += static_cast<long>(count);

  void* block = obtain_block(block_length);
  if (block == nullptr) report_out_of_memory();
  store_link(block, c.blocks);
  c.blocks = block;

  // New records in address order, the last one leading to the old free list.
  for (std::size_t k = 1; k <= count; ++k) {
    void* next = k < count ? byte_at(block, (k + 1) * slot) : c.free;
    store_link(byte_at(block, k * slot), next);
    hide_free_record(byte_at(block, k * slot), size);
  }
  c.free = byte_at(block, slot);
}

// Each chunk twice the size of the one before, up to kChunkBytes.
bool MemoryManager::add_chunk() {
  const std::size_t size = chunks_ == nullptr ? kFirstChunkBytes : std::min(2 * chunks_->size, kChunkBytes);
  void* base = vrk::allocate_block(size);
  if (base == nullptr) return false;
  auto* chunk = static_cast<Chunk*>(std::malloc(sizeof(Chunk)));
  if (chunk == nullptr) {
    std::free(base);
    return false;
  }
  *chunk = Chunk{chunks_, static_cast<char*>(base), 0, size};
  chunks_ = chunk;
  return true;
}

// Standard refills come from the current chunk; blocks of other lengths from the heap.
void* MemoryManager::obtain_block(std::size_t length) {
  if (length != kRefillBytes) return std::malloc(length);
  constexpr std::size_t kAlignedLength = (kRefillBytes + 15) / 16 * 16;
  if ((chunks_ == nullptr || chunks_->used + kAlignedLength > chunks_->size) && !add_chunk()) return nullptr;
  void* block = chunks_->base + chunks_->used;
  chunks_->used += kAlignedLength;
  return block;
}

bool MemoryManager::from_chunk(const void* block) const noexcept {
  const auto* p = static_cast<const char*>(block);
  for (const Chunk* c = chunks_; c != nullptr; c = c->next) {
    if (p >= c->base && p < c->base + c->size) return true;
  }
  return false;
}

void MemoryManager::report_out_of_memory() const {
  std::fprintf(stdout, "%s memory allocation: out of memory\n", kLibraryTag);
  print_statistics(stderr);
  abnormal_stop();
}

bool MemoryManager::is_free(std::size_t size, const void* record) const {
  for (const void* r = classes_[size].free; r != nullptr; r = free_link(r, size)) {
    if (r == record) return true;
  }
  return false;
}

void MemoryManager::release_verified(void* record, std::size_t size) {
  if (record == nullptr) return;
  if (size >= kSizeLimit) {
    release_large(record);
    return;
  }
  size = class_of(size);
  if (classes_[size].block_count == 0) {
    error(999, "no block allocated");
    return;
  }
  if (is_free(size, record)) {
    char message[96];
    std::snprintf(message, sizeof message, "%s memory: pointer %p deleted twice", kLibraryTag,
                  record);
    error(999, message);
    return;
  }
  release(record, size);
}

void MemoryManager::release_chain(void* head, void* tail, std::size_t size) {
  if (head == nullptr) return;
  if (size >= kSizeLimit) {
    for (void* r = head; r != nullptr;) {
      void* next = r == tail ? nullptr : load_link(r);
      release_large(r);
      r = next;
    }
    return;
  }
  size = class_of(size);
  SizeClass& c = classes_[size];
#ifdef VRK_POISON_FREE_RECORDS
  for (void* r = head;;) {
    void* next = r == tail ? nullptr : load_link(r);
    if (next == nullptr) store_link(r, c.free);
    hide_free_record(r, size);
    --in_use_;
    if (next == nullptr) break;
    r = next;
  }
#else
  store_link(tail, c.free);
#endif
  c.free = head;
}

long MemoryManager::records_made(std::size_t size) const {
  return size < kClasses ? classes_[class_of(size)].records : 0;
}

long MemoryManager::blocks_made(std::size_t size) const {
  return size < kClasses ? classes_[class_of(size)].block_count : 0;
}

long MemoryManager::free_records(std::size_t size) const {
  if (size >= kClasses) return 0;
  size = class_of(size);
  long length = 0;
  for (const void* r = classes_[size].free; r != nullptr; r = free_link(r, size)) ++length;
  return length;
}

long MemoryManager::records_in_use() const {
#ifdef VRK_POISON_FREE_RECORDS
  return in_use_;
#else
  long used = 0;
  for (std::size_t size = 1; size < kClasses; ++size) used += classes_[size].records - free_records(size);
  return used;
#endif
}

const char* MemoryManager::name() const { return name_; }

void MemoryManager::print_statistics(std::FILE* out) const { print_table(out, false); }

void MemoryManager::print_used_memory(std::FILE* out) const { print_table(out, true); }

void MemoryManager::print_table(std::FILE* out, bool used_only) const {
  struct Row {
    long used, unused, blocks, bytes;
  };
  Row rows[kClasses] = {};
  bool shown[kClasses] = {};
  bool any_shown = false;
  long total_bytes = 0;
  for (std::size_t size = 1; size < kClasses; ++size) {
    const long made = classes_[size].records;
    const long unused = free_records(size);
    rows[size] = {made - unused, unused, classes_[size].block_count, static_cast<long>(size) * made};
    total_bytes += rows[size].bytes;
    shown[size] = used_only ? rows[size].used > 0 : (made > 0 || unused > 0);
    any_shown = any_shown || shown[size];
  }
  if (used_only && !any_shown) return;

  std::fprintf(out, "\n\t %s\n%s%s%s", name_, kBorder, kHeading, kBorder);
  for (std::size_t size = 1; size < kClasses; ++size) {
    if (!shown[size]) continue;
    const Row& r = rows[size];
    std::fprintf(out, "\t|   %3d    ", static_cast<int>(size));
    std::fprintf(out, "%6ld   %6ld    %6ld   %8ld    |\n", r.used, r.unused, r.blocks, r.bytes);
  }
  std::fprintf(out, "%s\t|   time:%6.2f sec              space:%8.2f kb |\n%s\n", kBorder,
               running_seconds(), static_cast<double>(total_bytes) / 1024.0, kBorder);
  std::fflush(out);
}

void MemoryManager::free_all_blocks() {
  for (SizeClass& c : classes_) {
    for (void* block = c.blocks; block != nullptr;) {
      void* next = load_link(block);
      if (!from_chunk(block)) std::free(block);
      block = next;
    }
    c = SizeClass{};
  }
  while (chunks_ != nullptr) {
    Chunk* next = chunks_->next;
    std::free(chunks_->base);
    std::free(chunks_);
    chunks_ = next;
  }
  free_large_records();
}

namespace detail {
namespace {
alignas(MemoryManager) unsigned char standard_storage[sizeof(MemoryManager)];
int lifetime_users = 0;
}  // namespace

MemoryManager* standard_manager = nullptr;

MemoryManager& create_standard_manager() {
  if (standard_manager == nullptr) standard_manager = new (standard_storage) MemoryManager("STD_MEMORY_MGR");
  return *standard_manager;
}

StandardManagerLifetime::StandardManagerLifetime() noexcept { ++lifetime_users; }

StandardManagerLifetime::~StandardManagerLifetime() {
  if (--lifetime_users != 0 || standard_manager == nullptr) return;
  standard_manager->~MemoryManager();
  standard_manager = nullptr;
}
}  // namespace detail

}  // namespace vrk
