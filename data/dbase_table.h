#pragma once
// The dBase engine's tables: fifteen table slots, each holding one open .DBF file (with
// its .DBT memo file and attached .NDX indexes), a record buffer, and the moves that
// fill it. One slot is the CurrentTable, on which the record and field functions work.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/short_string.h"
#include "data/dbase_file.h"
#include "data/dbase_format.h"
#include "data/dbase_ndx.h"

namespace morven {

constexpr int kTableSlots = 15;
constexpr int kMaxIndexes = 16;
constexpr size_t kTableBuffer = 4096;
constexpr size_t kTableHeaderBuffer = 8192;
constexpr size_t kMemoBuffer = 2048;

struct DbTable {
  ShortString file_name;  // as opened, extension added
  std::string host_path;
  BufferedFile table{kTableBuffer};
  ShortString memo_name;  // empty without memo fields
  std::string memo_host_path;
  BufferedFile memo{kMemoBuffer};
  uint8_t header[32] = {};
  uint8_t state = 0;  // 0 closed, 1 open and unchanged, 2 written to
  bool has_memo = false;
  ShortString update_date;
  int32_t record_count = 0;
  int16_t header_length = 0;
  int16_t record_length = 0;
  int16_t field_count = 0;
  std::vector<FieldDescriptor> fields;

  int32_t current_record = 0;
  std::vector<uint8_t> buffer;  // the current record; byte 0 is the deletion flag
  bool deleted = false;
  bool at_end = false;
  bool found = false;
  // The record as the file holds it, and its number (0: none), so that the master
  // index can find the entry of a rewritten record under its old key.
  std::vector<uint8_t> stored;
  int32_t stored_record = 0;

  std::array<std::unique_ptr<NdxIndex>, kMaxIndexes> indexes;  // [0] is the master
  bool indexes_active = false;

  char field_type = ' ';
  int16_t field_decimals = 0;
  int16_t field_length = 0;
  ShortString field_name;
  int16_t field_number = 0;

  int32_t memo_start_block = 0;
  int16_t memo_block_count = 0;
  int32_t memo_wrap_width = 80;
  int32_t memo_result = 0;
};

// The number of the table the record and field functions use; 0 at start.
extern int32_t CurrentTable;

// The table in slot n (1..15), or nullptr.
DbTable* TableInSlot(int32_t n);
// The CurrentTable's table; message 610 when its slot holds none.
DbTable& CurrentTableOrStop();

// Reads a table slot argument "#n": message 105 without "#", 609 outside 1..15.
int32_t ReadTableSlot(char context);

// A file name with its extension: ext is added when there is no "." after the last
// "\" or ":". ReplaceExtension puts ext in place of an existing one.
std::string WithExtension(std::string_view name, std::string_view ext);
std::string ReplaceExtension(std::string_view name, std::string_view ext);

// Opens the table file in slot n (an open table there is closed first) and moves to
// its first record; ends the run when the file cannot be read as a table.
int32_t OpenTable(int32_t n, std::string_view name);
// Closes the table in slot n: writes the header when it was written to, closes memo
// and index files, empties the slot. The record count it had.
int32_t CloseTable(int32_t n);
// Closes every open table (the end of every run).
void CloseAllTables();

enum class MoveTarget { First, Last, Next, Previous, Record };
// Moves the record buffer (in master-index order when indexes are attached).
void MoveTo(DbTable& t, MoveTarget target, int32_t record = 0);

// Reads record n into `into`; false (and DbError) when it cannot be read.
bool ReadRecordBytes(DbTable& t, int32_t n, std::vector<uint8_t>& into);

// Writes the buffer as record n (0: the current record; outside 1..count: appended)
// and keeps the master index up to date. requested is what the index is told was
// asked for (see NdxIndex::Enter). The number written, or 0 when the write failed.
int32_t WriteRecord(DbTable& t, int32_t n);
int32_t AppendRecord(DbTable& t);

// Fills the buffer with blanks.
void BlankBuffer(DbTable& t);

// Today's date into header bytes 1..3.
void StampHeaderDate(uint8_t* header);

}  // namespace morven
