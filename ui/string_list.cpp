#include "ui/string_list.h"

#include <string>
#include <vector>

#include "core/argument_reader.h"
#include "core/program_state.h"
#include "core/registers.h"
#include "data/file_system.h"
#include "errors/run_error.h"
#include "platform/file_io.h"
#include "platform/host_files.h"

namespace morven {
namespace {

std::vector<ShortString> g_items;

constexpr size_t kMaxSubdirectories = 511;

// The recursive form of the file listing: every matching file of the current
// directory and its subdirectories, as full paths. A full list stops it silently.
void AddFilesBelow(std::string_view pattern) {
  for (const MatchingEntry& e : MatchingEntries(pattern)) {
    if (e.is_directory) continue;
    std::string full = platform::ProgramPath(platform::CurrentDirectory());
    if (full.empty() || full.back() != '\\') full += '\\';
    if (!string_list::Add(full + e.name)) return;
  }
  size_t searched = 0;
  for (const MatchingEntry& e : MatchingEntries("*.*")) {
    if (!e.is_directory || e.name == "." || e.name == "..") continue;
    if (++searched > kMaxSubdirectories) break;
    if (platform::ChangeDirectory(platform::HostPath(e.name)) != 0) continue;
    AddFilesBelow(pattern);
    platform::ChangeDirectory("..");
  }
}

}  // namespace

namespace string_list {

void Clear() { g_items.clear(); }

bool Add(std::string_view text) {
  if (static_cast<int32_t>(g_items.size()) >= kStringListCapacity) return false;
  g_items.emplace_back(text);
  return true;
}

bool Set(int32_t index, std::string_view text) {
  if (index < 0 || index > Last()) return false;
  g_items[static_cast<size_t>(index)].Assign(text);
  return true;
}

const ShortString* Get(int32_t index) {
  if (index < 0 || index > Last()) return nullptr;
  return &g_items[static_cast<size_t>(index)];
}

int32_t Count() { return static_cast<int32_t>(g_items.size()); }

}  // namespace string_list

void ListClearCommand() {
  string_list::Clear();
  LineHandled = true;
}

void ListAddCommand() {
  ReadArgument(' ', kKindAny);
  LineHandled = true;
  if (!string_list::Add(StringValue.View())) RunError(232, "");
}

void ListSetCommand() {
  ReadArgument('=', kKindAny);
  int32_t index = IntValue;
  ReadArgument(' ', kKindAny);
  LineHandled = true;
  if (!string_list::Set(index, StringValue.View())) RunError(233, "");
}

void ListFilesCommand() {
  LineHandled = true;
  bool recursive = !RestOfLine.empty() && RestOfLine.front() == '*';
  if (recursive) RestOfLine.remove_prefix(1);
  ReadArgument(' ', kKindAny);
  const ShortString pattern = StringValue;
  if (recursive) {
    std::string start = platform::CurrentDirectory();
    AddFilesBelow(pattern.View());
    platform::ChangeDirectory(start);
    return;
  }
  for (const MatchingEntry& e : MatchingEntries(pattern.View())) {
    std::string item = e.is_directory ? "[" + e.name + "]" : e.name;
    if (!string_list::Add(item)) RunError(232, "");
  }
}

}  // namespace morven
