#include "data/dbase_ndx.h"

#include <cstring>

#include "data/dbase_error.h"
#include "data/dbase_ndx_key.h"

namespace morven {

bool NdxFullKeyMode = true;

namespace {

uint32_t Get32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24); }
uint16_t Get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
void Put32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
void Put16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}

// Restores the shared search mode when an operation that needs full keys ends.
class FullKeyScope {
 public:
  FullKeyScope() : saved_(NdxFullKeyMode) { NdxFullKeyMode = true; }
  ~FullKeyScope() { NdxFullKeyMode = saved_; }

 private:
  bool saved_;
};

}  // namespace

int32_t NdxEntrySize(int32_t key_length) { return (key_length + 8 + 3) / 4 * 4; }
int32_t NdxMaxEntries(int32_t key_length) { return 504 / NdxEntrySize(key_length); }

// ---- opening, creating, closing ----

std::unique_ptr<NdxIndex> NdxIndex::Open(std::string_view file_name, const std::string& host_path,
                                         platform::Access access, uint8_t sharing) {
  std::unique_ptr<NdxIndex> index(new NdxIndex());
  index->file_name_.assign(file_name);
  if (int32_t code = index->file_.Open(host_path, access, false, false, sharing)) {
    SetDbIoError(code, file_name, "Reset");
    return nullptr;
  }
  if (!index->ReadHeader()) {
    index->file_.Close();
    return nullptr;
  }
  for (size_t i = 0; i < index->order_.size(); ++i) index->order_[i] = static_cast<uint8_t>(i);
  return index;
}

std::unique_ptr<NdxIndex> NdxIndex::Create(std::string_view file_name, const std::string& host_path,
                                           std::string_view expression, bool numeric, int32_t key_length,
                                           uint8_t sharing) {
  std::unique_ptr<NdxIndex> index(new NdxIndex());
  index->file_name_.assign(file_name);
  if (int32_t code = index->file_.Open(host_path, platform::Access::ReadWrite, true, true, sharing)) {
    SetDbIoError(code, file_name, "Rewrite");
    return nullptr;
  }
  uint8_t* h = index->header_;
  Put32(h + 0, 1);
  Put32(h + 4, 2);
  Put16(h + 12, static_cast<uint16_t>(key_length));
  Put16(h + 14, static_cast<uint16_t>(NdxMaxEntries(key_length)));
  Put16(h + 16, numeric ? 1 : 0);
  Put16(h + 18, static_cast<uint16_t>(NdxEntrySize(key_length)));
  std::memcpy(h + 24, expression.data(), expression.size() < kNdxMaxExpression ? expression.size() : kNdxMaxExpression);
  uint8_t empty_leaf[kNdxBlockSize] = {};
  if (int32_t code = index->file_.Write(0, h, kNdxBlockSize)) {
    SetDbIoError(code, file_name, "Write");
    return nullptr;
  }
  if (int32_t code = index->file_.Write(kNdxBlockSize, empty_leaf, kNdxBlockSize)) {
    SetDbIoError(code, file_name, "Write");
    return nullptr;
  }
  if (!index->ReadHeader()) return nullptr;
  for (size_t i = 0; i < index->order_.size(); ++i) index->order_[i] = static_cast<uint8_t>(i);
  return index;
}

void NdxIndex::Corrupt(std::string_view what) {
  failed_ = true;
  std::string text = file_name_ + ": " + std::string(what);
  SetDbError(kDbBadIndex, text);
}

