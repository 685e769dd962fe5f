#include "data/file_slots.h"

#include <vector>

#include "core/area_variables.h"
#include "core/argument_reader.h"
#include "core/program_state.h"
#include "core/registers.h"
#include "core/text_ops.h"
#include "data/io_state.h"
#include "data/text_channels.h"
#include "errors/run_error.h"
#include "platform/host_files.h"

namespace morven {

uint8_t FileOpenMode = 2;
int32_t PendingIoError = 0;
int32_t PendingListingError = 0;

namespace {

constexpr char kCtrlZ = 0x1A;
constexpr size_t kReadAhead = 4096;

FileSlot g_slots[kFileSlots + 1];
// Files left open when a slot got a new name: unreachable, closed by the host at exit.
std::vector<platform::File> g_orphaned_files;

void Fail(int32_t code) {
  if (code != 0) PendingIoError = code;
}

std::string HostName(const std::string& name) { return platform::HostPath(name); }

// A file name argument: a string without escape processing.
std::string ReadName(char context) {
  ReadArgument(context, kKindRawString);
  return StringValue.Str();
}

// The text channel's state check for an operation; sets the code when it fails.
bool Requires(TextChannel& channel, TextChannel::State state) {
  if (channel.state == state) return true;
  Fail(state == TextChannel::State::Reading ? kIoNotOpenForReading : kIoNotOpenForWriting);
  return false;
}

void OpenText(FileSlot& slot, TextChannel::State state, platform::Access access, bool create) {
  TextChannel& channel = slot.text;
  if (channel.file.IsOpen()) channel.file.Close();
  channel.state = TextChannel::State::Closed;
  channel.buffer.clear();
  channel.position = 0;
  int32_t code = channel.file.Open(HostName(channel.name), access, create, create);
  if (code != 0) {
    Fail(code);
    return;
  }
  channel.state = state;
}

}  // namespace

int TextChannel::Peek() {
  if (position < buffer.size()) return static_cast<uint8_t>(buffer[position]);
  buffer.erase(0, position);
  position = 0;
  char chunk[kReadAhead];
  size_t got = 0;
  Fail(file.Read(chunk, sizeof chunk, got));
  buffer.append(chunk, got);
  return buffer.empty() ? -1 : static_cast<uint8_t>(buffer[0]);
}

FileSlot& Slot(int n) { return g_slots[n]; }

int ReadHandle(bool hash_optional) {
  if (!RestOfLine.empty() && RestOfLine.front() == '#') {
    RestOfLine = TrimBlanks(RestOfLine.substr(1));
  } else if (!hash_optional) {
    RunError(104, "");
  }
  ReadArgument(',', kKindAny);
  if (IntValue < 1 || IntValue > kFileSlots) RunError(210, "");
  return IntValue;
}

platform::Access OpenModeAccess() {
  switch (FileOpenMode & 3) {
    case 0: return platform::Access::Read;
    case 1: return platform::Access::Write;
    default: return platform::Access::ReadWrite;
  }
}

void WriteToTextChannel(int n, std::string_view text) {
  TextChannel& channel = Slot(n).text;
  if (!Requires(channel, TextChannel::State::Writing)) return;
  size_t put = 0;
  int32_t code = channel.file.Write(text.data(), text.size(), put);
  Fail(code != 0 ? code : put < text.size() ? kIoShortWrite : 0);
}

void ReadFromTextChannel(int n, ShortString& line) {
  line.Clear();
  TextChannel& channel = Slot(n).text;
  if (!Requires(channel, TextChannel::State::Reading)) return;
  for (int c = channel.Peek(); c >= 0 && c != kCtrlZ; c = channel.Peek()) {
    channel.Take();
    if (c == '\r') {
      if (channel.Peek() == '\n') channel.Take();
      return;
    }
    line.Append(static_cast<char>(c));  // bytes beyond the 255th are dropped
  }
}

// True when the text channel stands at the end of its file (a Ctrl-Z or nothing).
bool TextChannelAtEnd(int n) {
  TextChannel& channel = Slot(n).text;
  if (!Requires(channel, TextChannel::State::Reading)) return true;
  int c = channel.Peek();
  return c < 0 || c == kCtrlZ;
}

void AssignCommand() {
  int n = ReadHandle(false);
  std::string name = ReadName(' ');
  FileSlot& slot = Slot(n);
  // The channels become closed objects; files still open on them stay open.
  for (platform::File* file : {&slot.text.file, &slot.binary.file})
    if (file->IsOpen()) g_orphaned_files.push_back(std::move(*file));
  slot.name.Assign(name);
  slot.text = TextChannel{};
  slot.text.name = name;
  slot.binary.name = name;
  LineHandled = true;
}

void ResetCommand() {
  FileSlot& slot = Slot(ReadHandle(false));
  OpenText(slot, TextChannel::State::Reading, platform::Access::Read, false);
  LineHandled = true;
}

void RewriteCommand() {
  FileSlot& slot = Slot(ReadHandle(false));
  OpenText(slot, TextChannel::State::Writing, platform::Access::Write, true);
  LineHandled = true;
}

void AppendCommand() {
  FileSlot& slot = Slot(ReadHandle(false));
  LineHandled = true;
  OpenText(slot, TextChannel::State::Writing, platform::Access::ReadWrite, false);
  TextChannel& channel = slot.text;
  if (channel.state != TextChannel::State::Writing) return;
  // A Ctrl-Z among the last 128 bytes ends the old text: new text replaces it.
  int64_t size = 0;
  Fail(channel.file.Size(size));
  int64_t tail_start = size > 128 ? size - 128 : 0;
  char tail[128];
  size_t got = 0;
  Fail(channel.file.Seek(tail_start));
  Fail(channel.file.Read(tail, static_cast<size_t>(size - tail_start), got));
  for (size_t i = 0; i < got; ++i) {
    if (tail[i] == kCtrlZ) {
      size = tail_start + static_cast<int64_t>(i);
      Fail(channel.file.Truncate(size));
      break;
    }
  }
  Fail(channel.file.Seek(size));
}

void CloseTextCommand() {
  TextChannel& channel = Slot(ReadHandle(false)).text;
  LineHandled = true;
  if (!channel.file.IsOpen()) {
    Fail(kIoChannelNotOpen);
    return;
  }
  Fail(channel.file.Close());
  channel.state = TextChannel::State::Closed;
  channel.buffer.clear();
  channel.position = 0;
}

void OpenBinaryCommand() {
  BinaryChannel& channel = Slot(ReadHandle(false)).binary;
  LineHandled = true;
  PendingIoError = 0;
  std::string path = HostName(channel.name);
  if (channel.file.Open(path, OpenModeAccess(), false, false, FileOpenMode) == 0) return;
  Fail(channel.file.Open(path, platform::Access::ReadWrite, true, true, FileOpenMode));
}

void CloseBinaryCommand() {
  BinaryChannel& channel = Slot(ReadHandle(false)).binary;
  LineHandled = true;
  Fail(channel.file.IsOpen() ? channel.file.Close() : kIoChannelNotOpen);
}

void SeekBinaryCommand() {
  BinaryChannel& channel = Slot(ReadHandle(false)).binary;
  ReadArgument(' ', kKindAny);
  LineHandled = true;
  Fail(channel.file.IsOpen() ? channel.file.Seek(LongValue) : kIoChannelNotOpen);
}

void WriteByteCommand() {
  BinaryChannel& channel = Slot(ReadHandle(false)).binary;
  ReadArgument(' ', kKindAny);
  LineHandled = true;
  if (!channel.file.IsOpen()) {
    Fail(kIoChannelNotOpen);
    return;
  }
  auto byte = static_cast<uint8_t>(IntValue);
  size_t put = 0;
  int32_t code = channel.file.Write(&byte, 1, put);
  Fail(code != 0 ? code : put < 1 ? kIoShortWrite : 0);
}

void WriteAreaBlockCommand() {
  BinaryChannel& channel = Slot(ReadHandle(true)).binary;
  size_t comma = RestOfLine.find(',');
  ShortString name(TrimBlanks(RestOfLine.substr(0, comma)));
  UpperText(name);
  RestOfLine = comma == std::string_view::npos ? std::string_view() : RestOfLine.substr(comma + 1);
  if (name.Empty() || name.View().back() != '#') RunError(121, "");
  ReadArgument(',', kKindAny);
  int64_t offset = LongValue;
  ReadArgument(' ', kKindAny);
  int64_t count = LongValue;
  LineHandled = true;
  AreaVariable* area = FindAreaVariable(name.View());
  if (area == nullptr) RunError(215, name.View());
  if (offset < 0 || count < 0 || offset + count > area->size) RunError(207, "");
  if (count == 0) return;
  if (!channel.file.IsOpen()) {
    Fail(kIoChannelNotOpen);
    return;
  }
  size_t put = 0;
  int32_t code = channel.file.Write(area->block + offset, static_cast<size_t>(count), put);
  Fail(code != 0 ? code : put < static_cast<size_t>(count) ? kIoShortWrite : 0);
}

void RenameCommand() {
  FileSlot& slot = Slot(ReadHandle(false));
  std::string new_name = ReadName(' ');
  LineHandled = true;
  if (slot.text.file.IsOpen()) {
    Fail(kIoRenameOpenChannel);
  } else {
    int32_t code = platform::RenameFile(HostName(slot.text.name), HostName(new_name));
    Fail(code);
    if (code == 0) slot.text.name = new_name;
  }
  slot.name.Assign(new_name);
}

void EraseCommand() {
  FileSlot& slot = Slot(ReadHandle(false));
  LineHandled = true;
  Fail(platform::DeleteFile(HostName(slot.text.name)));
}

void SetAttributesCommand() {
  FileSlot& slot = Slot(ReadHandle(false));
  ReadArgument(' ', kKindAny);
  LineHandled = true;
  Fail(platform::SetFileAttributes(HostName(slot.name.Str()), static_cast<uint16_t>(IntValue)));
}

void SetFileOpenModeCommand() {
  ReadArgument(' ', kKindAny);
  FileOpenMode = static_cast<uint8_t>(IntValue);
  LineHandled = true;
}

void CopyFileCommand() {
  LineHandled = true;
  PendingIoError = 0;
  std::string source = ReadName('>');
  std::string destination = ReadName(' ');
  platform::File in, out;
  if (in.Open(HostName(source), OpenModeAccess(), false, false, FileOpenMode) != 0) RunError(300, source);
  if (out.Open(HostName(destination), platform::Access::ReadWrite, true, true, FileOpenMode) != 0)
    RunError(301, destination);
  std::vector<char> buffer(32768);
  for (;;) {
    size_t got = 0, put = 0;
    if (in.Read(buffer.data(), buffer.size(), got) != 0) RunError(302, source);
    if (got == 0) break;
    if (out.Write(buffer.data(), got, put) != 0) RunError(303, destination);
    if (put < got) break;
  }
}

}  // namespace morven
