#include "data/dbase_format.h"

#include <cstdio>

#include "data/dbase_error.h"

namespace morven {
namespace {

uint32_t Get32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24); }
int16_t Get16(const uint8_t* p) { return static_cast<int16_t>(p[0] | (p[1] << 8)); }

FormatCheck Bad(int32_t code, const char* reason) { return FormatCheck{code, reason}; }

constexpr int32_t kNotDbase = kDbNotDbase;
constexpr int32_t kBadHeader = kDbBadHeader;

}  // namespace

FormatCheck ParseTableHeader(const uint8_t* b, size_t got, int64_t file_size, TableHeader& h) {
  if (got >= 1 && b[0] != kVersionPlain && b[0] != kVersionMemo) return Bad(kNotDbase, "Keine dBase III-Datei");
  if (got < 32) return Bad(kBadHeader, "Tabellenkopf unvollst\xE4ndig");
  for (int i = 0; i < 32; ++i) h.bytes[i] = b[i];
  h.version = b[0];
  h.record_count = static_cast<int32_t>(Get32(b + 4));
  h.header_length = Get16(b + 8);
  h.record_length = Get16(b + 10);
  h.field_count = static_cast<int16_t>(h.header_length >= 33 ? (h.header_length - 33) / 32 : 0);
  if (h.header_length < 33 || h.record_length < 1) return Bad(kBadHeader, "Tabellenkopf fehlerhaft");
  if (file_size < h.header_length) return Bad(kBadHeader, "Tabellenkopf unvollst\xE4ndig");
  if (h.record_count < 0 ||
      h.header_length + static_cast<int64_t>(h.record_count) * h.record_length > file_size)
    return Bad(kBadHeader, "Datens\xE4tze fehlen");
  return {};
}

FormatCheck ParseDescriptors(const TableHeader& h, const uint8_t* area, size_t got,
                             std::vector<FieldDescriptor>& fields) {
  const size_t n = static_cast<size_t>(h.field_count);
  if (got < 32 * n + 1) return Bad(kBadHeader, "Tabellenkopf unvollst\xE4ndig");
  // The end marker must stand right after the last descriptor the header length
  // implies, and no earlier descriptor may begin with it.
  for (size_t i = 0; i < n; ++i)
    if (area[32 * i] == kDescriptorEnd) return Bad(kBadHeader, "Feldzahl passt nicht zur Kopfl\xE4nge");
  if (area[32 * n] != kDescriptorEnd) return Bad(kBadHeader, "Feldzahl passt nicht zur Kopfl\xE4nge");
  fields.assign(n, FieldDescriptor{});
  int32_t offset = 1;
  for (size_t i = 0; i < n; ++i) {
    const uint8_t* d = area + 32 * i;
    FieldDescriptor& f = fields[i];
    size_t len = 0;
    while (len < 11 && d[len] != 0) ++len;
    while (len > 0 && d[len - 1] == ' ') --len;
    f.name.Assign(std::string_view(reinterpret_cast<const char*>(d), len));
    f.type = static_cast<char>(d[11]);
    f.length = d[16];
    f.decimals = d[17];
    f.offset = offset;
    offset += f.length;
  }
  if (offset > h.record_length) return Bad(kBadHeader, "Satzl\xE4nge passt nicht zu den Feldern");
  return {};
}

ShortString UpdateDateText(const uint8_t* header) {
  char text[16];
  std::snprintf(text, sizeof text, "%02u.%02u.%02u", header[3] % 100u, header[2] % 100u, header[1] % 100u);
  return ShortString(text);
}

std::string NewTableFile(const std::vector<NewField>& fields, int year, int month, int day) {
  bool memo = false;
  int32_t record_length = 1;
  for (const NewField& f : fields) {
    memo = memo || f.type == 'M';
    record_length += f.length;
  }
  const int32_t header_length = 32 * static_cast<int32_t>(fields.size()) + 33;
  std::string file(32, '\0');
  file[0] = static_cast<char>(memo ? kVersionMemo : kVersionPlain);
  file[1] = static_cast<char>(year - 1900);
  file[2] = static_cast<char>(month);
  file[3] = static_cast<char>(day);
  file[8] = static_cast<char>(header_length & 0xFF);
  file[9] = static_cast<char>(header_length >> 8);
  file[10] = static_cast<char>(record_length & 0xFF);
  file[11] = static_cast<char>(record_length >> 8);
  for (const NewField& f : fields) {
    std::string d(32, '\0');
    d.replace(0, f.name.size() < 11 ? f.name.size() : 11, f.name.substr(0, 11));
    d[11] = f.type;
    d[16] = static_cast<char>(f.length);
    d[17] = static_cast<char>(f.decimals);
    file += d;
  }
  file += static_cast<char>(kDescriptorEnd);
  file += static_cast<char>(kFileEnd);
  return file;
}

}  // namespace morven
