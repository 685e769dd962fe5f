#pragma once
// The .DBF file: what the engine reads from a table's header and descriptors, and the
// checks that keep a damaged file from being taken for a table.
//
//   offset  size  meaning (integers little-endian)
//   0       1     version: 0x03 without memo fields, 0x83 with memo fields
//   1       3     date of the last update: year - 1900, month, day
//   4       4     record count
//   8       2     header length: 32 * field count + 33
//   10      2     record length: 1 + the sum of the field lengths
//   12      20    zero
//   32      32*n  field descriptors
//   32+32n  1     0x0D, the end of the descriptors
//   header length: the records, record length bytes each; then one 0x1A
//
// Field descriptor: bytes 0..10 the name (upper case, zero padded), 11 the type letter
// (C, D, L, M, N; others are carried without meaning), 12..15 zero in the file, 16 the
// length, 17 the decimal count, 18..31 zero. A record is the deletion flag (blank, or
// "*" when marked deleted) and the fields' bytes in descriptor order.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/short_string.h"

namespace morven {

constexpr uint8_t kVersionPlain = 0x03;
constexpr uint8_t kVersionMemo = 0x83;
constexpr uint8_t kDescriptorEnd = 0x0D;
constexpr uint8_t kFileEnd = 0x1A;

struct FieldDescriptor {
  ShortString name;  // up to the first zero byte, trailing blanks removed
  char type = 'C';
  uint8_t length = 0;
  uint8_t decimals = 0;
  int32_t offset = 0;  // inside the record: 1 for the first field
};

struct TableHeader {
  uint8_t bytes[32] = {};
  uint8_t version = 0;
  int32_t record_count = 0;
  int16_t header_length = 0;
  int16_t record_length = 0;
  int16_t field_count = 0;
};

// 0 when the file may be used, else an internal code and what is wrong with it.
struct FormatCheck {
  int32_t code = 0;
  std::string reason;
};

// The first 32 bytes (got of them were read) of a file of file_size bytes.
FormatCheck ParseTableHeader(const uint8_t* bytes, size_t got, int64_t file_size, TableHeader& header);

// The header_length - 32 bytes after the first 32 (got of them were read): the
// descriptors and their end marker. Fills fields with names and offsets.
FormatCheck ParseDescriptors(const TableHeader& header, const uint8_t* area, size_t got,
                             std::vector<FieldDescriptor>& fields);

// "DD.MM.YY" from the header's date bytes.
ShortString UpdateDateText(const uint8_t* header);

// A new, empty table file: header, descriptors, 0x0D and 0x1A.
struct NewField {
  std::string name;  // upper case, up to 10 characters
  char type;
  uint8_t length;
  uint8_t decimals;
};
std::string NewTableFile(const std::vector<NewField>& fields, int year, int month, int day);

}  // namespace morven
