// Refill arithmetic, the heap bypass, verified release and the exact report
// tables, on private manager instances so the standard one stays untouched.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <regex>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "support/memory.h"
#include "tests/support/recording_handler.h"

namespace vrk {
namespace {

std::string printed(const MemoryManager& m, void (MemoryManager::*print)(std::FILE*) const) {
  std::FILE* f = std::tmpfile();
  (m.*print)(f);
  std::rewind(f);
  std::string text;
  for (int c = std::fgetc(f); c != EOF; c = std::fgetc(f)) text += static_cast<char>(c);
  std::fclose(f);
  // The running time is the one figure that cannot be predicted.
  return std::regex_replace(text, std::regex("time:[ 0-9.]{6} sec"), "time:XXXXXX sec");
}

TEST(MemoryManager, RefillCarvesOneBlockMinusTheChainSlot) {
  MemoryManager m("TEST");
  m.allocate(12);
  EXPECT_EQ(m.blocks_made(12), 1);
  EXPECT_EQ(m.records_made(12), 681);  // 8188 / 12 - 1
  EXPECT_EQ(m.free_records(12), 680);

  m.allocate(17);  // 20-byte slot
  EXPECT_EQ(m.records_made(17), 408);
  EXPECT_EQ(m.records_made(20), 0);  // classes are by requested size, not slot

  m.allocate_block(16, 10);  // 176 bytes: 11 slots, one for the chain link
  EXPECT_EQ(m.records_made(16), 10);
  m.allocate_block(16, 0);
  EXPECT_EQ(m.blocks_made(16), 1);
}

TEST(MemoryManager, RecordsAreDistinctAcrossRefills) {
  MemoryManager m("TEST");
  std::set<void*> seen;
  for (int i = 0; i < 681 + 5; ++i) EXPECT_TRUE(seen.insert(m.allocate(12)).second);
  EXPECT_EQ(m.blocks_made(12), 2);
}

// Refill blocks come from chunks that grow from small to large: records stay distinct and
// writable across the chunk boundaries, and the blocks are all given back at teardown (the
// sanitizers would see a block freed twice or lost).
TEST(MemoryManager, RefillsAcrossGrowingChunksStayDistinctAndWritable) {
  MemoryManager m("TEST");
  std::set<void*> seen;
  constexpr int kRecords = 700 * 408;  // about 700 refills of 20-byte records: several chunks
  for (int i = 0; i < kRecords; ++i) {
    void* record = m.allocate(20);
    std::memset(record, 0xab, 20);
    ASSERT_TRUE(seen.insert(record).second);
  }
  EXPECT_EQ(m.blocks_made(20), 700);
  m.allocate_block(20, 3000);  // a block of another length comes from the heap
  EXPECT_EQ(m.blocks_made(20), 701);
}

TEST(MemoryManager, TinyRecordsStillHoldTheFreeListLink) {
  MemoryManager m("TEST");
  std::vector<void*> records;
  for (int i = 0; i < 100; ++i) records.push_back(m.allocate(1));
  const auto gap = static_cast<char*>(records[1]) - static_cast<char*>(records[0]);
  EXPECT_GE(gap < 0 ? -gap : gap, static_cast<std::ptrdiff_t>(sizeof(void*)));
  for (void* r : records) m.release(r, 1);
  for (int i = 0; i < 100; ++i) EXPECT_EQ(m.allocate(1), records[99 - i]);
}

TEST(MemoryManager, RequestsOfTheSizeLimitGoToTheHeap) {
  MemoryManager m("TEST");
  void* big = m.allocate(255);
  ASSERT_NE(big, nullptr);
  EXPECT_EQ(m.blocks_made(255), 0);
  EXPECT_EQ(m.records_made(255), 0);
  m.release_verified(big, 255);  // freed, not checked against any free list
  m.allocate(254);
  EXPECT_EQ(m.blocks_made(254), 1);
}

// Large records stay listed by the manager until released, so text kept to the end of the
// process stays reachable, and the manager frees whatever is left when it goes.
TEST(MemoryManager, LargeRecordsAreTrackedUntilReleasedInAnyOrder) {
  MemoryManager m("TEST");
  std::vector<void*> big;
  for (std::size_t size : {255u, 1000u, 70000u, 256u}) {
    big.push_back(m.allocate(size));
    ASSERT_NE(big.back(), nullptr);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(big.back()) % alignof(std::max_align_t), 0u);
    std::memset(big.back(), 'x', size);
  }
  EXPECT_EQ(m.large_records_in_use(), 4);
  m.release(big[1], 1000);  // from the middle of the list
  m.release(big[3], 256);   // the most recent
  m.release_verified(big[0], 255);  // the oldest
  EXPECT_EQ(m.large_records_in_use(), 1);
  m.allocate(300);  // both left behind are freed with the manager
  EXPECT_EQ(m.large_records_in_use(), 2);
}

TEST(MemoryManager, MisuseIsReportedAndRefusedWhenTheHandlerReturns) {
  testing::RecordingHandler recorder;
  MemoryManager m("TEST");
  int local = 0;
  m.release_verified(&local, 40);
  EXPECT_EQ(testing::last_report().message, "no block allocated");
  EXPECT_EQ(m.free_records(40), 0);

  void* record = m.allocate(40);
  m.release_verified(record, 40);
  m.release_verified(record, 40);
  EXPECT_EQ(testing::last_report().code, 999);
  EXPECT_EQ(m.free_records(40), m.records_made(40));  // not pushed a second time

  m.allocate_block(256, -1);
  EXPECT_EQ(testing::last_report().code, 1);
  EXPECT_EQ(testing::last_report().message, "allocate_block: size (256 bytes) too big");
}

using MemoryManagerDeathTest = ::testing::Test;

TEST_F(MemoryManagerDeathTest, DoubleDeletionStopsTheProgram) {
  EXPECT_EXIT(
      {
        MemoryManager m("TEST");
        void* record = m.allocate(40);
        m.release_verified(record, 40);
        m.release_verified(record, 40);
      },
      ::testing::ExitedWithCode(3), "vrk: ERROR HANDLER\n\tvrk: memory: pointer 0x[0-9a-f]+ deleted twice\n");
}

TEST(MemoryManagerReport, StatisticsTableListsEveryClassWithRecords) {
  MemoryManager m("TEST_MGR");
  for (int i = 0; i < 3; ++i) m.allocate(12);
  m.allocate(32);
  EXPECT_EQ(printed(m, &MemoryManager::print_statistics),
            "\n"
            "\t TEST_MGR\n"
            "\t+--------------------------------------------------+\n"
            "\t|   size     used     free     blocks     bytes    |\n"
            "\t+--------------------------------------------------+\n"
            "\t|    12         3      678         1       8172    |\n"
            "\t|    32         1      253         1       8128    |\n"
            "\t+--------------------------------------------------+\n"
            "\t|   time:XXXXXX sec              space:   15.92 kb |\n"
            "\t+--------------------------------------------------+\n"
            "\n");
}

TEST(MemoryManagerReport, UsedMemoryTableShowsOnlyClassesInUse) {
  MemoryManager m("TEST_MGR");
  void* record = m.allocate(12);
  m.allocate(32);
  m.release(record, 12);
  EXPECT_EQ(printed(m, &MemoryManager::print_used_memory),
            "\n"
            "\t TEST_MGR\n"
            "\t+--------------------------------------------------+\n"
            "\t|   size     used     free     blocks     bytes    |\n"
            "\t+--------------------------------------------------+\n"
            "\t|    32         1      253         1       8128    |\n"
            "\t+--------------------------------------------------+\n"
            "\t|   time:XXXXXX sec              space:   15.92 kb |\n"
            "\t+--------------------------------------------------+\n"
            "\n");

  MemoryManager idle("IDLE");
  idle.release(idle.allocate(12), 12);
  EXPECT_EQ(printed(idle, &MemoryManager::print_used_memory), "");
}

std::string teardown_output(const char* choice) {
  if (choice != nullptr) {
    setenv("VRK_MEMORY_REPORT", choice, 1);
  } else {
    unsetenv("VRK_MEMORY_REPORT");
  }
  auto* m = new MemoryManager("TEARDOWN");
  unsetenv("VRK_MEMORY_REPORT");
  m->allocate(40);
  m->release(m->allocate(48), 48);
  ::testing::internal::CaptureStderr();
  delete m;
  return ::testing::internal::GetCapturedStderr();
}

TEST(MemoryManagerReport, TeardownReportIsChosenByTheEnvironment) {
  EXPECT_EQ(teardown_output(nullptr), "");

  const std::string used = teardown_output("used_memory");
  EXPECT_NE(used.find("\t TEARDOWN\n"), std::string::npos);
  EXPECT_NE(used.find("\t|    40    "), std::string::npos);
  EXPECT_EQ(used.find("\t|    48    "), std::string::npos);

  const std::string all = teardown_output("statistics");
  EXPECT_NE(all.find("\t|    40    "), std::string::npos);
  EXPECT_NE(all.find("\t|    48    "), std::string::npos);
}

}  // namespace
}  // namespace vrk
