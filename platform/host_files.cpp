#include "platform/host_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>

#include "platform/automation.h"
#include "platform/codepage.h"

namespace morven::platform {
namespace {

bool Exists(const std::string& path) {
  struct stat st{};
  return lstat(path.c_str(), &st) == 0;
}

// Upper case of the Windows-1252 letters, for comparing names as the programs'
// file system did.
std::string FoldCase(std::string_view utf8) {
  std::string ansi;
  if (!Utf8ToCp1252(utf8, ansi)) return std::string(utf8);
  for (char& c : ansi) {
    auto b = static_cast<uint8_t>(c);
    if ((b >= 'a' && b <= 'z') || (b >= 0xE0 && b <= 0xFE && b != 0xF7)) c = static_cast<char>(b - 0x20);
  }
  return ansi;
}

// The entry of dir whose name equals component ignoring case, or component itself.
std::string MatchInDirectory(const std::string& dir, const std::string& component) {
  DIR* d = opendir(dir.empty() ? "." : dir.c_str());
  if (d == nullptr) return component;
  std::string wanted = FoldCase(component);
  std::string found = component;
  while (dirent* e = readdir(d)) {
    if (FoldCase(e->d_name) == wanted) {
      found = e->d_name;
      break;
    }
  }
  closedir(d);
  return found;
}

ReadStatus ReadFd(int fd, std::string& data, size_t limit) {
  char buf[65536];
  while (data.size() < limit) {
    size_t want = limit - data.size() < sizeof buf ? limit - data.size() : sizeof buf;
    ssize_t n = read(fd, buf, want);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    data.append(buf, static_cast<size_t>(n));
  }
  close(fd);
  return ReadStatus::Ok;
}

std::string CurrentDirectoryPath() {
  char buf[4096];
  return getcwd(buf, sizeof buf) != nullptr ? std::string(buf) : std::string("/");
}

}  // namespace

std::string DriveRoot(char letter) {
  char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
  std::string variable = std::string("MORVEN_DRIVE_") + upper;
  const char* value = std::getenv(variable.c_str());
  std::string root = value != nullptr && *value != '\0' ? StartRelativePath(value) : StartRelativePath(".");
  while (root.size() > 1 && root.back() == '/') root.pop_back();
  if (root.size() >= 2 && root.compare(root.size() - 2, 2, "/.") == 0) root.resize(root.size() - 2);
  return root.empty() ? "/" : root;
}

namespace {

bool HasDriveLetter(std::string_view name) {
  return name.size() >= 2 && name[1] == ':' && std::isalpha(static_cast<unsigned char>(name[0]));
}

// The part of host_path below root, or false when it does not lie there.
bool BelowRoot(const std::string& host_path, const std::string& root, std::string& rest) {
  if (root == "/") {
    rest = host_path.substr(1);
    return !host_path.empty() && host_path[0] == '/';
  }
  if (host_path.compare(0, root.size(), root) != 0) return false;
  if (host_path.size() == root.size()) {
    rest.clear();
    return true;
  }
  if (host_path[root.size()] != '/') return false;
  rest = host_path.substr(root.size() + 1);
  return true;
}

}  // namespace

std::string ProgramPath(const std::string& host_path) {
  std::string letters = "CABDEFGHIJKLMNOPQRSTUVWXYZ";
  for (char letter : letters) {
    if (letter != 'C' && std::getenv((std::string("MORVEN_DRIVE_") + letter).c_str()) == nullptr) continue;
    std::string rest;
    if (!BelowRoot(host_path, DriveRoot(letter), rest)) continue;
    std::string path = std::string(1, letter) + ":\\" + rest;
    for (char& c : path)
      if (c == '/') c = '\\';
    std::string ansi;
    Utf8ToCp1252(path, ansi);
    return ansi;
  }
  std::string path = host_path;
  for (char& c : path)
    if (c == '/') c = '\\';
  std::string ansi;
  Utf8ToCp1252(path, ansi);
  return ansi;
}

char CurrentDrive() {
  std::string program = ProgramPath(CurrentDirectoryPath());
  return HasDriveLetter(program) ? program[0] : 'C';
}

std::string HostPath(std::string_view program_name) {
  std::string name;
  if (HasDriveLetter(program_name)) {
    name = DriveRoot(program_name[0]) + "/" + Cp1252ToUtf8(program_name.substr(2));
  } else {
    name = Cp1252ToUtf8(program_name);
  }
  for (char& c : name)
    if (c == '\\') c = '/';
  if (name.empty() || Exists(name)) return name;

  std::string resolved = name[0] == '/' ? "/" : "";
  size_t pos = name[0] == '/' ? 1 : 0;
  while (pos <= name.size()) {
    size_t slash = name.find('/', pos);
    if (slash == std::string::npos) slash = name.size();
    std::string component = name.substr(pos, slash - pos);
    std::string candidate = resolved + component;
    if (!component.empty() && component != "." && component != ".." && !Exists(candidate))
      candidate = resolved + MatchInDirectory(resolved, component);
    resolved = candidate;
    if (slash < name.size()) resolved += '/';
    pos = slash + 1;
  }
  return resolved;
}

namespace {

// A file (not a directory) opened for reading, or -1.
int OpenForReading(const std::string& host_path) {
  int fd = open(host_path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat st{};
  if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    close(fd);
    return -1;
  }
  return fd;
}

}  // namespace

ReadStatus ReadFileFrom(const std::string& host_path, uint64_t offset, std::string& data) {
  int fd = OpenForReading(host_path);
  if (fd < 0) return ReadStatus::CannotOpen;
  if (lseek(fd, static_cast<off_t>(offset), SEEK_SET) < 0) {
    close(fd);
    return ReadStatus::Ok;  // nothing readable there
  }
  return ReadFd(fd, data, SIZE_MAX);
}

ReadStatus ReadFilePrefix(const std::string& host_path, size_t count, std::string& data) {
  int fd = OpenForReading(host_path);
  if (fd < 0) return ReadStatus::CannotOpen;
  return ReadFd(fd, data, count);
}

std::string OwnExecutablePath() {
  char buf[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return "/proc/self/exe";
  return std::string(buf, static_cast<size_t>(n));
}

}  // namespace morven::platform
