#pragma once
// The dBase engine's error state. Engine operations never stop the program: they
// record a failure here as an internal code with a text, and the table function that
// ran them reports it as a warning when it ends.
#include <cstdint>
#include <string_view>

#include "core/short_string.h"

namespace morven {

struct DbErrorState {
  int32_t number = 0;  // message number; 0 when no failure is recorded
  int32_t code = 0;    // the internal code it came from
  ShortString detail;  // the text appended to the message
};

extern DbErrorState DbError;

// Internal codes with a meaning of their own (the rest are operating-system codes).
enum : int32_t {
  kDbShortRead = 100,       // fewer bytes than asked for; also a record outside the table
  kDbShortWrite = 101,
  kDbNotDbase = 157,        // version byte neither 0x03 nor 0x83
  kDbBadHeader = 158,       // header, descriptors or record count contradict the file
  kDbBadKey = 501,          // a numeric key text that is not a number
  kDbBadExpression = 601,
  kDbReadFieldName = 602,
  kDbReadFieldNumber = 603,
  kDbWriteFieldName = 604,
  kDbWriteFieldNumber = 605,
  kDbNotNumeric = 620,      // a memo field without a number while packing
  kDbBadMemoBlock = 622,    // a memo block number outside the memo file
  kDbMemoTooLong = 623,     // the memo has more lines than the StringList holds
  kDbStructureMissing = 800,
  kDbDuplicateName = 801,
  kDbBadLength = 802,
  kDbBadDecimals = 803,
  kDbMissingName = 804,
  kDbBadIndex = 901,        // an index file whose structure is not sound
};

// The message number an internal code is shown with.
int32_t DbMessageNumber(int32_t code);

// The detail text: ": " and the text (or "!" for an empty one); for message 600 the
// code in decimal and a blank come first.
ShortString DbDetail(int32_t code, std::string_view text);

void ClearDbError();
// A logical failure: always replaces what is recorded (code 0 clears).
void SetDbError(int32_t code, std::string_view text);
// An operating-system failure of a file: recorded only while nothing is, so the first
// one of an operation wins. operation is "Read", "Reset", "Rewrite", "Seek" or "Write".
void SetDbIoError(int32_t code, std::string_view file_name, std::string_view operation);
inline bool DbErrorSet() { return DbError.number != 0; }

// Shows the recorded failure with RunWarning, if there is one.
void WarnDbError();

}  // namespace morven
