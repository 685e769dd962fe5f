// Packing a table. The records that stay move down in file order; with memo fields,
// the memos they refer to are copied to the work file "DB3$$$.D$$" in the current
// directory, which then replaces the memo file.
//
// The memos are copied first, before any record moves: a failure while the work file
// is written (a full disk, say) then leaves the table and its memo file as they were.
#include "data/dbase_pack.h"

#include <cstdio>
#include <string>
#include <vector>

#include "data/dbase_error.h"
#include "data/dbase_fields.h"
#include "data/dbase_index.h"
#include "data/dbase_memo.h"
#include "data/file_slots.h"
#include "data/io_state.h"
#include "platform/file_io.h"
#include "platform/host_files.h"

namespace morven {
namespace {

constexpr char kWorkFile[] = "DB3$$$.D$$";

std::vector<int> MemoFields(const DbTable& t) {
  std::vector<int> memo;
  for (size_t i = 0; i < t.fields.size(); ++i)
    if (t.fields[i].type == 'M') memo.push_back(static_cast<int>(i));
  return memo;
}

// Copies the memos of the records that stay into the work file. new_blocks gets one
// number per (kept record, memo field), in that order; 0 for no memo, -1 for a field
// left as it is (not a number). False on an I/O failure.
bool CopyMemos(DbTable& t, const std::vector<int>& memo_fields, BufferedFile& work, std::vector<int32_t>& new_blocks) {
  std::vector<uint8_t> record;
  for (int32_t k = 1; k <= t.record_count; ++k) {
    if (!ReadRecordBytes(t, k, record)) return false;
    if (record[0] == '*') continue;
    for (int field : memo_fields) {
      const FieldDescriptor& f = t.fields[static_cast<size_t>(field)];
      std::string_view text(reinterpret_cast<const char*>(record.data()) + f.offset, f.length);
      int64_t block = MemoBlockNumber(text);
      if (block < 0) {
        std::string detail = "Kein numerischer Wert in NumberGetN - " + std::string(text);
        SetDbError(kDbNotNumeric, detail);
        new_blocks.push_back(-1);
        continue;
      }
      int32_t copied = 0;
      if (block != 0) {
        if (!CopyMemo(t.memo, t.memo_name.View(), static_cast<int32_t>(block), work, kWorkFile, copied)) {
          // A memo outside the memo file is dropped; any other failure stops the pack.
          if (DbError.code != kDbBadMemoBlock) return false;
          copied = 0;
        }
      }
      new_blocks.push_back(copied);
    }
  }
  return true;
}

// The work file becomes the table's memo file.
void ReplaceMemoFile(DbTable& t, const std::string& work_path) {
  t.memo.Close();
  if (int32_t code = platform::DeleteFile(t.memo_host_path)) {
    SetDbIoError(code, t.memo_name.View(), "Rewrite");
    return;
  }
  if (platform::RenameFile(work_path, t.memo_host_path) != 0) {
    // Another file system, for instance: copy it over instead.
    std::string data;
    platform::File out;
    if (platform::ReadFileFrom(work_path, 0, data) != platform::ReadStatus::Ok) {
      SetDbIoError(5, kWorkFile, "Read");
      return;
    }
    size_t put = 0;
    if (int32_t code = out.Open(t.memo_host_path, platform::Access::Write, true, true)) {
      SetDbIoError(code, t.memo_name.View(), "Rewrite");
      return;
    }
    if (int32_t code = out.Write(data.data(), data.size(), put); code != 0 || put < data.size()) {
      SetDbIoError(code != 0 ? code : kDbShortWrite, t.memo_name.View(), "Write");
      return;
    }
    out.Close();
    platform::DeleteFile(work_path);
  }
  if (int32_t code = t.memo.Open(t.memo_host_path, OpenModeAccess(), false, false, FileOpenMode))
    SetDbIoError(code, t.memo_name.View(), "Reset");
}

}  // namespace

int32_t PackTable(DbTable& t) {
  DetachIndexes(t);
  const std::vector<int> memo_fields = t.has_memo ? MemoFields(t) : std::vector<int>{};
  const bool with_memo = !memo_fields.empty();
  std::vector<int32_t> new_blocks;
  BufferedFile work(kMemoBuffer);
  const std::string work_path = platform::HostPath(kWorkFile);
  if (with_memo) {
    if (int32_t code = work.Open(work_path, platform::Access::ReadWrite, true, true, 0)) {
      SetDbIoError(code, kWorkFile, "Rewrite");
      return t.record_count;
    }
    if (!WriteMemoHeader(work, kWorkFile, 1) || !CopyMemos(t, memo_fields, work, new_blocks) ||
        !WriteMemoHeader(work, kWorkFile, MemoFileBlocks(work))) {
      work.Close();
      platform::DeleteFile(work_path);
      return t.record_count;
    }
    work.Close();
  }

  int32_t kept = 0;
  size_t next_block = 0;
  bool complete = true;
  for (int32_t k = 1; k <= t.record_count && complete; ++k) {
    if (!ReadRecordBytes(t, k, t.buffer)) {
      complete = false;
      break;
    }
    if (t.buffer[0] == '*') continue;
    ++kept;
    for (int field : memo_fields) {
      int32_t block = new_blocks[next_block++];
      if (block < 0) continue;
      const FieldDescriptor& f = t.fields[static_cast<size_t>(field)];
      char text[64] = "";
      if (block > 0) std::snprintf(text, sizeof text, "%*.*f", f.length, f.decimals, static_cast<double>(block));
      PutFieldBytes(t, field, text);
    }
    if (WriteRecord(t, kept) == 0) complete = false;
  }
  // Written to, even when nothing moved: the header must get the new count at close.
  t.state = 2;
  if (complete) {
    t.record_count = kept;
    const int64_t end = t.header_length + static_cast<int64_t>(kept) * t.record_length + 1;
    if (int32_t code = t.table.Truncate(end)) SetDbIoError(code, t.file_name.View(), "Write");
  } else {
    // A record could not be moved: nothing is cut off, so no record is lost.
    kept = t.record_count;
  }
  if (with_memo) ReplaceMemoFile(t, work_path);
  t.memo_start_block = 0;
  t.memo_block_count = 0;
  // The buffer holds the last record read, which may have been a deleted one: it
  // shows the current record again.
  if (kept == 0) {
    t.current_record = 0;
    t.stored_record = 0;
    BlankBuffer(t);
    t.at_end = true;
  } else {
    int32_t current = t.current_record >= 1 && t.current_record <= kept ? t.current_record : kept;
    if (ReadRecordBytes(t, current, t.buffer)) {
      t.current_record = current;
      t.stored = t.buffer;
      t.stored_record = current;
      t.deleted = t.buffer[0] == '*';
    }
  }
  return kept;
}

}  // namespace morven