bool NdxIndex::ReadHeader() {
  size_t got = 0;
  if (int32_t code = file_.Read(0, header_, kNdxBlockSize, got)) {
    SetDbIoError(code, file_name_, "Read");
    return false;
  }
  if (got < static_cast<size_t>(kNdxBlockSize)) {
    Corrupt("Kopf unvollst\xE4ndig");
    return false;
  }
  root_ = static_cast<int32_t>(Get32(header_));
  next_free_ = static_cast<int32_t>(Get32(header_ + 4));
  key_length_ = Get16(header_ + 12);
  max_entries_ = Get16(header_ + 14);
  uint16_t key_type = Get16(header_ + 16);
  entry_size_ = Get16(header_ + 18);
  numeric_ = key_type == 1;
  int64_t size = 0;
  file_.Size(size);
  int64_t blocks = (size + kNdxBlockSize - 1) / kNdxBlockSize;
  // The sizes must describe entries that fit a block at least twice, and the tree must
  // lie inside the file.
  if (key_length_ < 1 || key_length_ > kNdxMaxKeyLength || key_type > 1 ||
      (numeric_ && key_length_ != static_cast<int32_t>(kNumericKeyLength)) || entry_size_ < key_length_ + 8 ||
      max_entries_ < 2 || static_cast<int64_t>(max_entries_) * entry_size_ > 504) {
    Corrupt("Schl\xFCsselgr\xF6\xDF" "e");
    return false;
  }
  if (next_free_ < 2 || next_free_ > blocks || root_ < 1 || root_ >= next_free_) {
    Corrupt("Blockzahl");
    return false;
  }
  size_t end = 24;
  while (end < static_cast<size_t>(kNdxBlockSize) && header_[end] != 0 && end < 24 + 127) ++end;
  std::string_view text(reinterpret_cast<const char*>(header_ + 24), end - 24);
  while (!text.empty() && static_cast<uint8_t>(text.front()) < 0x21) text.remove_prefix(1);
  while (!text.empty() && static_cast<uint8_t>(text.back()) < 0x21) text.remove_suffix(1);
  expression_.assign(text);
  ResetPosition();
  NdxFullKeyMode = true;
  return true;
}

bool NdxIndex::WriteHeader() {
  Put32(header_, static_cast<uint32_t>(root_));
  Put32(header_ + 4, static_cast<uint32_t>(next_free_));
  if (file_.Write(0, header_, kNdxBlockSize) != 0) {
    Fail("Ndx_Put");
    return false;
  }
  return true;
}

void NdxIndex::Fail(const char* what) {
  failed_ = true;
  SetDbError(kDbShortRead, what);
}

void NdxIndex::Close() {
  for (CacheSlot& slot : cache_) {
    if (slot.block >= 0 && slot.dirty) WriteBack(slot, "Ndx_Get/Put");
    slot.block = -1;
  }
  if (file_.IsOpen()) file_.Close();
  ResetPosition();
}

// ---- the block cache ----

bool NdxIndex::ValidBlock(int32_t block) {
  if (block >= 1 && block < next_free_) return true;
  Corrupt("Block " + std::to_string(block));
  return false;
}

void NdxIndex::ToFront(size_t slot_index) {
  size_t at = 0;
  while (order_[at] != slot_index) ++at;
  for (; at > 0; --at) order_[at] = order_[at - 1];
  order_[0] = static_cast<uint8_t>(slot_index);
}

bool NdxIndex::WriteBack(CacheSlot& slot, const char* failure) {
  slot.dirty = false;
  if (file_.Write(static_cast<int64_t>(slot.block) * kNdxBlockSize, slot.data, kNdxBlockSize) != 0) {
    Fail(failure);
    return false;
  }
  return true;
}

NdxIndex::CacheSlot& NdxIndex::Victim() {
  CacheSlot& slot = cache_[order_[kNdxCacheSlots - 1]];
  if (slot.block >= 0 && slot.dirty) WriteBack(slot, "Ndx_Put");
  slot.block = -1;
  return slot;
}

bool NdxIndex::Load(int32_t block, Node& node) {
  if (!ValidBlock(block)) return false;
  for (size_t i = 0; i < cache_.size(); ++i) {
    if (cache_[i].block == block) {
      ToFront(i);
      std::memcpy(node.bytes, cache_[i].data, kNdxBlockSize);
      return CheckNode(block, node);
    }
  }
  CacheSlot& slot = Victim();
  size_t got = 0;
  int32_t code = file_.Read(static_cast<int64_t>(block) * kNdxBlockSize, slot.data, kNdxBlockSize, got);
  if (code != 0 || got < static_cast<size_t>(kNdxBlockSize)) {
    Fail("Ndx_Get");
    return false;
  }
  slot.block = block;
  slot.dirty = false;
  ToFront(static_cast<size_t>(&slot - cache_.data()));
  std::memcpy(node.bytes, slot.data, kNdxBlockSize);
  return CheckNode(block, node);
}

