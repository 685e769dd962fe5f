#include "core/area_variables.h"

#include <cstring>
#include <string>
#include <vector>

#include "core/argument_reader.h"
#include "core/number_text.h"
#include "core/program_state.h"
#include "core/registers.h"
#include "core/text_ops.h"
#include "data/text_lines.h"
#include "errors/run_error.h"
#include "platform/host_files.h"
#include "platform/low_memory.h"

namespace morven {
namespace {

constexpr int32_t kMaxAreaVariables = 499;

std::vector<AreaVariable> g_areas;  // in order of declaration

ShortString UpperTrimmed(std::string_view text) {
  ShortString s(TrimBlanks(text));
  UpperText(s);
  return s;
}

// The area commands' name: the text before the first "," (a plain search), trimmed and
// upper case; RestOfLine becomes the trimmed rest.
ShortString TakeAreaName() {
  size_t comma = RestOfLine.find(',');
  ShortString name = UpperTrimmed(RestOfLine.substr(0, comma));
  RestOfLine = comma == std::string_view::npos ? std::string_view() : TrimBlanks(RestOfLine.substr(comma + 1));
  return name;
}

AreaVariable& DeclaredArea(const ShortString& name) {
  if (name.Empty() || name.View().back() != '#') RunError(121, "");
  AreaVariable* area = FindAreaVariable(name.View());
  if (area == nullptr) RunError(215, name.View());
  return *area;
}

AreaVariable& AreaWithBlock(const ShortString& name) {
  AreaVariable& area = DeclaredArea(name);
  if (area.block == nullptr) RunError(243, "");
  return area;
}

void FreeBlock(AreaVariable& area) {
  platform::FreeLowMemory(area.block, static_cast<size_t>(area.size) + 1);
  area.block = nullptr;
  area.size = 0;
}

enum class StoreKind { Byte, Word, Long, TextWithZero, Text };

// The one handler behind the five store commands: name "," offset "=" value.
void StoreInArea(StoreKind kind) {
  const ShortString name = TakeAreaName();
  ReadArgument('=', kKindAny);
  int32_t offset = LongValue;
  ReadArgument(' ', kKindAny);
  AreaVariable& area = AreaWithBlock(name);
  static constexpr int32_t kWidth[] = {1, 2, 4, 0, 0};
  int32_t width = kWidth[static_cast<int>(kind)];
  // A value that would reach past the spare byte is refused like an offset past the end.
  if (offset < 0 || offset > area.size || static_cast<int64_t>(offset) + width > static_cast<int64_t>(area.size) + 1)
    RunError(207, "");
  uint8_t* at = area.block + offset;
  switch (kind) {
    case StoreKind::Byte: at[0] = static_cast<uint8_t>(IntValue); break;
    case StoreKind::Word:
      at[0] = static_cast<uint8_t>(LongValue);
      at[1] = static_cast<uint8_t>(LongValue >> 8);
      break;
    case StoreKind::Long:
      for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(static_cast<uint32_t>(LongValue) >> (8 * i));
      break;
    case StoreKind::TextWithZero:
    case StoreKind::Text: {
      int32_t written = 0;
      while (written < StringValue.length && offset + written < area.size) {
        at[written] = static_cast<uint8_t>(StringValue.bytes[written]);
        ++written;
      }
      if (kind == StoreKind::TextWithZero) at[written] = 0;  // at most the spare byte
      break;
    }
  }
  LineHandled = true;
}

}  // namespace

void DeclareAreaVariable(std::string_view name) {
  if (static_cast<int32_t>(g_areas.size()) >= kMaxAreaVariables) RunError(239, "");
  AreaVariable area;
  area.name_length = static_cast<uint8_t>(name.size() < sizeof area.name ? name.size() : sizeof area.name);
  std::memcpy(area.name, name.data(), area.name_length);
  g_areas.push_back(area);
}

AreaVariable* FindAreaVariable(std::string_view name) {
  for (auto it = g_areas.rbegin(); it != g_areas.rend(); ++it)
    if (std::string_view(it->name, it->name_length) == name) return &*it;
  return nullptr;
}

AreaVariable& AreaArgument() { return DeclaredArea(TakeAreaName()); }

int32_t AreaAddress(const AreaVariable& area) {
  return static_cast<int32_t>(reinterpret_cast<uintptr_t>(area.block));
}

bool ReadAreaVariable(std::string_view name) {
  const ShortString copy(name);
  AreaVariable* area = FindAreaVariable(copy.View());
  if (area == nullptr) return false;
  LoadInteger(AreaAddress(*area), kTypeLong);
  if (area->block == nullptr) RunError(243, "");
  return true;
}

void DimensionAreaCommand() {
  const ShortString name = TakeAreaName();
  ReadArgument(' ', kKindAny);
  int32_t size = LongValue;
  AreaVariable& area = DeclaredArea(name);
  if (area.block != nullptr) RunError(241, "");
  void* block = size >= 0 && size < INT32_MAX ? platform::AllocateLowMemory(static_cast<size_t>(size) + 1) : nullptr;
  if (block == nullptr) {
    area.size = 0;
    RunError(240, "");
  }
  area.block = static_cast<uint8_t*>(block);
  area.size = size;
  LineHandled = true;
}

void ReleaseAreaCommand() {
  AreaVariable& area = DeclaredArea(UpperTrimmed(RestOfLine));
  FreeBlock(area);
  LineHandled = true;
}

void StoreAreaByteCommand() { StoreInArea(StoreKind::Byte); }
void StoreAreaWordCommand() { StoreInArea(StoreKind::Word); }
void StoreAreaLongCommand() { StoreInArea(StoreKind::Long); }
void StoreAreaTextZeroCommand() { StoreInArea(StoreKind::TextWithZero); }
void StoreAreaTextCommand() { StoreInArea(StoreKind::Text); }

void LoadAreaTextFileCommand() {
  const ShortString name = TakeAreaName();
  ReadArgument(' ', kKindRawString);
  const ShortString file_name = StringValue;
  AreaVariable& area = DeclaredArea(name);
  std::string data;
  if (platform::ReadFileFrom(platform::HostPath(file_name.View()), 0, data) != platform::ReadStatus::Ok)
    RunError(300, file_name.View());
  if (area.block == nullptr) RunError(243, "");
  int32_t limit = area.size - 3;
  int32_t length = 0;
  area.block[0] = 0;
  TextLineReader lines(data);
  ShortString line;
  while (lines.Next(line)) {
    if (length + line.length >= limit) {
      RunWarning(244, "");
      break;
    }
    std::memcpy(area.block + length, line.bytes, line.length);
    length += line.length;
    area.block[length++] = '\r';
    area.block[length++] = '\n';
    area.block[length] = 0;
  }
  LineHandled = true;
}

}  // namespace morven
