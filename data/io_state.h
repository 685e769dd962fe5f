#pragma once
// The state all file operations share: the mode files are opened in, and the code
// of the last failure, which the program reads (and clears) through a system variable.
#include <cstdint>

namespace morven {

// Low two bits: access for existing files (0 read, 1 write, 2 and 3 read and write);
// bits 4 to 6: the sharing granted to other processes.
extern uint8_t FileOpenMode;

// 0, the code of the last failing file operation, or the runtime's own codes 100 to 105.
extern int32_t PendingIoError;

// Set by the directory listing functions: 0 after an entry was found, 18 after none.
extern int32_t PendingListingError;

enum : int32_t {
  kIoShortRead = 100,
  kIoShortWrite = 101,
  kIoRenameOpenChannel = 102,
  kIoChannelNotOpen = 103,
  kIoNotOpenForReading = 104,
  kIoNotOpenForWriting = 105,
};

}  // namespace morven