bool NdxIndex::Store(int32_t block, const Node& node) {
  if (!ValidBlock(block)) return false;
  for (size_t i = 0; i < cache_.size(); ++i) {
    if (cache_[i].block == block) {
      std::memcpy(cache_[i].data, node.bytes, kNdxBlockSize);
      cache_[i].dirty = true;
      ToFront(i);
      return true;
    }
  }
  CacheSlot& slot = Victim();
  std::memcpy(slot.data, node.bytes, kNdxBlockSize);
  slot.block = block;
  slot.dirty = false;
  ToFront(static_cast<size_t>(&slot - cache_.data()));
  if (file_.Write(static_cast<int64_t>(block) * kNdxBlockSize, slot.data, kNdxBlockSize) != 0) {
    Fail("Ndx_Put/New");
    return false;
  }
  return true;
}

// ---- nodes ----

int32_t NdxIndex::Keys(const Node& n) const { return static_cast<int32_t>(Get32(n.bytes)); }
void NdxIndex::SetKeys(Node& n, int32_t keys) const { Put32(n.bytes, static_cast<uint32_t>(keys)); }
int32_t NdxIndex::Child(const Node& n, int32_t i) const { return static_cast<int32_t>(Get32(Entry(n, i))); }
int32_t NdxIndex::Record(const Node& n, int32_t i) const { return static_cast<int32_t>(Get32(Entry(n, i) + 4)); }

bool NdxIndex::CheckNode(int32_t block, const Node& n) {
  int32_t keys = Keys(n);
  int64_t entries = IsLeaf(n) ? keys : static_cast<int64_t>(keys) + 1;
  if (keys < 0 || 4 + entries * entry_size_ > kNdxBlockSize) {
    Corrupt("Block " + std::to_string(block));
    return false;
  }
  return true;
}

// ---- positions and moves ----

void NdxIndex::ResetPosition() {
  depth_ = 0;
  current_record_ = 0;
  current_key_.clear();
}

// No walk through a sound index visits more entries than its blocks can hold.
int64_t NdxIndex::WalkLimit() const { return static_cast<int64_t>(next_free_) * max_entries_ + 2; }

bool NdxIndex::Descend(int level, int32_t block, bool last) {
  for (;; ++level) {
    if (level >= kNdxMaxDepth) {
      Corrupt("Baum zu tief");
      return false;
    }
    Node n;
    if (!Load(block, n)) return false;
    bool leaf = IsLeaf(n);
    int32_t count = Entries(n);
    int32_t position = last ? count : 1;
    path_[level] = {block, position, count, !leaf};
    depth_ = level + 1;
    if (leaf) return true;
    block = Child(n, position - 1);
  }
}

// Takes key and record of the entry the path ends at; false when there is none.
bool NdxIndex::LoadCurrent() {
  if (depth_ == 0) return false;
  const Level& leaf = path_[depth_ - 1];
  if (leaf.position < 1 || leaf.position > leaf.count) return false;
  Node n;
  if (!Load(leaf.block, n)) return false;
  current_record_ = Record(n, leaf.position - 1);
  current_key_.assign(reinterpret_cast<const char*>(KeyAt(n, leaf.position - 1)), static_cast<size_t>(key_length_));
  return true;
}

