// morven bind: a stand-alone program is a copy of morvrun with the compiled program
// appended and the copy's position field set to where the program starts. See
// docs/standalone.md.
#include "tools/bind.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace morven {
namespace {

bool ReadAll(const std::string& path, std::string& data) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

// The runtime next to this tool, unless MORVEN_RUNTIME names another.
std::string DefaultRuntime() {
  if (const char* env = std::getenv("MORVEN_RUNTIME"); env != nullptr && *env != '\0') return env;
  char buf[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  std::string self = n > 0 ? std::string(buf, static_cast<size_t>(n)) : "morven";
  size_t slash = self.rfind('/');
  return (slash == std::string::npos ? std::string(".") : self.substr(0, slash)) + "/morvrun";
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "morven bind: %s\n", message.c_str());
  return 1;
}

}  // namespace

int RunBind(int argc, char** argv) {
  std::string program_path, output_path, runtime_path = DefaultRuntime();
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--runtime" && i + 1 < argc) runtime_path = argv[++i];
    else if (program_path.empty()) program_path = arg;
    else if (output_path.empty()) output_path = arg;
    else return Fail("unexpected argument " + arg);
  }
  if (program_path.empty() || output_path.empty())
    return Fail("usage: morven bind PROGRAM.mvc OUTPUT [--runtime PATH]");

  std::string program, runtime;
  if (!ReadAll(program_path, program)) return Fail("cannot read " + program_path);
  if (program.size() < 32 || program.compare(1, 10, "ZOX-MORVEN") != 0)
    return Fail(program_path + " is not a compiled MORVEN program");
  if (!ReadAll(runtime_path, runtime)) return Fail("cannot read the runtime " + runtime_path);

  const std::string marker = std::string("MORVEN:APPENDED") + "-PROGRAM:";
  size_t at = runtime.find(marker);
  if (at == std::string::npos || runtime.find(marker, at + 1) != std::string::npos)
    return Fail(runtime_path + " does not hold exactly one position field");
  size_t field = at + marker.size();
  if (field + 4 > runtime.size()) return Fail(runtime_path + " ends inside its position field");
  if (runtime.compare(field, 4, std::string(4, '\0')) != 0)
    return Fail(runtime_path + " is already a stand-alone program");
  static_assert(sizeof("MORVEN:APPENDED-PROGRAM:") - 1 == 24);
  if (runtime.size() > UINT32_MAX) return Fail(runtime_path + " is too large for a 32-bit position");

  auto position = static_cast<uint32_t>(runtime.size());
  for (int i = 0; i < 4; ++i) runtime[field + static_cast<size_t>(i)] = static_cast<char>(position >> (8 * i));

  std::ofstream out(output_path, std::ios::binary | std::ios::trunc);
  out.write(runtime.data(), static_cast<std::streamsize>(runtime.size()));
  out.write(program.data(), static_cast<std::streamsize>(program.size()));
  out.close();
  if (!out) return Fail("cannot write " + output_path);
  if (chmod(output_path.c_str(), 0755) != 0) return Fail("cannot make " + output_path + " executable");
  return 0;
}

}  // namespace morven
