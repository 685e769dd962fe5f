#include "core/loader.h"

#include <cstring>
#include <string>

#include "core/appended_program.h"
#include "core/program_state.h"
#include "core/shutdown.h"
#include "core/text_ops.h"
#include "errors/message_table.h"
#include "errors/run_error.h"
#include "platform/codepage.h"
#include "platform/file_dialog.h"
#include "platform/host_files.h"
#include "platform/message_box.h"

namespace morven {
namespace {

constexpr char kLoaderCaption[] = "M O R V E N \xB2";
constexpr char kMagic[] = "ZOX-MORVEN";
constexpr size_t kHeaderSize = 32;

enum : int { kExitInvalidProgram = 1, kExitNoProgram = 2 };

[[noreturn]] void LoaderFailure(int32_t message, std::string_view detail, int exit_code) {
  std::string text(MessageText(message));
  text += detail;
  platform::MessageBox(text, kLoaderCaption, platform::kMbIconError);
  Shutdown(exit_code);
}

// A program file chosen for loading: its name (Windows-1252) or the host path of the
// executable, and where the program starts in it.
struct ProgramSource {
  std::string name;
  std::string host_path;
  uint64_t start = 0;
};

std::string ArgumentText(const char* arg) {
  std::string text;
  platform::Utf8ToCp1252(arg, text);
  return text;
}

bool ProbeIsProgram(const std::string& name) {
  std::string prefix;
  if (platform::ReadFilePrefix(platform::HostPath(name), 11, prefix) != platform::ReadStatus::Ok) return false;
  return prefix.size() == 11 && prefix[0] == ' ' && prefix.compare(1, 10, kMagic) == 0;
}

ProgramSource ChooseProgram(int argc, char** argv) {
  ProgramSource source;
  bool have_argument = argc > 1;
  if (have_argument && ProbeIsProgram(ArgumentText(argv[1]))) {
    source.name = ArgumentText(argv[1]);
  } else if (uint32_t position = AppendedProgramPosition(); position != 0) {
    source.host_path = platform::OwnExecutablePath();
    source.name = ArgumentText(source.host_path.c_str());
    source.start = position;
    return source;
  } else if (!have_argument) {
    std::string title = std::string("MORVEN\xB2-") + std::string(MessageText(800));
    auto chosen = platform::FileOpenDialog(title, "Morven-Code (*.mvc)|*.MVC|All (*.*)|*.*");
    if (!chosen) LoaderFailure(803, "", kExitNoProgram);
    source.name = std::string(TrimBlanks(*chosen));
    return source;  // a chosen name is taken as it is
  } else {
    source.name = ArgumentText(argv[1]);
  }
  if (source.name.find('.') == std::string::npos) source.name += ".MVC";
  return source;
}

uint8_t HeaderByte(const std::string& header, int position) {
  return position >= 0 && position <= 30 ? static_cast<uint8_t>(header[static_cast<size_t>(position)]) : 0;
}

uint8_t DeriveScrambleKey(const std::string& header) {
  if (header[20] == ' ' && header[21] == ' ') return 0;
  if (header[11] == '5') {
    // Index bytes 1..11 select header bytes 20..30; positions above 30 count as 0.
    auto b = [&](int index_position) { return HeaderByte(header, 19 + static_cast<uint8_t>(header[index_position])); };
    return static_cast<uint8_t>((b(27) | b(29)) & (b(26) | b(28)));
  }
  return static_cast<uint8_t>(header[20] | header[21]);
}

void ReadLines(const std::string& data, uint8_t key) {
  LineTable.assign(1, ShortString());
  size_t pos = kHeaderSize;
  int32_t count = 0;
  while (pos < data.size()) {
    if (++count > kMaxLines) LoaderFailure(901, "", kExitInvalidProgram);
    auto length = static_cast<uint8_t>(data[pos++]);
    if (data.size() - pos < length) LoaderFailure(906, "", kExitInvalidProgram);
    if (length == 255) LoaderFailure(902, "", kExitInvalidProgram);
    ShortString& line = LineTable.emplace_back();
    line.length = length;
    for (uint8_t i = 0; i < length; ++i) line.bytes[i] = static_cast<char>(data[pos + i] ^ key);
    pos += length;
  }
  LineCount = count;
}

}  // namespace

void LoadProgram(int argc, char** argv) {
  CommandLine.clear();
  for (int i = 0; i < argc; ++i) CommandLine.push_back(ArgumentText(i == 0 ? platform::OwnExecutablePath().c_str() : argv[i]));
  ProgramSource source = ChooseProgram(argc, argv);
  StopRequested = false;
  if (source.host_path.empty()) source.host_path = platform::HostPath(source.name);

  std::string data;
  if (platform::ReadFileFrom(source.host_path, source.start, data) != platform::ReadStatus::Ok)
    LoaderFailure(209, source.name, kExitNoProgram);
  if (data.size() < kHeaderSize || data.compare(1, 10, kMagic) != 0) LoaderFailure(905, "", kExitInvalidProgram);
  // The whole program is in memory now; the header is the first 32 bytes of `data`.
  ReadLines(data, DeriveScrambleKey(data.substr(0, kHeaderSize)));

  CurrentLine = 0;
  PumpCounter = 0;
  ErrorState = 0;
  ErrorMode = 1;
  LastErrorNumber = 0;
  ProgramLoaded = true;
}

}  // namespace morven