NdxIndex::Step NdxIndex::StepEntry(bool forward) {
  auto can_step = [forward](const Level& l) { return forward ? l.position < l.count : l.position > 1; };
  Level& leaf = path_[depth_ - 1];
  // A search that ended behind a leaf's last key stands at count + 1.
  if (can_step(leaf)) {
    leaf.position += forward ? 1 : -1;
    return Step::Moved;
  }
  const std::array<Level, kNdxMaxDepth> saved = path_;
  const int saved_depth = depth_;
  for (int64_t budget = WalkLimit(); budget > 0; --budget) {
    int i = depth_ - 2;
    while (i >= 0 && !can_step(path_[i])) --i;
    if (i < 0) {
      path_ = saved;
      depth_ = saved_depth;
      return Step::Boundary;
    }
    path_[i].position += forward ? 1 : -1;
    Node n;
    if (!Load(path_[i].block, n)) return Step::Failed;
    if (!Descend(i + 1, Child(n, path_[i].position - 1), !forward)) return Step::Failed;
    if (path_[depth_ - 1].count > 0) return Step::Moved;
    // An empty leaf below the root: go on past it.
  }
  Corrupt("Zyklus");
  return Step::Failed;
}

int32_t NdxIndex::Move(NdxMove move) {
  at_end_ = false;
  at_beginning_ = false;
  if (depth_ == 0 && (move == NdxMove::Next || move == NdxMove::Previous)) move = NdxMove::First;
  if (move == NdxMove::First || move == NdxMove::Last) {
    bool last = move == NdxMove::Last;
    ResetPosition();
    if (!Descend(0, root_, last)) {
      ResetPosition();
      at_end_ = true;
      return 0;
    }
    if (path_[depth_ - 1].count == 0) {
      if (depth_ == 1 || StepEntry(!last) != Step::Moved) {
        ResetPosition();
        at_end_ = true;
        return 0;
      }
    }
  } else {
    bool forward = move == NdxMove::Next;
    Step step = StepEntry(forward);
    if (step == Step::Failed) {
      ResetPosition();
      at_end_ = true;
      return 0;
    }
    if (step == Step::Boundary) {
      (forward ? at_end_ : at_beginning_) = true;
      if (!LoadCurrent()) {
        // No entry was current (a search ended past the last one).
        at_end_ = true;
      }
      return current_record_;
    }
  }
  if (!LoadCurrent()) {
    ResetPosition();
    at_end_ = true;
    return 0;
  }
  return current_record_;
}

bool NdxIndex::SearchKey(const std::string& key, bool upper_bound, int32_t& found) {
  found = 0;
  at_end_ = false;
  ResetPosition();
  int32_t block = root_;
  for (int level = 0;; ++level) {
    if (level >= kNdxMaxDepth) {
      Corrupt("Baum zu tief");
      ResetPosition();
      return false;
    }
    Node n;
    if (!Load(block, n)) {
      ResetPosition();
      return false;
    }
    bool leaf = IsLeaf(n);
    int32_t keys = Keys(n);
    int32_t i = 0;
    while (i < keys) {
      int c = CompareKey(KeyAt(n, i), static_cast<size_t>(key_length_), key, numeric_);
      if (upper_bound ? c > 0 : c >= 0) break;
      ++i;
    }
    path_[level] = {block, i + 1, leaf ? keys : keys + 1, !leaf};
    depth_ = level + 1;
    if (leaf) {
      if (keys == 0) {
        if (level == 0) ResetPosition();
        return true;
      }
      if (!upper_bound && i < keys && CompareKey(KeyAt(n, i), static_cast<size_t>(key_length_), key, numeric_) == 0) {
        current_record_ = Record(n, i);
        current_key_.assign(reinterpret_cast<const char*>(KeyAt(n, i)), static_cast<size_t>(key_length_));
        found = current_record_;
      }
      return true;
    }
    block = Child(n, i);
  }
}

int32_t NdxIndex::Search(std::string_view key_text) {
  std::string key;
  if (!NormalizeKey(key_text, numeric_, NdxFullKeyMode, static_cast<size_t>(key_length_), key)) {
    ResetPosition();
    SetDbError(kDbBadKey, key_text);
    return 0;
  }
  failed_ = false;
  int32_t found = 0;
  SearchKey(key, false, found);
  return found;
}

