#include "platform/file_io.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

namespace morven::platform {

int32_t ErrorCode(int e) {
  switch (e) {
    case 0: return 0;
    case ENOENT: return 2;
    case ENOTDIR: return 3;
    case EMFILE:
    case ENFILE: return 4;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR: return 5;
    case EBADF: return 6;
    case ENOMEM: return 8;
    case EINVAL: return 87;
    case EBUSY:
    case ETXTBSY:
    case EWOULDBLOCK: return 32;
    case EEXIST: return 80;
    case ENOSPC: return 112;
    case ENAMETOOLONG: return 206;
    case ENOTEMPTY: return 145;
    case EXDEV: return 17;
    case EIO: return 1117;
    default: return e;
  }
}

namespace {

int32_t LastError() { return ErrorCode(errno); }

// A missing directory on the way to a file is "path not found", as on Windows.
int32_t MissingPathCode(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos || slash == 0) return 2;
  struct stat st{};
  return stat(path.substr(0, slash).c_str(), &st) == 0 ? 2 : 3;
}

}  // namespace

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = other.fd_;
    other.fd_ = -1;
  }
  return *this;
}

int32_t File::Open(const std::string& path, Access access, bool create, bool truncate, uint8_t sharing) {
  Close();
  int flags = O_CLOEXEC | (access == Access::Read ? O_RDONLY : access == Access::Write ? O_WRONLY : O_RDWR);
  if (create) flags |= O_CREAT;
  // Emptying waits until the lock is held: a file another process has locked must
  // not lose its contents to an open that then fails.
  int fd = open(path.c_str(), flags, 0666);
  if (fd < 0) return errno == ENOENT ? MissingPathCode(path) : LastError();
  struct stat st{};
  if (fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    close(fd);
    return 5;
  }
  // Exclusive opens hold an exclusive lock; every other open holds a shared one, so
  // that it fails while another process holds the file exclusively.
  int lock = (sharing & 0x70) == 0x10 ? LOCK_EX : LOCK_SH;
  if (flock(fd, lock | LOCK_NB) != 0) {
    close(fd);
    return 32;
  }
  if (truncate && access != Access::Read && ftruncate(fd, 0) != 0) {
    int32_t code = LastError();
    close(fd);
    return code;
  }
  fd_ = fd;
  return 0;
}

int32_t File::Read(void* buffer, size_t count, size_t& got) {
  got = 0;
  if (fd_ < 0) return 6;
  while (got < count) {
    ssize_t n = read(fd_, static_cast<char*>(buffer) + got, count - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return LastError();
    if (n == 0) break;
    got += static_cast<size_t>(n);
  }
  return 0;
}

int32_t File::Write(const void* buffer, size_t count, size_t& put) {
  put = 0;
  if (fd_ < 0) return 6;
  while (put < count) {
    ssize_t n = write(fd_, static_cast<const char*>(buffer) + put, count - put);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return LastError();
    put += static_cast<size_t>(n);
  }
  return 0;
}

int32_t File::Seek(int64_t position) {
  if (fd_ < 0) return 6;
  if (position < 0) return 131;  // Windows' "negative seek"
  return lseek(fd_, position, SEEK_SET) < 0 ? LastError() : 0;
}

int32_t File::Position(int64_t& position) const {
  position = fd_ < 0 ? -1 : lseek(fd_, 0, SEEK_CUR);
  return position < 0 ? (fd_ < 0 ? 6 : LastError()) : 0;
}

int32_t File::Size(int64_t& size) const {
  struct stat st{};
  if (fd_ < 0) return 6;
  if (fstat(fd_, &st) != 0) return LastError();
  size = st.st_size;
  return 0;
}

int32_t File::Truncate(int64_t size) {
  if (fd_ < 0) return 6;
  return ftruncate(fd_, size) != 0 ? LastError() : 0;
}

int32_t File::Close() {
  if (fd_ < 0) return 6;
  int r = close(fd_);
  fd_ = -1;
  return r != 0 ? LastError() : 0;
}

bool GetFileInfo(const std::string& path, FileInfo& info) {
  struct stat st{};
  if (stat(path.c_str(), &st) != 0) return false;
  info = FileInfo{};
  if (S_ISDIR(st.st_mode)) info.attributes |= kAttrDirectory;
  else info.attributes |= kAttrArchive;
  if ((st.st_mode & S_IWUSR) == 0) info.attributes |= kAttrReadOnly;
  size_t slash = path.rfind('/');
  std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
  if (base.size() > 1 && base[0] == '.' && base != "..") info.attributes |= kAttrHidden;
  info.size = st.st_size;
  tm local{};
  localtime_r(&st.st_mtime, &local);
  info.year = local.tm_year + 1900;
  info.month = local.tm_mon + 1;
  info.day = local.tm_mday;
  return true;
}

int32_t RenameFile(const std::string& from, const std::string& to) {
  struct stat st{};
  if (lstat(to.c_str(), &st) == 0) return 183;  // Windows does not replace an existing file
  return rename(from.c_str(), to.c_str()) != 0 ? LastError() : 0;
}

int32_t DeleteFile(const std::string& path) {
  struct stat st{};
  if (stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return 5;
  return unlink(path.c_str()) != 0 ? (errno == ENOENT ? MissingPathCode(path) : LastError()) : 0;
}

int32_t SetFileAttributes(const std::string& path, uint16_t attributes) {
  struct stat st{};
  if (stat(path.c_str(), &st) != 0) return errno == ENOENT ? MissingPathCode(path) : LastError();
  mode_t mode = st.st_mode & 07777;
  mode = (attributes & kAttrReadOnly) ? (mode & ~static_cast<mode_t>(0222)) : (mode | S_IWUSR);
  return chmod(path.c_str(), mode) != 0 ? LastError() : 0;
}

int32_t ChangeDirectory(const std::string& path) {
  return chdir(path.c_str()) != 0 ? (errno == ENOENT ? 3 : LastError()) : 0;
}

int32_t MakeDirectory(const std::string& path) {
  return mkdir(path.c_str(), 0777) != 0 ? (errno == ENOENT ? 3 : LastError()) : 0;
}

int32_t RemoveDirectory(const std::string& path) {
  return rmdir(path.c_str()) != 0 ? (errno == ENOENT ? 2 : LastError()) : 0;
}

std::string CurrentDirectory() {
  char buf[4096];
  return getcwd(buf, sizeof buf) != nullptr ? std::string(buf) : std::string();
}

bool DiskSpace(const std::string& path, uint64_t& total, uint64_t& free) {
  struct statvfs vfs{};
  if (statvfs(path.c_str(), &vfs) != 0) return false;
  total = static_cast<uint64_t>(vfs.f_blocks) * vfs.f_frsize;
  free = static_cast<uint64_t>(vfs.f_bavail) * vfs.f_frsize;
  return true;
}

bool ReadDirectory(const std::string& path, std::vector<DirectoryEntry>& entries) {
  entries.clear();
  DIR* d = opendir(path.empty() ? "." : path.c_str());
  if (d == nullptr) return false;
  while (dirent* e = readdir(d)) {
    DirectoryEntry entry;
    entry.name = e->d_name;
    if (e->d_type == DT_DIR) {
      entry.is_directory = true;
    } else if (e->d_type == DT_UNKNOWN || e->d_type == DT_LNK) {
      struct stat st{};
      std::string full = (path.empty() ? "." : path) + "/" + entry.name;
      entry.is_directory = stat(full.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    }
    entries.push_back(std::move(entry));
  }
  closedir(d);
  return true;
}

}  // namespace morven::platform
