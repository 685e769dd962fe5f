#pragma once
// The fifteen file slots. Each has a name and two independent files bound to it: a
// text channel for lines (PRINT #n, INPUT #n) and a binary channel for bytes.
#include <cstdint>
#include <string>

#include "core/short_string.h"
#include "platform/file_io.h"

namespace morven {

struct TextChannel {
  enum class State { Closed, Reading, Writing };
  std::string name;  // Windows-1252, as the program gave it
  State state = State::Closed;
  platform::File file;
  std::string buffer;  // read ahead while reading
  size_t position = 0;

  // The next byte without taking it; -1 at the physical end.
  int Peek();
  void Take() { ++position; }
};

struct BinaryChannel {
  std::string name;
  platform::File file;
};

struct FileSlot {
  ShortString name;
  TextChannel text;
  BinaryChannel binary;
};

constexpr int kFileSlots = 15;

// Slot n (1..15).
FileSlot& Slot(int n);

// Reads a file handle argument ("#n"; with `hash_optional` also plain n) from
// RestOfLine: message 104 when the "#" is missing, 210 outside 1..15.
int ReadHandle(bool hash_optional);

// The open mode's access for an existing file.
platform::Access OpenModeAccess();

// Commands.
void AssignCommand();          // 0xE5
void ResetCommand();           // 0xEA
void RewriteCommand();         // 0xEB
void AppendCommand();          // 0xE7
void CloseTextCommand();       // 0xE8
void OpenBinaryCommand();      // 0x70
void CloseBinaryCommand();     // 0x71
void SeekBinaryCommand();      // 0x73
void WriteByteCommand();       // 0x72
void WriteAreaBlockCommand();  // 0x54
void RenameCommand();          // 0xE6
void EraseCommand();           // 0xE9
void SetAttributesCommand();   // 0x66
void SetFileOpenModeCommand(); // 0x75
void CopyFileCommand();        // 0xD4

}  // namespace morven
