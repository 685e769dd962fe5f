#include "data/dbase_table.h"

#include <cstdio>
#include <string>

#include "core/argument_reader.h"
#include "core/program_state.h"
#include "core/registers.h"
#include "core/text_ops.h"
#include "data/dbase_error.h"
#include "data/dbase_index.h"
#include "data/file_slots.h"
#include "data/io_state.h"
#include "errors/run_error.h"
#include "platform/host_files.h"
#include "platform/locale_dates.h"

namespace morven {

int32_t CurrentTable = 0;

namespace {

std::array<std::unique_ptr<DbTable>, kTableSlots + 1> g_tables;

int64_t RecordOffset(const DbTable& t, int32_t n) {
  return t.header_length + static_cast<int64_t>(n - 1) * t.record_length;
}

void PutCount(uint8_t* header, int32_t count) {
  for (int i = 0; i < 4; ++i) header[4 + i] = static_cast<uint8_t>(static_cast<uint32_t>(count) >> (8 * i));
}

// Reads header and descriptors through the larger buffer of the open step; the file is
// closed again afterwards. False when the file is no usable table (DbError says why).
bool ReadStructure(DbTable& t) {
  BufferedFile file(kTableHeaderBuffer);
  if (int32_t code = file.Open(t.host_path, OpenModeAccess(), false, false, FileOpenMode)) {
    SetDbIoError(code, t.file_name.View(), "Reset");
    return false;
  }
  int64_t size = 0;
  file.Size(size);
  uint8_t head[32];
  size_t got = 0;
  if (int32_t code = file.Read(0, head, sizeof head, got)) {
    SetDbIoError(code, t.file_name.View(), "Read");
    return false;
  }
  TableHeader header;
  FormatCheck check = ParseTableHeader(head, got, size, header);
  if (check.code == 0) {
    std::vector<uint8_t> area(static_cast<size_t>(header.header_length - 32));
    if (int32_t code = file.Read(32, area.data(), area.size(), got)) {
      SetDbIoError(code, t.file_name.View(), "Read");
      return false;
    }
    check = ParseDescriptors(header, area.data(), got, t.fields);
  }
  file.Close();
  if (check.code != 0) {
    if (check.code == kDbNotDbase) {
      SetDbError(check.code, check.reason);
    } else {
      std::string text = check.reason + ": " + t.file_name.Str();
      SetDbError(check.code, text);
    }
    return false;
  }
  std::copy(std::begin(header.bytes), std::end(header.bytes), std::begin(t.header));
  t.has_memo = header.version == kVersionMemo;
  t.record_count = header.record_count;
  t.header_length = header.header_length;
  t.record_length = header.record_length;
  t.field_count = header.field_count;
  t.update_date = UpdateDateText(t.header);
  return true;
}

}  // namespace

DbTable* TableInSlot(int32_t n) {
  if (n < 1 || n > kTableSlots) return nullptr;
  return g_tables[static_cast<size_t>(n)].get();
}

DbTable& CurrentTableOrStop() {
  DbTable* t = TableInSlot(CurrentTable);
  if (t == nullptr) RunError(610, "");
  return *t;
}

int32_t ReadTableSlot(char context) {
  if (RestOfLine.empty() || RestOfLine.front() != '#') RunError(105, "");
  RestOfLine = TrimBlanks(RestOfLine.substr(1));
  ReadArgument(context, kKindAny);
  if (IntValue < 1 || IntValue > kTableSlots) RunError(609, "");
  return IntValue;
}

namespace {

// The position of the extension's "." in name, or npos.
size_t ExtensionDot(std::string_view name) {
  size_t separator = name.find_last_of("\\:");
  size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return dot;
  if (separator != std::string_view::npos && dot < separator) return std::string_view::npos;
  return dot;
}

}  // namespace

std::string WithExtension(std::string_view name, std::string_view ext) {
  std::string result(name);
  if (ExtensionDot(name) == std::string_view::npos) result += ext;
  return result;
}

std::string ReplaceExtension(std::string_view name, std::string_view ext) {
  size_t dot = ExtensionDot(name);
  std::string result(name.substr(0, dot));
  return result + std::string(ext);
}

void BlankBuffer(DbTable& t) {
  t.buffer.assign(static_cast<size_t>(t.record_length), ' ');
  t.deleted = false;
}

void StampHeaderDate(uint8_t* header) {
  platform::LocalDateTime now = platform::LocalNow();
  header[1] = static_cast<uint8_t>(now.year - 1900);
  header[2] = static_cast<uint8_t>(now.month);
  header[3] = static_cast<uint8_t>(now.day);
}

int32_t OpenTable(int32_t n, std::string_view name) {
  // A table still open in the slot is closed first, so that its header is complete.
  if (TableInSlot(n) != nullptr) CloseTable(n);
  auto t = std::make_unique<DbTable>();
  t->file_name.Assign(WithExtension(name, ".DBF"));
  t->host_path = platform::HostPath(t->file_name.View());
  if (!ReadStructure(*t)) {
    const DbErrorState error = DbError;
    RunError(error.number, error.detail.View());
  }
  if (t->has_memo) {
    t->memo_name.Assign(ReplaceExtension(t->file_name.View(), ".DBT"));
    t->memo_host_path = platform::HostPath(t->memo_name.View());
  }
  if (int32_t code = t->table.Open(t->host_path, OpenModeAccess(), false, false, FileOpenMode))
    SetDbIoError(code, t->file_name.View(), "Reset");
  if (t->has_memo) {
    if (int32_t code = t->memo.Open(t->memo_host_path, OpenModeAccess(), false, false, FileOpenMode))
      SetDbIoError(code, t->memo_name.View(), "Reset");
  }
  t->state = 1;
  t->current_record = 0;
  BlankBuffer(*t);
  DbTable& table = *t;
  g_tables[static_cast<size_t>(n)] = std::move(t);
  MoveTo(table, MoveTarget::First);
  return table.record_count;
}

int32_t CloseTable(int32_t n) {
  DbTable* t = TableInSlot(n);
  if (t == nullptr) return 0;
  if (t->state != 0) {
    if (t->state == 2) {
      StampHeaderDate(t->header);
      PutCount(t->header, t->record_count);
      if (int32_t code = t->table.Write(0, t->header, 8)) SetDbIoError(code, t->file_name.View(), "Write");
      const uint8_t end = kFileEnd;
      if (int32_t code = t->table.Write(RecordOffset(*t, t->record_count + 1), &end, 1))
        SetDbIoError(code, t->file_name.View(), "Write");
    }
    if (t->table.IsOpen()) t->table.Close();
    if (t->memo.IsOpen()) t->memo.Close();
    DetachIndexes(*t);
    t->state = 0;
  }
  int32_t count = t->record_count;
  g_tables[static_cast<size_t>(n)].reset();
  return count;
}

void CloseAllTables() {
  for (int32_t n = 1; n <= kTableSlots; ++n) {
    if (TableInSlot(n) == nullptr) continue;
    ClearDbError();
    CloseTable(n);
    // The program has ended: nobody can be warned any more, so the log gets it.
    if (DbErrorSet())
      std::fprintf(stderr, "morvrun: closing table %d: message %d %.*s\n", static_cast<int>(n),
                   static_cast<int>(DbError.number), static_cast<int>(DbError.detail.length), DbError.detail.bytes);
  }
}

bool ReadRecordBytes(DbTable& t, int32_t n, std::vector<uint8_t>& into) {
  into.resize(static_cast<size_t>(t.record_length));
  size_t got = 0;
  if (int32_t code = t.table.Read(RecordOffset(t, n), into.data(), into.size(), got)) {
    SetDbIoError(code, t.file_name.View(), "Read");
    return false;
  }
  if (got < into.size()) {
    SetDbIoError(kDbShortRead, t.file_name.View(), "Read");
    return false;
  }
  return true;
}

void MoveTo(DbTable& t, MoveTarget target, int32_t record) {
  if (t.record_count == 0) {
    t.at_end = true;
    return;
  }
  t.at_end = false;
  int32_t n = 0;
  std::vector<uint8_t> read;
  bool have_read = false;
  NdxIndex* master = t.indexes_active ? t.indexes[0].get() : nullptr;
  if (master != nullptr) {
    switch (target) {
      case MoveTarget::First: n = master->Move(NdxMove::First); break;
      case MoveTarget::Last: n = master->Move(NdxMove::Last); break;
      case MoveTarget::Next: n = master->Move(NdxMove::Next); break;
      case MoveTarget::Previous: n = master->Move(NdxMove::Previous); break;
      case MoveTarget::Record:
        n = record;
        if (n >= 1 && n <= t.record_count) {
          // The record's own key tells where a sound index holds it.
          std::string hint;
          ShortString key;
          have_read = ReadRecordBytes(t, n, read);
          if (have_read && ComputeKey(t, master->expression(), read.data(), key, false)) hint = key.Str();
          if (!master->PositionOnRecord(n, have_read ? &hint : nullptr)) return;
        }
        break;
    }
    if (target != MoveTarget::Record) t.at_end = master->at_end();
    if (t.at_end) return;
  } else {
    switch (target) {
      case MoveTarget::First: n = 1; break;
      case MoveTarget::Last: n = t.record_count; break;
      case MoveTarget::Previous: n = t.current_record > 1 ? t.current_record - 1 : 1; break;
      case MoveTarget::Next:
        n = t.current_record + 1;
        if (n > t.record_count) {
          t.at_end = true;
          return;
        }
        break;
      case MoveTarget::Record: n = record; break;
    }
  }
  if (n < 1 || n > t.record_count) {
    std::string text = "Datensatz " + std::to_string(n) + " nicht in der gefunden.";
    SetDbError(kDbShortRead, text);
    return;
  }
  if (!have_read && !ReadRecordBytes(t, n, read)) return;
  t.buffer = read;
  t.stored = read;
  t.stored_record = n;
  t.current_record = n;
  t.deleted = !t.buffer.empty() && t.buffer[0] == '*';
}

namespace {

int32_t WriteRecordAs(DbTable& t, int32_t n, int32_t requested) {
  int32_t target = n;
  if (target < 1 || target > t.record_count) target = t.record_count + 1;
  if (int32_t code = t.table.Write(RecordOffset(t, target), t.buffer.data(), t.buffer.size())) {
    // Nothing was stored: the record count stays as it was.
    SetDbIoError(code, t.file_name.View(), "Write");
    return 0;
  }
  if (target > t.record_count) t.record_count = target;
  t.current_record = target;
  t.state = 2;
  if (t.indexes_active && t.indexes[0] != nullptr) {
    const bool known = t.stored_record == target && t.stored.size() == t.buffer.size();
    EnterMasterKey(t, target, requested, known ? t.stored.data() : nullptr);
  }
  t.stored = t.buffer;
  t.stored_record = target;
  return target;
}

}  // namespace

int32_t WriteRecord(DbTable& t, int32_t n) {
  int32_t target = n == 0 ? t.current_record : n;
  return WriteRecordAs(t, target, target);
}

int32_t AppendRecord(DbTable& t) {
  // A new record has no entry yet: the index only inserts it and stands on it.
  int32_t written = WriteRecordAs(t, t.record_count + 1, 0);
  BlankBuffer(t);
  return written;
}

}  // namespace morven
