#include "data/file_system.h"

#include <cstdint>

#include "core/argument_reader.h"
#include "core/program_state.h"
#include "core/registers.h"
#include "core/text_ops.h"
#include "data/file_slots.h"
#include "data/io_state.h"
#include "errors/run_error.h"
#include "functions/function_table.h"
#include "platform/codepage.h"
#include "platform/file_io.h"
#include "platform/host_files.h"

namespace morven {
namespace {

constexpr int32_t kNoMoreFiles = 18;

// The one directory listing of the runtime.
std::vector<MatchingEntry> g_listing;
size_t g_listing_next = 0;

// A directory path argument: a trailing "\" goes, except on a drive root like "A:\".
std::string ReadDirectoryPath() {
  ReadArgument(' ', kKindRawString);
  std::string path = StringValue.Str();
  if (path.size() > 3 && path.back() == '\\') path.pop_back();
  return path;
}

char Fold(char c) { return UpperChar(c); }

// Splits a program path into its directory part (with separator) and last component.
void SplitPattern(std::string_view pattern, std::string_view& directory, std::string_view& name) {
  size_t cut = pattern.find_last_of("\\/");
  if (cut == std::string_view::npos && pattern.size() >= 2 && pattern[1] == ':') cut = 1;
  directory = cut == std::string_view::npos ? std::string_view() : pattern.substr(0, cut + 1);
  name = cut == std::string_view::npos ? pattern : pattern.substr(cut + 1);
}

// "A" is drive 1 ... the character "@" (0) is the current drive; false for none.
bool DriveOf(std::string_view argument, char& letter) {
  if (argument.empty()) return false;
  int number = static_cast<uint8_t>(UpperChar(argument[0])) - 64;
  if (number == 0) {
    letter = platform::CurrentDrive();
    return true;
  }
  if (number < 1 || number > 26) return false;
  letter = static_cast<char>('A' + number - 1);
  return true;
}

// Joins a relative program path to the current directory and removes "." and "..".
std::string Normalized(const std::string& host_path) {
  std::string absolute = !host_path.empty() && host_path[0] == '/' ? host_path
                                                                    : platform::CurrentDirectory() + "/" + host_path;
  std::vector<std::string> parts;
  size_t pos = 0;
  while (pos <= absolute.size()) {
    size_t slash = absolute.find('/', pos);
    if (slash == std::string::npos) slash = absolute.size();
    std::string part = absolute.substr(pos, slash - pos);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    pos = slash + 1;
  }
  std::string result;
  for (const std::string& part : parts) result += "/" + part;
  return result.empty() ? "/" : result;
}

// A path relative to the drive root: "\DIR" on the current drive.
std::string ResolvedHostPath(std::string_view program_path) {
  if (!program_path.empty() && (program_path[0] == '\\' || program_path[0] == '/') &&
      !(program_path.size() > 1 && (program_path[1] == '\\' || program_path[1] == '/'))) {
    return Normalized(platform::DriveRoot(platform::CurrentDrive()) + "/" +
                      platform::HostPath(program_path.substr(1)));
  }
  return Normalized(platform::HostPath(program_path));
}


void FullPath() {
  ReadArgument(')', kKindAny);
  std::string_view path = StringValue.View();
  StringResult(path.empty() ? std::string() : platform::ProgramPath(ResolvedHostPath(path)));
}

// The host has no 8.3 names: the short form of an existing path is its full form.
void ShortPath() {
  ReadArgument(')', kKindAny);
  std::string_view path = StringValue.View();
  platform::FileInfo info;
  std::string host = path.empty() ? std::string() : ResolvedHostPath(path);
  StringResult(!host.empty() && platform::GetFileInfo(host, info) ? platform::ProgramPath(host) : std::string());
}

void DriveSpace(bool free_space) {
  ReadArgument(')', kKindAny);
  char letter;
  uint64_t total = 0, free = 0;
  if (!DriveOf(StringValue.View(), letter) || !platform::DiskSpace(platform::DriveRoot(letter), total, free)) {
    IntegerResult(-1, kTypeLong);
    return;
  }
  // 32-bit signed arithmetic: sizes of 2^31 bytes and more wrap around.
  IntegerResult(static_cast<int32_t>(static_cast<uint32_t>(free_space ? free : total)), kTypeLong);
}

void DriveSize() { DriveSpace(false); }
void DriveFree() { DriveSpace(true); }

void DriveDirectory() {
  ReadArgument(')', kKindAny);
  char letter;
  if (!DriveOf(StringValue.View(), letter)) {
    StringResult("");
    return;
  }
  std::string current = platform::ProgramPath(platform::CurrentDirectory());
  bool on_drive = current.size() >= 2 && UpperChar(current[0]) == letter && current[1] == ':';
  StringResult(on_drive ? current : std::string(1, letter) + ":\\");
}

void ListingResult() {
  if (g_listing_next >= g_listing.size()) {
    PendingListingError = kNoMoreFiles;
    StringResult("");
    return;
  }
  const MatchingEntry& e = g_listing[g_listing_next++];
  PendingListingError = 0;
  StringResult(e.is_directory ? "[" + e.name + "]" : e.name);
}

void FirstFile() {
  ReadArgument(')', kKindAny);
  g_listing = MatchingEntries(StringValue.View());
  g_listing_next = 0;
  ListingResult();
}

void NextFile() { ListingResult(); }

void FileSizeByName() {
  ReadArgument(')', kKindRawString);
  const ShortString name = StringValue;
  platform::File file;
  int32_t code = file.Open(platform::HostPath(name.View()), OpenModeAccess(), false, false, FileOpenMode);
  int64_t size = -1;
  if (code == 0) code = file.Size(size);
  if (code != 0) {
    PendingIoError = code;
    RunWarning(209, name.View());
    IntegerResult(-1, kTypeLong);
    return;
  }
  IntegerResult(static_cast<int32_t>(size), kTypeLong);
}

constexpr FunctionEntry kFileSystemFunctions[] = {
    {0x49, FullPath},       {0x4A, ShortPath}, {0xC0, DriveSize}, {0xC1, DriveFree},
    {0xC2, DriveDirectory}, {0xC3, FirstFile}, {0xC4, NextFile},  {0xC5, FileSizeByName},
};

}  // namespace

std::span<const FunctionEntry> FileSystemFunctions() { return kFileSystemFunctions; }

bool WildcardMatch(std::string_view pattern, std::string_view name) {
  if (pattern == "*.*") return true;
  // Iterative match with backtracking to the last "*".
  size_t p = 0, n = 0, star = std::string_view::npos, mark = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || Fold(pattern[p]) == Fold(name[n]))) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      mark = n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++mark;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

