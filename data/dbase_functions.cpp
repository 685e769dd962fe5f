// The table functions (0x47, 0x48, 0xD2 to 0xE3) and commands (0xF8, 0xF9). Each one
// clears the engine's error state when it starts and, except 0xD8, reports a failure
// recorded during its work as a warning before it returns its result.
#include "data/dbase_functions.h"

#include <string>

#include "core/argument_reader.h"
#include "core/program_state.h"
#include "core/registers.h"
#include "core/text_ops.h"
#include "data/dbase_create.h"
#include "data/dbase_error.h"
#include "data/dbase_fields.h"
#include "data/dbase_index.h"
#include "data/dbase_memo.h"
#include "data/dbase_pack.h"
#include "data/dbase_table.h"
#include "errors/run_error.h"
#include "functions/function_table.h"

namespace morven {
namespace {



// A function's end: the warning, then the result stays in the registers.
void Finish() { WarnDbError(); }

// True when an unquoted "," comes before the closing parenthesis: one more argument.
bool AnotherArgumentFollows() {
  size_t comma = FindTopLevel(',', RestOfLine);
  size_t paren = FindTopLevel(')', RestOfLine);
  return comma != 0 && (paren == 0 || comma < paren);
}

void DbOpen() {
  ClearDbError();
  int32_t n = ReadTableSlot(',');
  CurrentTable = n;
  ReadArgument(')', kKindRawString);
  const ShortString name = StringValue;
  int32_t count = OpenTable(n, name.View());
  IntegerResult(count);
  Finish();
}

void DbSelect() {
  ClearDbError();
  int32_t n = ReadTableSlot(')');
  CurrentTable = n;
  DbTable* t = TableInSlot(n);
  if (t == nullptr) RunError(610, "");
  IntegerResult(t->record_count);
}

void DbClose() {
  ClearDbError();
  int32_t n = ReadTableSlot(')');
  if (TableInSlot(n) == nullptr) RunError(610, "");
  IntegerResult(CloseTable(n));
  Finish();
}

void DbGo() {
  ClearDbError();
  ReadArgument(')', kKindAny);
  ShortString word = StringValue;
  const int32_t number = LongValue;
  UpperText(word);
  DbTable& t = CurrentTableOrStop();
  std::string_view w = word.View();
  if (w == "TOP" || w == "|<") MoveTo(t, MoveTarget::First);
  else if (w == "BOTTOM" || w == ">|") MoveTo(t, MoveTarget::Last);
  else if (w == "NEXT" || w == ">") MoveTo(t, MoveTarget::Next);
  else if (w == "PREV" || w == "<") MoveTo(t, MoveTarget::Previous);
  else MoveTo(t, MoveTarget::Record, number);
  IntegerResult(t.current_record);
  Finish();
}

void FieldRead(int index, DbTable& t) {
  SelectField(t, index);
  StringResult(FieldTextToProgram(FieldBytes(t, index), OemFieldText()).View());
}

void DbField() {
  ClearDbError();
  ReadArgument(')', kKindAny);
  const ShortString name = StringValue;
  DbTable& t = CurrentTableOrStop();
  int index = FindField(t, name.View());
  if (index < 0) {
    ForgetField(t);
    SetDbError(kDbReadFieldName, name.View());
    StringResult("");
  } else {
    FieldRead(index, t);
  }
  Finish();
}

void DbFieldNumber() {
  ClearDbError();
  ReadArgument(')', kKindAny);
  const int32_t number = IntValue;
  DbTable& t = CurrentTableOrStop();
  if (number < 1 || number > static_cast<int32_t>(t.fields.size())) {
    ForgetField(t);
    SetDbError(kDbReadFieldNumber, std::to_string(number));
    StringResult("");
  } else {
    FieldRead(number - 1, t);
  }
  Finish();
}

void FieldWrite(int index, DbTable& t, std::string_view value) {
  SelectField(t, index);
  if (t.fields[static_cast<size_t>(index)].type == 'M') {
    IntegerResult(0);  // memo fields change only through the memo functions
    return;
  }
  PutFieldBytes(t, index, ProgramTextToField(value, OemFieldText()).View());
  IntegerResult(1);
}

void DbPut() {
  ClearDbError();
  ReadArgument(',', kKindAny);
  const ShortString name = StringValue;
  ReadArgument(')', kKindAny);
  const ShortString value = StringValue;
  DbTable& t = CurrentTableOrStop();
  int index = FindField(t, name.View());
  if (index < 0) {
    ForgetField(t);
    SetDbError(kDbWriteFieldName, name.View());
    IntegerResult(0);
  } else {
    FieldWrite(index, t, value.View());
  }
  Finish();
}

void DbPutNumber() {
  ClearDbError();
  ReadArgument(',', kKindAny);
  const int32_t number = IntValue;
  ReadArgument(')', kKindAny);
  const ShortString value = StringValue;
  DbTable& t = CurrentTableOrStop();
  if (number < 1 || number > static_cast<int32_t>(t.fields.size())) {
    ForgetField(t);
    SetDbError(kDbWriteFieldNumber, std::to_string(number));
    IntegerResult(0);
  } else {
    FieldWrite(number - 1, t, value.View());
  }
  Finish();
}

void DbWrite() {
  ClearDbError();
  ReadArgument(')', kKindAny);
  const int32_t n = LongValue;
  DbTable& t = CurrentTableOrStop();
  IntegerResult(WriteRecord(t, n));
  Finish();
}

void DbAppend() {
  ClearDbError();
  DbTable& t = CurrentTableOrStop();
  IntegerResult(AppendRecord(t));
  Finish();
}

void Mark(char flag) {
  ClearDbError();
  DbTable& t = CurrentTableOrStop();
  t.buffer[0] = static_cast<uint8_t>(flag);
  t.deleted = flag == '*';
  WriteRecord(t, t.current_record);
  IntegerResult(t.current_record);
  Finish();
}

void DbDelete() { Mark('*'); }
void DbRecall() { Mark(' '); }

void DbPack() {
  ClearDbError();
  DbTable& t = CurrentTableOrStop();
  IntegerResult(PackTable(t));
  Finish();
}

// Upper case as the console has it, on a copy.
ShortString Upper(std::string_view text) {
  ShortString s(text);
  UpperText(s);
  return s;
}

bool LocateMatches(std::string_view field, std::string_view wanted, int32_t mode) {
  switch (mode) {
    case 0: return field.find(wanted) != std::string_view::npos;
    case 1: return field.substr(0, wanted.size()) == wanted;
    case 2: return TrimBlanks(field) == TrimBlanks(wanted);
    default: return false;
  }
}

// The last arguments of locate and seek: a text, optionally followed by a mode.
void ReadTextAndMode(ShortString& text, int32_t& mode) {
  bool with_mode = AnotherArgumentFollows();
  ReadArgument(with_mode ? ',' : ')', kKindAny);
  text = StringValue;
  if (with_mode) {
    ReadArgument(')', kKindAny);
    mode = IntValue;
  }
}

void DbLocate() {
  ClearDbError();
  ReadArgument(',', kKindAny);
  const ShortString name = StringValue;
  int32_t mode = 0;
  ShortString text;
  ReadTextAndMode(text, mode);
  DbTable& t = CurrentTableOrStop();
  const ShortString wanted = Upper(ProgramTextToField(text.View(), OemFieldText()).View());
  int index = FindField(t, name.View());
  IntegerResult(0);
  if (index < 0) {
    // Without the field nothing can match: the search ends at once.
    ForgetField(t);
    SetDbError(kDbReadFieldName, name.View());
    Finish();
    return;
  }
  SelectField(t, index);
  while (!t.at_end) {
    if (LocateMatches(Upper(FieldBytes(t, index)).View(), wanted.View(), mode)) {
      IntegerResult(t.current_record);
      break;
    }
    const int32_t before = t.current_record;
    MoveTo(t, MoveTarget::Next);
    // A move that fails leaves the record where it was: nothing more to search.
    if (DbErrorSet() || (t.current_record == before && !t.at_end)) break;
  }
  Finish();
}

void DbIndex() {
  ClearDbError();
  ReadArgument(')', kKindRawString);
  const ShortString names = StringValue;
  DbTable& t = CurrentTableOrStop();
  MoveTo(t, MoveTarget::First);
  bool attached = AttachIndexes(t, names.View());
  // Attaching never warns: the result alone tells.
  IntegerResult(attached && !DbErrorSet() ? 1 : 0);
}

void DbSeek() {
  ClearDbError();
  int32_t mode = 0;
  ShortString key;
  ReadTextAndMode(key, mode);
  DbTable& t = CurrentTableOrStop();
  IntegerResult(0);
  if (!t.indexes_active || t.indexes[0] == nullptr) {
    t.found = false;
    Finish();
    return;
  }
  NdxFullKeyMode = mode != 0;
  int32_t record = t.indexes[0]->Search(ProgramTextToField(key.View(), OemFieldText()).View());
  t.found = record >= 1;
  if (t.found) {
    MoveTo(t, MoveTarget::Record, record);
    IntegerResult(t.current_record);
  }
  Finish();
}

void MemoRead() {
  ClearDbError();
  ReadArgument(')', kKindAny);
  const ShortString name = StringValue;
  DbTable& t = CurrentTableOrStop();
  IntegerResult(ReadMemoField(t, name.View()));
  Finish();
}

void MemoWrite() {
  ClearDbError();
  ReadArgument(')', kKindAny);
  const ShortString name = StringValue;
  DbTable& t = CurrentTableOrStop();
  int32_t written = WriteMemoField(t, name.View());
  IntegerResult(DbErrorSet() ? 0 : written);
  Finish();
}

constexpr FunctionEntry kTableFunctions[] = {
    {0x47, MemoRead},  {0x48, MemoWrite},      {0xD2, DbOpen},     {0xD3, DbSelect}, {0xD4, DbGo},
    {0xD5, DbClose},   {0xD6, DbField},        {0xD7, DbFieldNumber}, {0xD8, DbIndex}, {0xDB, DbSeek},
    {0xDC, DbLocate},  {0xDD, DbPut},          {0xDE, DbPutNumber}, {0xDF, DbWrite}, {0xE0, DbDelete},
    {0xE1, DbRecall},  {0xE2, DbPack},         {0xE3, DbAppend},
};

}  // namespace

std::span<const FunctionEntry> TableFunctions() { return kTableFunctions; }

void MakeIndexCommand() {
  ClearDbError();
  ReadArgument('>', kKindAny);
  const ShortString expression = StringValue;
  ReadArgument(' ', kKindRawString);
  const ShortString name = StringValue;
  LineHandled = true;
  if (name.View().find_first_of(" ,") != std::string_view::npos) RunError(616, name.View());
  DbTable& t = CurrentTableOrStop();
  CreateIndex(t, expression.View(), name.View());
  WarnDbError();
}

void MakeTableCommand() {
  ClearDbError();
  ReadArgument('>', kKindRawString);
  const ShortString table = StringValue;
  ReadArgument(' ', kKindRawString);
  const ShortString structure = StringValue;
  LineHandled = true;
  CreateTable(table.View(), structure.View());
  WarnDbError();
}

bool ReadTableVariable(uint8_t code) {
  const DbTable* t = TableInSlot(CurrentTable);
  static const DbTable kNone{};
  const DbTable& v = t != nullptr ? *t : kNone;
  switch (code) {
    case 0xA0: LongValue = v.record_count; break;
    case 0xA1: IntValue = v.header_length; break;
    case 0xA2: IntValue = v.record_length; break;
    case 0xA3: LongValue = v.current_record; break;
    case 0xA4: IntValue = v.field_count; break;
    case 0xA5: StringValue = v.update_date; break;
    case 0xA6: StringValue.Assign(t != nullptr ? std::string_view(&v.field_type, 1) : std::string_view()); break;
    case 0xA7: IntValue = v.field_decimals; break;
    case 0xA8: IntValue = v.field_length; break;
    case 0xA9: IntValue = v.field_number; break;
    case 0xAA: StringValue = v.field_name; break;
    case 0xAB: IntValue = v.deleted ? 1 : 0; break;
    case 0xAC: IntValue = v.at_end ? 1 : 0; break;
    case 0xC2: LongValue = v.has_memo ? 1 : 0; break;
    case 0xC3: LongValue = v.header[0] & 3; break;
    default: return false;
  }
  return true;
}

}  // namespace morven
