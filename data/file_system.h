#pragma once
// Directories and drives by name, and the directory listing shared by the listing
// functions, the file-date function and the StringList's file names.
#include <string>
#include <string_view>
#include <vector>

namespace morven {

struct MatchingEntry {
  std::string name;  // Windows-1252, without path
  bool is_directory = false;
};

// The entries of the pattern's directory whose names match its last component
// ("*" and "?", letter case ignored; "*.*" matches every name), "." and ".." included,
// in the order the file system gives them.
std::vector<MatchingEntry> MatchingEntries(std::string_view pattern);

// Windows' wildcard match of a file name (both Windows-1252).
bool WildcardMatch(std::string_view pattern, std::string_view name);

// Ends the current directory listing (the file-date function searches too).
void EndListing();

void ChangeDirectoryCommand();  // 0xDF
void MakeDirectoryCommand();    // 0xE0
void RemoveDirectoryCommand();  // 0xE1

}  // namespace morven
