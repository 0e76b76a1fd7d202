// Released records of the memory manager under AddressSanitizer: poisoned while they wait on a
// free list, usable again once handed out; and the count of records in use, which the fuzzer
// checks after every translation.
#include <gtest/gtest.h>

#include <cstring>

#include "support/memory.h"

#ifdef VRK_POISON_FREE_RECORDS
#include <sanitizer/asan_interface.h>
#endif

namespace vrk {
namespace {

bool poisoned_anywhere(const void* record, std::size_t length) {
#ifdef VRK_POISON_FREE_RECORDS
  return __asan_region_is_poisoned(const_cast<void*>(record), length) != nullptr;
#else
  (void)record;
  (void)length;
  return false;
#endif
}

bool poisoned_at(const void* address) {
#ifdef VRK_POISON_FREE_RECORDS
  return __asan_address_is_poisoned(address) != 0;
#else
  (void)address;
  return false;
#endif
}

TEST(ReleasedRecords, ArePoisonedUntilHandedOutAgain) {
  if (!MemoryManager::poisons_free_records()) GTEST_SKIP() << "only under AddressSanitizer";
  MemoryManager m("TEST");
  // 24 bytes: a list node; 12 and 20: slots aligned to 4 only, which share granules with neighbours.
  for (std::size_t size : {24u, 12u, 20u, 1u}) {
    auto* record = static_cast<char*>(m.allocate(size));
    std::memset(record, 'x', size);  // a live record is fully usable
    EXPECT_FALSE(poisoned_anywhere(record, size)) << size;
    m.release(record, size);
    // The granule the record starts in may be shared with a live neighbour, so only the part
    // from the first whole granule on is certain to be poisoned.
    const std::size_t skip = (8 - reinterpret_cast<std::uintptr_t>(record) % 8) % 8;
    if (skip < size) {
      EXPECT_TRUE(poisoned_at(record + skip)) << size;
    }
    EXPECT_EQ(m.allocate(size), record) << "the free list is last in, first out";
    EXPECT_FALSE(poisoned_anywhere(record, size)) << size;
  }
}

TEST(ReleasedRecords, FreshRecordsOfARefillWaitPoisoned) {
  if (!MemoryManager::poisons_free_records()) GTEST_SKIP() << "only under AddressSanitizer";
  MemoryManager m("TEST");
  auto* first = static_cast<char*>(m.allocate(32));
  auto* second = static_cast<char*>(m.allocate(32));
  EXPECT_FALSE(poisoned_anywhere(first, 32));
  EXPECT_TRUE(poisoned_at(second + 32)) << "the record after the last one handed out is still free";
}

TEST(ReleasedRecords, ChainsAndVerifiedReleasesArePoisonedToo) {
  if (!MemoryManager::poisons_free_records()) GTEST_SKIP() << "only under AddressSanitizer";
  MemoryManager m("TEST");
  void* records[3];
  for (void*& r : records) r = m.allocate(16);
  MemoryManager::store_link(records[0], records[1]);
  MemoryManager::store_link(records[1], records[2]);
  m.release_chain(records[0], records[2], 16);
  for (void* r : records) EXPECT_TRUE(poisoned_at(r));
  // Walking the poisoned list (statistics, the double-deletion check) reads only through the
  // manager and leaves the records poisoned.
  EXPECT_EQ(m.free_records(16), m.records_made(16));
  void* another = m.allocate(40);
  m.release_verified(another, 40);
  EXPECT_TRUE(poisoned_at(another));
  EXPECT_EQ(m.free_records(40), m.records_made(40));
  for (void* r : records) EXPECT_TRUE(poisoned_at(r));
}

TEST(ReleasedRecordsDeathTest, AUseAfterReleaseIsReported) {
  if (!MemoryManager::poisons_free_records()) GTEST_SKIP() << "only under AddressSanitizer";
  MemoryManager m("TEST");
  auto* record = static_cast<char*>(m.allocate(24));
  m.release(record, 24);
  EXPECT_DEATH(record[8] = 'x', "use-after-poison");
}

TEST(ReleasedRecords, RecordsInUseCountEveryWayBack) {
  MemoryManager m("TEST");
  EXPECT_EQ(m.records_in_use(), 0);
  void* a = m.allocate(8);
  void* b = m.allocate(8);
  void* c = m.allocate(100);
  void* large = m.allocate(MemoryManager::kSizeLimit);  // the heap's, not counted
  EXPECT_EQ(m.records_in_use(), 3);
  m.release(c, 100);
  m.release_verified(large, MemoryManager::kSizeLimit);
  EXPECT_EQ(m.records_in_use(), 2);
  MemoryManager::store_link(a, b);
  m.release_chain(a, b, 8);
  EXPECT_EQ(m.records_in_use(), 0);
}

}  // namespace
}  // namespace vrk
