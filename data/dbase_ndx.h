#pragma once
// NDX index files: a B-tree of 512-byte blocks ordering the records of one table by
// a key. Block k starts at byte 512 * k; integers are little-endian.
//
// Block 0, the header:
//   0  4  root block number
//   4  4  next free block number (the number of blocks in use)
//   8  4  zero
//  12  2  key length in bytes
//  14  2  maximum entries per block: 504 / entry size
//  16  2  key type: 1 numeric (8-byte double), 0 character
//  18  2  entry size: key length + 8, rounded up to a multiple of 4
//  20  4  zero
//  24     key expression, ended by a zero byte; the rest of the block is zero
//
// Every other block is a node:
//   0  4  number of keys
//   4     entries of entry size bytes: child block (4; 0 in leaves), record number
//         (4; 0 in interior blocks), key (key length), padding
// A leaf has one entry per key, in ascending key order. An interior block has one
// entry more than keys: entry i carries the child holding the keys up to and
// including its key (the highest key below that child), the last entry only the child
// for everything higher. A node is a leaf when the child of its first entry is 0.
// Equal keys are allowed; a new entry goes after the entries with an equal key.
//
// Every structural fact read from a file is checked before it is used: block numbers
// must lie inside the index, key counts must fit their block, and a descent deeper
// than 25 levels (a cycle) or a walk longer than the index can hold stops with code
// 901. Failures are recorded in DbError; the operation then stops.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "data/dbase_file.h"

namespace morven {

constexpr int32_t kNdxBlockSize = 512;
constexpr int kNdxMaxDepth = 25;
constexpr int kNdxCacheSlots = 32;
constexpr size_t kNdxFileBuffer = 16384;
// Longer keys leave fewer than two entries per block, with which no block can split.
constexpr int32_t kNdxMaxKeyLength = 244;
constexpr size_t kNdxMaxExpression = 100;

// Search mode shared by all indexes: full key (true) or prefix.
extern bool NdxFullKeyMode;

enum class NdxMove { First, Last, Next, Previous };

// The entry size and entries per block of a key length.
int32_t NdxEntrySize(int32_t key_length);
int32_t NdxMaxEntries(int32_t key_length);

class NdxIndex {
 public:
  // Opens an existing index file; nullptr when it cannot be opened or its header is
  // not sound (DbError says why). file_name is the program's name, for messages.
  static std::unique_ptr<NdxIndex> Open(std::string_view file_name, const std::string& host_path,
                                        platform::Access access, uint8_t sharing);
  // Creates an index file (an existing one is replaced) holding an empty tree.
  static std::unique_ptr<NdxIndex> Create(std::string_view file_name, const std::string& host_path,
                                          std::string_view expression, bool numeric, int32_t key_length,
                                          uint8_t sharing);

  // Writes back the changed blocks and closes the file.
  void Close();

  // The record number of the new current entry (0 for an empty index). Next and
  // previous without a current position act as first. Past the last (or before the
  // first) entry, at_end (at_beginning) is set and the current entry stays.
  int32_t Move(NdxMove move);

  // Makes the entry of `record` current; true when there is one. hint_key is the key
  // text the record is expected under (or nullptr): its entries are tried first, then
  // the whole index is walked in key order.
  bool PositionOnRecord(int32_t record, const std::string* hint_key);

  // Searches the key text in the current search mode: the record number of the first
  // matching entry, or 0 (the position then stays at the first higher entry).
  int32_t Search(std::string_view key_text);

  // Brings the index up to date after the table wrote `record`; requested is the
  // record number the write asked for (-1 while an index is built: no positioning).
  // hint_key as for PositionOnRecord: the key the record had before the write.
  void Enter(std::string_view key_text, int32_t record, int32_t requested, const std::string* hint_key);

  const std::string& expression() const { return expression_; }
  const std::string& file_name() const { return file_name_; }
  bool numeric() const { return numeric_; }
  int32_t key_length() const { return key_length_; }
  bool at_end() const { return at_end_; }
  bool at_beginning() const { return at_beginning_; }
  int32_t current_record() const { return current_record_; }
  const std::string& current_key() const { return current_key_; }

 private:
  struct Node {
    uint8_t bytes[768];  // room for one entry beyond a full block, before a split
  };
  struct Level {
    int32_t block;
    int32_t position;  // 1-based within the block
    int32_t count;     // keys + 1 in interior blocks, keys in leaves
    bool interior;
  };
  struct CacheSlot {
    int32_t block = -1;
    bool dirty = false;
    uint8_t data[kNdxBlockSize];
  };
  enum class Step { Moved, Boundary, Failed };

  NdxIndex() : file_(kNdxFileBuffer) {}

  bool ReadHeader();
  bool WriteHeader();
  void Corrupt(std::string_view what);
  void Fail(const char* what);
  bool ValidBlock(int32_t block);
  bool Load(int32_t block, Node& node);
  bool Store(int32_t block, const Node& node);
  bool WriteBack(CacheSlot& slot, const char* failure);
  CacheSlot& Victim();
  void ToFront(size_t slot_index);

  int32_t Keys(const Node& n) const;
  void SetKeys(Node& n, int32_t keys) const;
  bool IsLeaf(const Node& n) const { return Child(n, 0) == 0; }
  int32_t Entries(const Node& n) const { return IsLeaf(n) ? Keys(n) : Keys(n) + 1; }
  uint8_t* Entry(Node& n, int32_t i) const { return n.bytes + 4 + i * entry_size_; }
  const uint8_t* Entry(const Node& n, int32_t i) const { return n.bytes + 4 + i * entry_size_; }
  int32_t Child(const Node& n, int32_t i) const;
  int32_t Record(const Node& n, int32_t i) const;
  const uint8_t* KeyAt(const Node& n, int32_t i) const { return Entry(n, i) + 8; }
  bool CheckNode(int32_t block, const Node& n);

  void ResetPosition();
  int64_t WalkLimit() const;
  bool Descend(int level, int32_t block, bool last);
  bool LoadCurrent();
  Step StepEntry(bool forward);
  // Descends to the first entry not below (upper_bound: above) the key; false when
  // the tree could not be read. found: the record of an equal entry (lower bound only).
  bool SearchKey(const std::string& key, bool upper_bound, int32_t& found);
  bool Insert(const std::string& key, int32_t record, bool& position_known);
  bool Split(int level, Node& node);
  bool InsertInParent(int level, int32_t old_block, int32_t new_block, const std::string& separator);
  bool RemoveCurrent();
  bool RemoveAt(int level, int32_t index);
  bool PositionAfterInsert(const std::string& key, int32_t record, bool position_known);

  std::string file_name_;
  BufferedFile file_;
  uint8_t header_[kNdxBlockSize] = {};
  int32_t root_ = 1;
  int32_t next_free_ = 2;
  int32_t key_length_ = 0;
  int32_t max_entries_ = 0;
  int32_t entry_size_ = 0;
  bool numeric_ = false;
  std::string expression_;

  std::array<Level, kNdxMaxDepth> path_{};
  int depth_ = 0;
  int32_t current_record_ = 0;
  std::string current_key_;
  bool at_end_ = false;
  bool at_beginning_ = false;
  bool failed_ = false;  // a failure occurred in the current operation

  std::array<CacheSlot, kNdxCacheSlots> cache_;
  std::array<uint8_t, kNdxCacheSlots> order_{};  // slot indexes, most recently used first
};

}  // namespace morven