std::vector<MatchingEntry> MatchingEntries(std::string_view pattern) {
  std::string_view directory, name;
  SplitPattern(pattern, directory, name);
  std::string host_directory = directory.empty() ? std::string(".") : platform::HostPath(directory);
  std::vector<platform::DirectoryEntry> entries;
  std::vector<MatchingEntry> matches;
  if (!platform::ReadDirectory(host_directory, entries)) return matches;
  for (const platform::DirectoryEntry& e : entries) {
    std::string ansi;
    platform::Utf8ToCp1252(e.name, ansi);
    if (WildcardMatch(name, ansi)) matches.push_back({ansi, e.is_directory});
  }
  return matches;
}

void EndListing() {
  g_listing.clear();
  g_listing_next = 0;
}

void ChangeDirectoryCommand() {
  std::string path = ReadDirectoryPath();
  LineHandled = true;
  int32_t code = platform::ChangeDirectory(platform::HostPath(path));
  if (code != 0) PendingIoError = code;
}

void MakeDirectoryCommand() {
  std::string path = ReadDirectoryPath();
  LineHandled = true;
  int32_t code = platform::MakeDirectory(platform::HostPath(path));
  if (code != 0) PendingIoError = code;
}

void RemoveDirectoryCommand() {
  std::string path = ReadDirectoryPath();
  LineHandled = true;
  int32_t code = platform::RemoveDirectory(platform::HostPath(path));
  if (code != 0) PendingIoError = code;
}

}  // namespace morven
