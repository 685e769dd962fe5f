#pragma once
// Files, directories and drives for the runtime's file commands. Every failure is
// returned as a code in the numbering programs expect: 0 success, and Windows'
// error numbers for the common failures (2 file not found, 3 path not found,
// 5 access denied, 32 sharing violation, ...); docs/host.md lists the mapping.
// Paths here are host paths (UTF-8); HostPath() makes them from program names.
#include <cstdint>
#include <string>
#include <vector>

namespace morven::platform {

// The program's code for a host errno value.
int32_t ErrorCode(int host_errno);

enum class Access { Read, Write, ReadWrite };

// An open file. Moving transfers ownership; the destructor closes.
class File {
 public:
  File() = default;
  File(File&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  File& operator=(File&& other) noexcept;
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  ~File() { Close(); }

  // Opens an existing file (or creates it when `create`; `truncate` empties it).
  // sharing: the sharing bits of the file open mode; 0x10 (exclusive) holds an
  // exclusive advisory lock, every other open a shared one (docs/host.md).
  int32_t Open(const std::string& path, Access access, bool create, bool truncate, uint8_t sharing = 0);
  int32_t Read(void* buffer, size_t count, size_t& got);
  int32_t Write(const void* buffer, size_t count, size_t& put);
  int32_t Seek(int64_t position);
  int32_t Position(int64_t& position) const;
  int32_t Size(int64_t& size) const;
  int32_t Truncate(int64_t size);
  int32_t Close();
  bool IsOpen() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

// Windows' attribute bits, as far as the host has them.
enum : uint16_t { kAttrReadOnly = 1, kAttrHidden = 2, kAttrSystem = 4, kAttrDirectory = 16, kAttrArchive = 32 };

struct FileInfo {
  uint16_t attributes = 0;
  int64_t size = 0;
  int year = 0, month = 0, day = 0;  // last write, local time
};

bool GetFileInfo(const std::string& path, FileInfo& info);
int32_t RenameFile(const std::string& from, const std::string& to);
int32_t DeleteFile(const std::string& path);
// Only the read-only bit has a host meaning: it removes or restores write permission.
int32_t SetFileAttributes(const std::string& path, uint16_t attributes);

int32_t ChangeDirectory(const std::string& path);
int32_t MakeDirectory(const std::string& path);
int32_t RemoveDirectory(const std::string& path);
std::string CurrentDirectory();

// Total and free bytes of the file system holding path; false when it cannot be queried.
bool DiskSpace(const std::string& path, uint64_t& total, uint64_t& free);

// The entries of a directory in the order the file system gives them, "." and ".."
// included.
struct DirectoryEntry {
  std::string name;  // UTF-8
  bool is_directory = false;
};
bool ReadDirectory(const std::string& path, std::vector<DirectoryEntry>& entries);

}  // namespace morven::platform