bool NdxIndex::PositionOnRecord(int32_t record, const std::string* hint_key) {
  if (depth_ > 0 && current_record_ == record && record != 0) return true;
  std::string hint;
  if (hint_key != nullptr && NormalizeKey(*hint_key, numeric_, true, static_cast<size_t>(key_length_), hint)) {
    // A sound index holds the record under the key it had: look there first.
    int32_t found = 0;
    if (SearchKey(hint, false, found) && found != 0) {
      for (int64_t budget = WalkLimit(); budget > 0 && !at_end_ && current_key_ == hint; --budget) {
        if (current_record_ == record) return true;
        Move(NdxMove::Next);
      }
    }
  }
  Move(NdxMove::First);
  for (int64_t budget = WalkLimit(); budget > 0; --budget) {
    if (at_end_) return false;
    if (current_record_ == record) return true;
    Move(NdxMove::Next);
  }
  Corrupt("Zyklus");
  return false;
}

// ---- changes ----

bool NdxIndex::Insert(const std::string& key, int32_t record, bool& position_known) {
  position_known = false;
  // The place after all entries with an equal key: the first entry with a higher key.
  int32_t found = 0;
  if (!SearchKey(key, true, found)) return false;
  if (depth_ == 0) {
    // An empty root leaf.
    path_[0] = {root_, 1, 0, false};
    depth_ = 1;
  }
  Level& leaf = path_[depth_ - 1];
  Node n;
  if (!Load(leaf.block, n)) return false;
  int32_t keys = Keys(n);
  int32_t at = leaf.position - 1;
  if (at < 0) at = 0;
  if (at > keys) at = keys;
  std::memmove(Entry(n, at + 1), Entry(n, at), static_cast<size_t>((keys - at) * entry_size_));
  uint8_t* e = Entry(n, at);
  std::memset(e, 0, static_cast<size_t>(entry_size_));
  Put32(e + 4, static_cast<uint32_t>(record));
  std::memcpy(e + 8, key.data(), static_cast<size_t>(key_length_));
  SetKeys(n, keys + 1);
  if (keys + 1 > max_entries_) {
    bool ok = Split(depth_ - 1, n);
    ResetPosition();
    return ok;
  }
  if (!Store(leaf.block, n)) return false;
  leaf.position = at + 1;
  leaf.count = keys + 1;
  position_known = true;
  return true;
}

bool NdxIndex::Split(int level, Node& node) {
  const bool interior = !IsLeaf(node);
  const int32_t n = Entries(node);
  const int32_t lower = n / 2;
  const int32_t old_block = path_[level].block;
  const int32_t new_block = next_free_++;
  Node low{};
  std::memcpy(Entry(low, 0), Entry(node, 0), static_cast<size_t>(lower * entry_size_));
  SetKeys(low, interior ? lower - 1 : lower);
  std::string separator(reinterpret_cast<const char*>(KeyAt(node, lower - 1)), static_cast<size_t>(key_length_));
  Node high{};
  std::memcpy(Entry(high, 0), Entry(node, lower), static_cast<size_t>((n - lower) * entry_size_));
  SetKeys(high, interior ? n - lower - 1 : n - lower);
  if (!Store(new_block, low) || !Store(old_block, high) || !WriteHeader()) return false;
  return InsertInParent(level, old_block, new_block, separator);
}

bool NdxIndex::InsertInParent(int level, int32_t old_block, int32_t new_block, const std::string& separator) {
  Node parent{};
  int32_t parent_block;
  int32_t at;
  if (level == 0) {
    // The root split: a new root above it, with one keyless entry for the old block.
    parent_block = next_free_++;
    root_ = parent_block;
    SetKeys(parent, 0);
    Put32(Entry(parent, 0), static_cast<uint32_t>(old_block));
    if (!WriteHeader()) return false;
    at = 0;
  } else {
    parent_block = path_[level - 1].block;
    if (!Load(parent_block, parent)) return false;
    int32_t entries = Entries(parent);
    at = path_[level - 1].position - 1;
    if (at < 0 || at >= entries || Child(parent, at) != old_block) {
      at = 0;
      while (at < entries && Child(parent, at) != old_block) ++at;
      if (at == entries) {
        Corrupt("Block " + std::to_string(parent_block));
        return false;
      }
    }
  }
  int32_t entries = Entries(parent);
  std::memmove(Entry(parent, at + 1), Entry(parent, at), static_cast<size_t>((entries - at) * entry_size_));
  uint8_t* e = Entry(parent, at);
  std::memset(e, 0, static_cast<size_t>(entry_size_));
  Put32(e, static_cast<uint32_t>(new_block));
  std::memcpy(e + 8, separator.data(), static_cast<size_t>(key_length_));
  SetKeys(parent, Keys(parent) + 1);
  if (level > 0 && Entries(parent) > max_entries_) return Split(level - 1, parent);
  return Store(parent_block, parent);
}

