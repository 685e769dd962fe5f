#include "data/dbase_index.h"

#include <string>

#include "data/dbase_error.h"
#include "data/file_slots.h"
#include "data/io_state.h"
#include "platform/host_files.h"

namespace morven {
namespace {

std::string_view TrimSpaces(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// Calls each(term) for the terms of an expression.
template <typename Each>
void ForEachTerm(std::string_view expression, Each each) {
  for (;;) {
    size_t plus = expression.find('+');
    each(expression.substr(0, plus));
    if (plus == std::string_view::npos) return;
    expression.remove_prefix(plus + 1);
  }
}

void RefuseTerm(std::string_view expression, std::string_view term) {
  ShortString text(expression);
  text.Append(" (");
  text.Append(term);
  text.Append(")");
  SetDbError(kDbBadExpression, text.View());
}

}  // namespace

int FieldOfTerm(const DbTable& t, std::string_view term) {
  ShortString name(TrimSpaces(term));
  for (size_t i = 0; i < name.length; ++i)
    if (name.bytes[i] >= 'a' && name.bytes[i] <= 'z') name.bytes[i] = static_cast<char>(name.bytes[i] - 32);
  for (size_t i = 0; i < t.fields.size(); ++i)
    if (t.fields[i].name.View() == name.View()) return static_cast<int>(i);
  return -1;
}

bool ComputeKey(const DbTable& t, std::string_view expression, const uint8_t* record, ShortString& key,
                bool report) {
  key.Clear();
  bool sound = true;
  ForEachTerm(expression, [&](std::string_view term) {
    std::string_view text = term;
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    if (text.empty()) return;
    if (text.front() == '"') {
      // A literal: its text without the quotes and without trailing blanks.
      text.remove_prefix(1);
      while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
      if (!text.empty() && text.back() == '"') text.remove_suffix(1);
      while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
      key.Append(text);
      return;
    }
    int field = FieldOfTerm(t, term);
    if (field < 0) {
      sound = false;
      if (report) RefuseTerm(expression, term);
      return;
    }
    const FieldDescriptor& f = t.fields[static_cast<size_t>(field)];
    key.Append(std::string_view(reinterpret_cast<const char*>(record) + f.offset, f.length));
  });
  return sound;
}

void DetachIndexes(DbTable& t) {
  for (auto& index : t.indexes) {
    if (index != nullptr) index->Close();
    index.reset();
  }
  t.indexes_active = false;
}

bool AttachIndexes(DbTable& t, std::string_view names) {
  DetachIndexes(t);
  bool sound = true;
  size_t count = 0;
  while (!names.empty()) {
    size_t end = names.find_first_of(" ,");
    std::string_view name = names.substr(0, end);
    names.remove_prefix(end == std::string_view::npos ? names.size() : end + 1);
    if (name.empty()) continue;
    std::string file_name = std::string(name.substr(0, 64)) + ".NDX";
    if (count == kMaxIndexes) {
      SetDbError(kDbBadIndex, file_name);
      sound = false;
      continue;
    }
    std::string host = platform::HostPath(file_name);
    {
      // Whether the file can be opened at all is checked first, as the open mode allows.
      platform::File probe;
      if (probe.Open(host, OpenModeAccess(), false, false, FileOpenMode) != 0) {
        SetDbError(2, file_name);
        sound = false;
        continue;
      }
    }
    std::unique_ptr<NdxIndex> index = NdxIndex::Open(file_name, host, OpenModeAccess(), FileOpenMode);
    if (index == nullptr) {
      sound = false;
      continue;
    }
    t.indexes[count++] = std::move(index);
  }
  t.indexes_active = count > 0;
  return sound;
}

bool CreateIndex(DbTable& t, std::string_view expression, std::string_view name) {
  DetachIndexes(t);
  // Every term must name a field; their lengths make the key length, and a single
  // date or numeric field makes a numeric index.
  int32_t key_length = 0;
  int terms = 0;
  char first_type = 'C';
  bool sound = true;
  ForEachTerm(expression, [&](std::string_view term) {
    int field = FieldOfTerm(t, term);
    if (field < 0) {
      sound = false;
      return;
    }
    const FieldDescriptor& f = t.fields[static_cast<size_t>(field)];
    if (terms++ == 0) first_type = f.type;
    key_length += f.length;
  });
  if (!sound || terms == 0) {
    SetDbError(kDbBadExpression, expression);
    return false;
  }
  bool numeric = terms == 1 && (first_type == 'D' || first_type == 'N');
  if (numeric) key_length = 8;
  // Keys longer than this leave fewer than two entries per block: no block could split.
  if (key_length > kNdxMaxKeyLength || key_length < 1 || expression.size() > kNdxMaxExpression) {
    SetDbError(kDbBadExpression, expression);
    return false;
  }
  std::string file_name = std::string(name) + ".NDX";
  std::unique_ptr<NdxIndex> index =
      NdxIndex::Create(file_name, platform::HostPath(file_name), expression, numeric, key_length, FileOpenMode);
  if (index == nullptr) return false;
  std::vector<uint8_t> record;
  for (int32_t n = 1; n <= t.record_count; ++n) {
    if (!ReadRecordBytes(t, n, record)) break;
    ShortString key;
    ComputeKey(t, index->expression(), record.data(), key, true);
    index->Enter(key.View(), n, -1, nullptr);
  }
  t.indexes[0] = std::move(index);
  t.indexes_active = true;
  MoveTo(t, MoveTarget::First);
  return !DbErrorSet();
}

void EnterMasterKey(DbTable& t, int32_t n, int32_t requested, const uint8_t* old_record) {
  NdxIndex& master = *t.indexes[0];
  ShortString key;
  ComputeKey(t, master.expression(), t.buffer.data(), key, true);
  std::string hint;
  ShortString old_key;
  bool have_hint = old_record != nullptr && ComputeKey(t, master.expression(), old_record, old_key, false);
  if (have_hint) hint = old_key.Str();
  master.Enter(key.View(), n, requested, have_hint ? &hint : nullptr);
}

}  // namespace morven
