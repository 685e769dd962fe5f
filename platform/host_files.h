#pragma once
// Program file names on the host. Programs were written for a case-insensitive file
// system with backslashes, in Windows-1252; the host has "/", case-sensitive names
// and UTF-8. These functions translate at that boundary.
#include <cstdint>
#include <string>
#include <string_view>

namespace morven::platform {

// The host path (UTF-8) for a program's file name (Windows-1252): a drive letter
// ("C:") becomes its directory (DriveRoot), "\" becomes "/", and every existing path
// component is looked up case-insensitively when the exact name does not exist.
// Components that do not exist are kept as written.
std::string HostPath(std::string_view program_name);

// The directory a drive letter stands for: MORVEN_DRIVE_<letter> when set (relative
// values from the start directory), otherwise the directory morvrun started in.
std::string DriveRoot(char letter);

// The program's form (Windows-1252) of a host path: "X:\..." when it lies under a
// drive's directory (C first), otherwise the host path with backslashes.
std::string ProgramPath(const std::string& host_path);

// The drive letter of the current directory ('C' when no drive holds it).
char CurrentDrive();

enum class ReadStatus { Ok, CannotOpen };

// Reads a file from offset to its end (nothing when offset is at or past the end).
ReadStatus ReadFileFrom(const std::string& host_path, uint64_t offset, std::string& data);

// Reads at most count bytes from the start of a file.
ReadStatus ReadFilePrefix(const std::string& host_path, size_t count, std::string& data);

// The path of the running executable.
std::string OwnExecutablePath();

}  // namespace morven::platform