bool NdxIndex::RemoveCurrent() {
  bool ok = depth_ > 0 && RemoveAt(depth_ - 1, path_[depth_ - 1].position - 1);
  ResetPosition();
  return ok;
}

bool NdxIndex::RemoveAt(int level, int32_t index) {
  const int32_t block = path_[level].block;
  Node n;
  if (!Load(block, n)) return false;
  const bool interior = !IsLeaf(n);
  const int32_t entries = Entries(n);
  if (index < 0 || index >= entries) {
    Corrupt("Block " + std::to_string(block));
    return false;
  }
  const bool was_last = index == entries - 1;
  std::memmove(Entry(n, index), Entry(n, index + 1), static_cast<size_t>((entries - index - 1) * entry_size_));
  std::memset(Entry(n, entries - 1), 0, static_cast<size_t>(entry_size_));
  const int32_t left = entries - 1;
  if (left == 0) {
    if (level == 0) {
      // The root keeps existing, as an empty leaf.
      Node empty{};
      return Store(block, empty);
    }
    SetKeys(n, 0);
    if (!Store(block, n)) return false;
    return RemoveAt(level - 1, path_[level - 1].position - 1);
  }
  SetKeys(n, interior ? left - 1 : left);
  if (!Store(block, n)) return false;
  if (!was_last) return true;
  // The block's highest key changed: so does the separator of the nearest ancestor in
  // which this subtree is not the keyless last pointer.
  std::string highest(reinterpret_cast<const char*>(KeyAt(n, left - 1)), static_cast<size_t>(key_length_));
  for (int j = level - 1; j >= 0; --j) {
    if (path_[j].position <= path_[j].count - 1) {
      Node p;
      if (!Load(path_[j].block, p)) return false;
      std::memcpy(Entry(p, path_[j].position - 1) + 8, highest.data(), static_cast<size_t>(key_length_));
      return Store(path_[j].block, p);
    }
  }
  return true;
}

bool NdxIndex::PositionAfterInsert(const std::string& key, int32_t record, bool position_known) {
  if (position_known && LoadCurrent() && current_record_ == record) return true;
  // The new entry is the last one with its key: just before the first higher entry.
  int32_t found = 0;
  if (SearchKey(key, true, found) && depth_ > 0) {
    Level& leaf = path_[depth_ - 1];
    if (leaf.position > 1) {
      --leaf.position;
      if (LoadCurrent() && current_record_ == record) return true;
    } else if (StepEntry(false) == Step::Moved && LoadCurrent() && current_record_ == record) {
      return true;
    }
  }
  // Not where a sound index has it: search and walk the equal keys.
  FullKeyScope full;
  if (!SearchKey(key, false, found) || found == 0) return false;
  for (int64_t budget = WalkLimit(); budget > 0 && !at_end_; --budget) {
    if (current_record_ == record) return true;
    Move(NdxMove::Next);
  }
  return false;
}

void NdxIndex::Enter(std::string_view key_text, int32_t record, int32_t requested, const std::string* hint_key) {
  FullKeyScope full;
  std::string key;
  if (!NormalizeKey(key_text, numeric_, true, static_cast<size_t>(key_length_), key)) {
    SetDbError(kDbBadKey, key_text);
    return;
  }
  failed_ = false;
  if (requested == record && PositionOnRecord(record, hint_key)) {
    if (current_key_ == key) return;
    if (!RemoveCurrent()) return;
  }
  if (failed_) return;
  bool position_known = false;
  if (!Insert(key, record, position_known)) return;
  if (requested >= 0) PositionAfterInsert(key, record, position_known);
}

}  // namespace morven
