// Functions that read through a file slot: the binary channel's bytes, position and
// size, the attributes and date of the slot's file, and the text end-of-file test.
#include <cstdio>

#include "core/area_variables.h"
#include "core/argument_reader.h"
#include "core/number_text.h"
#include "core/program_state.h"
#include "core/registers.h"
#include "core/text_ops.h"
#include "data/file_slots.h"
#include "data/file_system.h"
#include "data/io_state.h"
#include "errors/run_error.h"
#include "functions/function_table.h"
#include "platform/host_files.h"

namespace morven {

bool TextChannelAtEnd(int n);

namespace {

// A file number as the last argument: "#" (with the blanks after it) is optional.
int ReadLastHandle() {
  if (!RestOfLine.empty() && RestOfLine.front() == '#') RestOfLine = TrimBlanks(RestOfLine.substr(1));
  ReadArgument(')', kKindAny);
  if (IntValue < 1 || IntValue > kFileSlots) RunError(210, "");
  return IntValue;
}


void ReadByte() {
  platform::File& file = Slot(ReadLastHandle()).binary.file;
  uint8_t byte = 0;
  size_t got = 0;
  int32_t code = file.IsOpen() ? file.Read(&byte, 1, got) : kIoChannelNotOpen;
  if (code != 0) PendingIoError = code;
  else if (got < 1) PendingIoError = kIoShortRead;  // at the end: 0 and the code
  IntegerResult(got == 1 ? byte : 0, kTypeInteger);
}

// A number the binary channel's file reports (its position or its size); 0 and the
// code when it cannot.
void BinaryChannelNumber(int32_t (platform::File::*query)(int64_t&) const) {
  platform::File& file = Slot(ReadLastHandle()).binary.file;
  int64_t value = 0;
  int32_t code = file.IsOpen() ? (file.*query)(value) : kIoChannelNotOpen;
  if (code != 0) PendingIoError = code;
  IntegerResult(code == 0 ? static_cast<int32_t>(value) : 0, kTypeInteger);
}

void BinaryPosition() { BinaryChannelNumber(&platform::File::Position); }
void BinarySize() { BinaryChannelNumber(&platform::File::Size); }

// 0x43: file number, area name, offset, count; the number of bytes read.
void ReadBlock() {
  if (!RestOfLine.empty() && RestOfLine.front() == '#') RestOfLine = TrimBlanks(RestOfLine.substr(1));
  ReadArgument(',', kKindAny);
  if (IntValue < 1 || IntValue > kFileSlots) RunError(210, "");
  platform::File& file = Slot(IntValue).binary.file;
  AreaVariable& area = AreaArgument();
  ReadArgument(',', kKindAny);
  int64_t offset = LongValue;
  ReadArgument(')', kKindAny);
  int64_t count = LongValue;
  if (offset < 0 || count < 0 || offset + count > area.size) RunError(207, "");
  size_t got = 0;
  int32_t code = file.IsOpen() ? file.Read(area.block + offset, static_cast<size_t>(count), got) : kIoChannelNotOpen;
  if (code != 0) PendingIoError = code;
  IntegerResult(static_cast<int32_t>(got), kTypeInteger);
}

void FileAttributes() {
  FileSlot& slot = Slot(ReadLastHandle());
  platform::FileInfo info;
  bool found = platform::GetFileInfo(platform::HostPath(slot.name.View()), info);
  IntegerResult(found ? info.attributes : 65535, kTypeInteger);
}

// 0x57: yyyymmdd right-aligned in 8; without a file the text the argument left.
void FileDate() {
  FileSlot& slot = Slot(ReadLastHandle());
  EndListing();  // the date is found with the listing's search
  platform::FileInfo info;
  if (platform::GetFileInfo(platform::HostPath(slot.name.View()), info)) {
    StringValue = FormatInteger(info.year * 10000 + info.month * 100 + info.day, 8);
  }
  ValueType = kTypeString;
}

void EndOfFile() {
  int n = ReadLastHandle();
  IntegerResult(TextChannelAtEnd(n) ? 1 : 0, kTypeInteger);
}

constexpr FunctionEntry kFileFunctions[] = {
    {0x5D, ReadByte},       {0x5E, BinaryPosition}, {0x5F, BinarySize}, {0x43, ReadBlock},
    {0x56, FileAttributes}, {0x57, FileDate},       {0xC6, EndOfFile},
};

}  // namespace

std::span<const FunctionEntry> FileFunctions() { return kFileFunctions; }

}  // namespace morven
