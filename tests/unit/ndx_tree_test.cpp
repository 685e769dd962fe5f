// The NDX B-tree on real files: order and equal keys, splits, removals, reopening, and
// damaged files that must give an error instead of a crash or a hang.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "data/dbase_error.h"
#include "data/dbase_ndx.h"

namespace morven {
namespace {

struct Entry {
  std::string key;
  int32_t record;
  bool operator==(const Entry& o) const { return key == o.key && record == o.record; }
};

class NdxTree : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("ndx-test-" + std::to_string(getpid()) + "-" +
                                                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
    path_ = (dir_ / "T.NDX").string();
    ClearDbError();
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::unique_ptr<NdxIndex> Create(int32_t key_length, bool numeric = false) {
    auto index = NdxIndex::Create("T.NDX", path_, "KEY", numeric, key_length, 0);
    EXPECT_NE(index, nullptr);
    return index;
  }
  std::unique_ptr<NdxIndex> Reopen(std::unique_ptr<NdxIndex> index) {
    index->Close();
    auto opened = NdxIndex::Open("T.NDX", path_, platform::Access::ReadWrite, 0);
    EXPECT_NE(opened, nullptr) << DbError.detail.Str();
    return opened;
  }

  // Every entry in key order, walking forward (or backward, reversed afterwards).
  static std::vector<Entry> Walk(NdxIndex& index, bool backward = false) {
    std::vector<Entry> out;
    int32_t r = index.Move(backward ? NdxMove::Last : NdxMove::First);
    while (!index.at_end() && r != 0) {
      out.push_back({index.current_key(), r});
      if (out.size() > 100000) break;
      r = index.Move(backward ? NdxMove::Previous : NdxMove::Next);
      if (backward && index.at_beginning()) break;
    }
    if (backward) std::reverse(out.begin(), out.end());
    return out;
  }

  static std::string Pad(std::string s, size_t n) {
    s.resize(n, ' ');
    return s;
  }

  std::vector<uint8_t> FileBytes() {
    std::ifstream in(path_, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
  }
  void PatchFile(size_t offset, std::vector<uint8_t> bytes) {
    std::fstream f(path_, std::ios::binary | std::ios::in | std::ios::out);
    f.seekp(static_cast<std::streamoff>(offset));
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  static uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
  }

  std::filesystem::path dir_;
  std::string path_;
};

// Many keys in random order with many duplicates, for a short key (many entries per
// block) and a long one (four per block, a deep tree): the walk is sorted, equal keys
// keep the order in which they were entered, and the file reads back the same.
TEST_F(NdxTree, RandomInsertsKeepKeyOrderAndInsertionOrderOfEqualKeys) {
  for (int32_t key_length : {6, 100}) {
    SCOPED_TRACE(key_length);
    auto index = Create(key_length);
    std::mt19937 rng(key_length);
    std::vector<Entry> expected;
    for (int32_t record = 1; record <= 3000; ++record) {
      std::string key = Pad("k" + std::to_string(rng() % 700), static_cast<size_t>(key_length));
      index->Enter(key, record, -1, nullptr);
      expected.push_back({key, record});
    }
    ASSERT_FALSE(DbErrorSet()) << DbError.detail.Str();
    std::stable_sort(expected.begin(), expected.end(), [](const Entry& a, const Entry& b) { return a.key < b.key; });
    EXPECT_EQ(Walk(*index), expected);
    EXPECT_EQ(Walk(*index, true), expected);
    index = Reopen(std::move(index));
    EXPECT_EQ(Walk(*index), expected);
    index->Close();
  }
}

TEST_F(NdxTree, FifthKeyOfALongKeySplitsTheLeafTwoLowOneNewBlock) {
  auto index = Create(100);
  for (int32_t r = 1; r <= 5; ++r) index->Enter(Pad(std::string(1, static_cast<char>('A' + r - 1)), 100), r, -1, nullptr);
  index->Close();
  std::vector<uint8_t> b = FileBytes();
  EXPECT_EQ(Le32(b, 0), 3u);   // a new root
  EXPECT_EQ(Le32(b, 4), 4u);   // blocks 0..3 in use
  EXPECT_EQ(b[14] | (b[15] << 8), 4);    // entries per block
  EXPECT_EQ(b[18] | (b[19] << 8), 108);  // entry size
  EXPECT_EQ(Le32(b, 512), 3u);            // the old leaf keeps C, D, E
  EXPECT_EQ(b[512 + 4 + 8], 'C');
  EXPECT_EQ(Le32(b, 1024), 2u);           // the new block holds A, B
  EXPECT_EQ(b[1024 + 4 + 8], 'A');
  EXPECT_EQ(Le32(b, 1536), 1u);           // root: separator B over block 2, then block 1
  EXPECT_EQ(Le32(b, 1536 + 4), 2u);
  EXPECT_EQ(b[1536 + 4 + 8], 'B');
  EXPECT_EQ(Le32(b, 1536 + 4 + 108), 1u);
}

TEST_F(NdxTree, SearchByPrefixAndByFullKey) {
  auto index = Create(20);
  const char* names[] = {"MEIER", "MEYER", "ME", "MUELLER", "ALBERS"};
  for (int32_t r = 1; r <= 5; ++r) index->Enter(names[r - 1], r, -1, nullptr);
  struct Case {
    bool full;
    const char* key;
    int32_t record;
  } cases[] = {
      {false, "ME", 3}, {false, "MEI", 1}, {false, "MU", 4}, {false, "X", 0}, {false, "", 5},
      {true, "ME", 3},  {true, "MEI", 0},  {true, "MEYER", 2}, {true, "ALBERS              ", 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    NdxFullKeyMode = c.full;
    EXPECT_EQ(index->Search(c.key), c.record);
  }
  NdxFullKeyMode = true;
  index->Close();
}

TEST_F(NdxTree, NumericKeysOrderNumericallyAndRefuseText) {
  auto index = Create(8, true);
  const char* values[] = {"10", "-1.5", "  2", "-5", "0", "1E10", "20240131", "", "3.25"};
  for (int32_t r = 1; r <= 9; ++r) index->Enter(values[r - 1], r, -1, nullptr);
  ASSERT_FALSE(DbErrorSet());
  std::vector<int32_t> order;
  for (const Entry& e : Walk(*index)) order.push_back(e.record);
  EXPECT_EQ(order, (std::vector<int32_t>{4, 2, 5, 8, 3, 9, 1, 7, 6}));
  for (const char* bad : {"5    ", "12a", "1-2", "--1", "E5"}) {
    ClearDbError();
    index->Enter(bad, 99, -1, nullptr);
    EXPECT_EQ(DbError.number, 608) << bad;
  }
  EXPECT_EQ(Walk(*index).size(), 9u);
  index->Close();
}

// Rewriting records with new keys removes their old entries: after every change the
// walk is exactly the sorted set of current keys, also when blocks run empty.
TEST_F(NdxTree, KeyChangesRemoveTheOldEntry) {
  for (int32_t key_length : {4, 100}) {
    SCOPED_TRACE(key_length);
    auto index = Create(key_length);
    std::mt19937 rng(7);
    std::map<int32_t, std::string> keys;
    for (int32_t r = 1; r <= 400; ++r) {
      keys[r] = Pad(std::to_string(rng() % 90), static_cast<size_t>(key_length));
      index->Enter(keys[r], r, -1, nullptr);
    }
    for (int round = 0; round < 1500; ++round) {
      int32_t r = static_cast<int32_t>(rng() % 400) + 1;
      // Most changes gather keys at the low end, which empties whole blocks above it.
      std::string key = Pad(round < 1200 ? "0" : std::to_string(rng() % 90), static_cast<size_t>(key_length));
      const std::string old = keys[r];
      index->Enter(key, r, r, rng() % 2 ? &old : nullptr);
      keys[r] = key;
      EXPECT_EQ(index->current_record(), r);
    }
    ASSERT_FALSE(DbErrorSet()) << DbError.detail.Str();
    std::vector<Entry> expected;
    for (auto& [r, k] : keys) expected.push_back({k, r});
    std::stable_sort(expected.begin(), expected.end(), [](const Entry& a, const Entry& b) { return a.key < b.key; });
    std::vector<Entry> walked = Walk(*index);
    std::vector<Entry> sorted_walk = walked;
    // Equal keys are ordered by when they were entered; compare as multisets per key.
    auto by_key_then_record = [](const Entry& a, const Entry& b) {
      return a.key != b.key ? a.key < b.key : a.record < b.record;
    };
    std::sort(sorted_walk.begin(), sorted_walk.end(), by_key_then_record);
    std::sort(expected.begin(), expected.end(), by_key_then_record);
    EXPECT_EQ(sorted_walk, expected);
    for (size_t i = 1; i < walked.size(); ++i) EXPECT_LE(walked[i - 1].key, walked[i].key);
    // Every key is found by a search, at its first entry in key order.
    NdxFullKeyMode = true;
    for (size_t i = 0; i < walked.size(); ++i)
      if (i == 0 || walked[i].key != walked[i - 1].key) {
        EXPECT_EQ(index->Search(walked[i].key), walked[i].record);
      }
    index = Reopen(std::move(index));
    EXPECT_EQ(Walk(*index).size(), 400u);
    for (auto& [r, k] : keys) EXPECT_TRUE(index->PositionOnRecord(r, nullptr)) << r;
    index->Close();
  }
}

TEST_F(NdxTree, MovesAtTheEndsKeepTheEntry) {
  auto index = Create(4);
  for (int32_t r = 1; r <= 3; ++r) index->Enter(std::to_string(r), r, -1, nullptr);
  index = Reopen(std::move(index));
  EXPECT_EQ(index->Move(NdxMove::Next), 1);  // no position yet: acts as first
  EXPECT_EQ(index->Move(NdxMove::Previous), 1);
  EXPECT_TRUE(index->at_beginning());
  EXPECT_EQ(index->Move(NdxMove::Last), 3);
  EXPECT_EQ(index->Move(NdxMove::Next), 3);
  EXPECT_TRUE(index->at_end());
  EXPECT_EQ(index->current_record(), 3);
  index->Close();
  auto empty = Create(4);
  EXPECT_EQ(empty->Move(NdxMove::First), 0);
  EXPECT_TRUE(empty->at_end());
  EXPECT_EQ(empty->Search("1"), 0);
  empty->Close();
}

// Damaged index files: each patch makes the file lie about its tree.
TEST_F(NdxTree, DamagedFilesGiveAnErrorNotACrashOrAHang) {
  struct Case {
    const char* what;
    size_t offset;
    std::vector<uint8_t> bytes;
    bool open_fails;
  };
  const std::vector<Case> cases = {
      {"root beyond the file", 0, {200, 0, 0, 0}, true},
      {"next free beyond the file", 4, {0, 1, 0, 0}, true},
      {"key length zero", 12, {0, 0}, true},
      {"key length above 244", 12, {250, 0}, true},
      {"entry size too small", 18, {4, 0}, true},
      {"numeric key of 6 bytes", 16, {1, 0}, true},
      {"child outside the index", 0, {}, false},
      {"child is the node itself (a cycle)", 0, {}, false},
      {"key count larger than a block", 0, {}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto index = Create(6);
    for (int32_t r = 1; r <= 200; ++r) index->Enter(std::to_string(r * 7 % 200), r, -1, nullptr);
    index->Close();
    std::vector<uint8_t> b = FileBytes();
    uint32_t root = Le32(b, 0);
    if (std::string(c.what) == "child outside the index") {
      PatchFile(root * 512 + 4, {0xFF, 0xFF, 0, 0});
    } else if (std::string(c.what) == "child is the node itself (a cycle)") {
      PatchFile(root * 512 + 4, {static_cast<uint8_t>(root), static_cast<uint8_t>(root >> 8), 0, 0});
    } else if (std::string(c.what) == "key count larger than a block") {
      PatchFile(root * 512, {0xFF, 0xFF, 0xFF, 0x0F});
    } else {
      PatchFile(c.offset, c.bytes);
    }
    ClearDbError();
    auto opened = NdxIndex::Open("T.NDX", path_, platform::Access::ReadWrite, 0);
    if (c.open_fails) {
      EXPECT_EQ(opened, nullptr);
      EXPECT_EQ(DbError.number, 605);
      continue;
    }
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened->Search("0"), 0);
    EXPECT_EQ(DbError.number, 605);
    ClearDbError();
    opened->Move(NdxMove::First);
    EXPECT_TRUE(opened->at_end());
    EXPECT_FALSE(opened->PositionOnRecord(10, nullptr));
    opened->Enter("5", 300, 300, nullptr);
    EXPECT_EQ(DbError.number, 605);
    opened->Close();
  }
}

TEST_F(NdxTree, ATruncatedFileCannotBeRead) {
  auto index = Create(6);
  for (int32_t r = 1; r <= 200; ++r) index->Enter(std::to_string(r), r, -1, nullptr);
  index->Close();
  std::filesystem::resize_file(path_, 700);
  ClearDbError();
  EXPECT_EQ(NdxIndex::Open("T.NDX", path_, platform::Access::ReadWrite, 0), nullptr);
  EXPECT_EQ(DbError.number, 605);
  std::filesystem::resize_file(path_, 100);
  ClearDbError();
  EXPECT_EQ(NdxIndex::Open("T.NDX", path_, platform::Access::ReadWrite, 0), nullptr);
  EXPECT_EQ(DbError.number, 605);
}

}  // namespace
}  // namespace morven
