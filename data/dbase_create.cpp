#include "data/dbase_create.h"

#include "core/text_ops.h"
#include "data/dbase_error.h"
#include "data/dbase_memo.h"
#include "data/dbase_table.h"
#include "data/file_slots.h"
#include "data/io_state.h"
#include "platform/file_io.h"
#include "platform/host_files.h"
#include "platform/locale_dates.h"

namespace morven {
namespace {

// The next part of a line: the text up to the next ";"; empty when none follows.
std::string_view NextPart(std::string_view& rest) {
  size_t semicolon = rest.find(';');
  if (semicolon == std::string_view::npos) return {};
  std::string_view part = rest.substr(0, semicolon);
  rest.remove_prefix(semicolon + 1);
  return part;
}

// [sign] digits, after trimming; false for anything else.
bool IntegerValue(std::string_view text, int64_t& value) {
  text = TrimBlanks(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty() || text.size() > 9) return false;
  value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  if (negative) value = -value;
  return true;
}

bool WriteWhole(const std::string& host_path, std::string_view name, const std::string& bytes) {
  platform::File file;
  if (int32_t code = file.Open(host_path, platform::Access::ReadWrite, true, true, FileOpenMode)) {
    SetDbIoError(code, name, "Rewrite");
    return false;
  }
  size_t put = 0;
  int32_t code = file.Write(bytes.data(), bytes.size(), put);
  if (code == 0 && put < bytes.size()) code = kDbShortWrite;
  if (code != 0) {
    SetDbIoError(code, name, "Write");
    return false;
  }
  return file.Close() == 0;
}

}  // namespace

std::vector<std::string> TextLines(std::string_view data) {
  std::vector<std::string> lines;
  size_t end = data.find('\x1A');
  if (end != std::string_view::npos) data = data.substr(0, end);
  while (!data.empty()) {
    size_t cr = data.find('\r');
    lines.emplace_back(data.substr(0, cr));
    if (cr == std::string_view::npos) break;
    data.remove_prefix(cr + 1);
    if (!data.empty() && data.front() == '\n') data.remove_prefix(1);
  }
  return lines;
}

bool ParseStructure(const std::vector<std::string>& lines, std::vector<NewField>& fields) {
  fields.clear();
  int32_t record_length = 1;
  for (const std::string& line : lines) {
    if (TrimBlanks(line).empty()) continue;
    std::string_view rest = line;
    ShortString name(TrimBlanks(NextPart(rest)));
    UpperText(name);
    std::string field_name(name.View().substr(0, 10));
    if (field_name.empty()) {
      SetDbError(kDbMissingName, line);
      return false;
    }
    for (const NewField& f : fields) {
      if (f.name == field_name) {
        SetDbError(kDbDuplicateName, field_name);
        return false;
      }
    }
    ShortString type_text(TrimBlanks(NextPart(rest)));
    UpperText(type_text);
    char type = type_text.Empty() ? 'C' : type_text.bytes[0];
    if (type != 'C' && type != 'D' && type != 'L' && type != 'M' && type != 'N') type = 'C';
    std::string_view length_text = NextPart(rest);
    int64_t length = 0;
    switch (type) {
      case 'D': length = 8; break;
      case 'L': length = 1; break;
      case 'M': length = 10; break;
      default:
        if (!IntegerValue(length_text, length) || length < 1 || length > 255) {
          SetDbError(kDbBadLength, length_text);
          return false;
        }
    }
    int64_t decimals = 0;
    if (type == 'N' && (!IntegerValue(rest, decimals) || decimals < 0 || decimals > length)) {
      SetDbError(kDbBadDecimals, rest);
      return false;
    }
    record_length += static_cast<int32_t>(length);
    // Record and header lengths are 16-bit numbers in the file.
    if (record_length > INT16_MAX) {
      SetDbError(kDbBadLength, length_text);
      return false;
    }
    if (32 * (fields.size() + 1) + 33 > static_cast<size_t>(INT16_MAX)) {
      SetDbError(kDbBadHeader, "Zu viele Felder");
      return false;
    }
    fields.push_back(NewField{field_name, type, static_cast<uint8_t>(length), static_cast<uint8_t>(decimals)});
  }
  return true;
}

bool CreateTable(std::string_view table_name, std::string_view structure_name) {
  std::string data;
  if (platform::ReadFileFrom(platform::HostPath(structure_name), 0, data) != platform::ReadStatus::Ok) {
    SetDbError(kDbStructureMissing, structure_name);
    return false;
  }
  std::vector<NewField> fields;
  if (!ParseStructure(TextLines(data), fields)) return false;

  // The memo file's base name: with an extension, the path and the name up to its first
  // "."; without one, the name as given.
  size_t separator = table_name.find_last_of("\\:");
  size_t name_start = separator == std::string_view::npos ? 0 : separator + 1;
  size_t first_dot = table_name.find('.', name_start);
  std::string file_name = WithExtension(table_name, ".DBF");
  std::string base(first_dot == std::string_view::npos ? table_name : table_name.substr(0, first_dot));

  platform::LocalDateTime now = platform::LocalNow();
  if (!WriteWhole(platform::HostPath(file_name), file_name, NewTableFile(fields, now.year, now.month, now.day)))
    return false;
  bool memo = false;
  for (const NewField& f : fields) memo = memo || f.type == 'M';
  if (memo) {
    std::string memo_name = base + ".DBT";
    std::string bytes(kMemoBlockSize + 1, '\0');
    bytes[0] = 1;
    bytes[kMemoBlockSize] = static_cast<char>(kMemoEnd);
    if (!WriteWhole(platform::HostPath(memo_name), memo_name, bytes)) return false;
  }
  return true;
}

}  // namespace morven
