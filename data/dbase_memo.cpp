#include "data/dbase_memo.h"

#include <cstring>

#include "core/number_text.h"
#include "data/dbase_error.h"
#include "data/dbase_fields.h"
#include "ui/string_list.h"

namespace morven {

void MemoLineBreaker::EndLine() {
  lines_.push_back(line_);
  line_.clear();
}

void MemoLineBreaker::Track(uint8_t c) {
  if (c == '\r') after_line_end_ = true;
  else if (c != '\n') after_line_end_ = false;
}

void MemoLineBreaker::Finish() {
  if (!line_.empty()) EndLine();
}

bool MemoLineBreaker::Feed(const uint8_t* bytes, size_t count, int32_t& end_position) {
  for (size_t i = 0; i < count; ++i) {
    uint8_t c = bytes[i];
    if (c != kMemoEnd) Track(c);
    switch (c) {
      case '\n': break;
      case '\r': EndLine(); break;
      case kMemoEnd:
        // A memo that ends with CR LF has no further line: adding the empty one would
        // grow the memo by a blank line every time it is read and written back.
        if (!line_.empty() || !after_line_end_) EndLine();
        end_position = static_cast<int32_t>(i + 1);
        return true;
      case kSoftBreak:
        if (!line_.empty() && line_.back() != ' ' && line_.back() != '-') line_ += ' ';
        break;
      default: line_ += static_cast<char>(c); break;
    }
    if (static_cast<int32_t>(line_.size()) > wrap_) {
      size_t j = line_.find_last_of(" -");
      size_t cut = j == std::string::npos ? static_cast<size_t>(wrap_) : j + 1;
      lines_.push_back(line_.substr(0, cut));
      line_.erase(0, cut);
    }
  }
  return false;
}

int64_t MemoBlockNumber(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  int64_t value = 0;
  size_t digits = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++digits) {
    value = value * 10 + (text[i] - '0');
    if (value > INT32_MAX) return -1;
  }
  while (i < text.size() && text[i] == ' ') ++i;
  if (i != text.size()) return -1;
  return digits == 0 ? 0 : value;
}

int32_t MemoFileBlocks(const BufferedFile& file) {
  int64_t size = 0;
  if (file.Size(size) != 0) return 0;
  return static_cast<int32_t>((size + kMemoBlockSize - 1) / kMemoBlockSize);
}

bool WriteMemoHeader(BufferedFile& file, std::string_view name, int32_t next_free) {
  uint8_t header[kMemoBlockSize] = {};
  for (int i = 0; i < 4; ++i) header[i] = static_cast<uint8_t>(static_cast<uint32_t>(next_free) >> (8 * i));
  if (int32_t code = file.Write(0, header, sizeof header)) {
    SetDbIoError(code, name, "Write");
    return false;
  }
  return true;
}

namespace {

// Looks the field up as the field read does (no code-page conversion); -1 when absent.
int LookUpMemoField(DbTable& t, std::string_view field_name) {
  int index = FindField(t, field_name);
  if (index < 0) {
    ForgetField(t);
    SetDbError(kDbReadFieldName, field_name);
    return -1;
  }
  SelectField(t, index);
  return index;
}

void BadBlock(std::string_view memo_name, int64_t block) {
  std::string text = std::string(memo_name) + ": Block " + std::to_string(block);
  SetDbError(kDbBadMemoBlock, text);
}

}  // namespace

int32_t ReadMemoField(DbTable& t, std::string_view field_name) {
  int index = LookUpMemoField(t, field_name);
  if (index < 0 || t.fields[static_cast<size_t>(index)].type != 'M') return -1;
  int64_t start = MemoBlockNumber(FieldBytes(t, index));
  string_list::Clear();
  if (start == 0) return t.memo_result;
  int32_t blocks = MemoFileBlocks(t.memo);
  if (start < 1 || start >= blocks) {
    BadBlock(t.memo_name.View(), start);
    return t.memo_result;
  }
  MemoLineBreaker breaker(t.memo_wrap_width);
  int32_t read = 0;
  int32_t end_position = 0;
  bool ended = false;
  uint8_t block[kMemoBlockSize];
  for (int64_t b = start; b < blocks && !ended; ++b) {
    size_t got = 0;
    if (int32_t code = t.memo.Read(b * kMemoBlockSize, block, sizeof block, got)) {
      SetDbIoError(code, t.memo_name.View(), "Read");
      break;
    }
    ++read;
    ended = breaker.Feed(block, got, end_position);
    if (got < sizeof block) break;
  }
  if (!ended) breaker.Finish();
  for (const std::string& line : breaker.lines()) {
    if (!string_list::Add(line)) {
      // Writing the cut memo back would lose its end: say so.
      SetDbError(kDbMemoTooLong, t.memo_name.View());
      break;
    }
  }
  t.memo_start_block = static_cast<int32_t>(start);
  t.memo_block_count = static_cast<int16_t>(read > INT16_MAX ? INT16_MAX : read);
  t.memo_result = read + (ended ? end_position : 0);
  return t.memo_result;
}

int32_t WriteMemoField(DbTable& t, std::string_view field_name) {
  int index = LookUpMemoField(t, field_name);
  if (index < 0 || t.fields[static_cast<size_t>(index)].type != 'M') return 0;
  int64_t current = MemoBlockNumber(FieldBytes(t, index));
  std::string text;
  for (int32_t i = 0; i < string_list::Count(); ++i) {
    text.append(string_list::Get(i)->View());
    text.append("\r\n");
  }
  const int32_t needed = static_cast<int32_t>(text.size() / kMemoBlockSize + 1);
  text.push_back(static_cast<char>(kMemoEnd));
  text.resize(static_cast<size_t>(needed) * kMemoBlockSize, '\0');

  int32_t start;
  if (current >= 1 && current == t.memo_start_block && t.memo_block_count >= needed) {
    start = static_cast<int32_t>(current);
  } else {
    uint8_t head[4] = {};
    size_t got = 0;
    if (int32_t code = t.memo.Read(0, head, sizeof head, got)) {
      SetDbIoError(code, t.memo_name.View(), "Read");
      return 0;
    }
    start = static_cast<int32_t>(head[0] | (head[1] << 8) | (head[2] << 16) | (static_cast<uint32_t>(head[3]) << 24));
    // A header lagging behind the file (or naming the header block itself) would let
    // the new memo overwrite others: the memo goes behind everything the file holds.
    int32_t blocks = MemoFileBlocks(t.memo);
    if (start < blocks) start = blocks;
    if (start < 1) start = 1;
  }
  if (int32_t code = t.memo.Write(static_cast<int64_t>(start) * kMemoBlockSize, text.data(), text.size())) {
    SetDbIoError(code, t.memo_name.View(), "Write");
    return 0;
  }
  if (!WriteMemoHeader(t.memo, t.memo_name.View(), MemoFileBlocks(t.memo))) return 0;
  PutFieldBytes(t, index, FormatInteger(start, 10).View());
  t.memo_start_block = start;
  t.memo_block_count = static_cast<int16_t>(needed);
  return 1;
}

bool CopyMemo(BufferedFile& from, std::string_view from_name, int32_t block, BufferedFile& to,
              std::string_view to_name, int32_t& new_block) {
  const int32_t blocks = MemoFileBlocks(from);
  if (block < 1 || block >= blocks) {
    BadBlock(from_name, block);
    return false;
  }
  new_block = MemoFileBlocks(to);
  uint8_t data[kMemoBlockSize];
  for (int32_t b = block, out = new_block; b < blocks; ++b, ++out) {
    size_t got = 0;
    if (int32_t code = from.Read(static_cast<int64_t>(b) * kMemoBlockSize, data, sizeof data, got)) {
      SetDbIoError(code, from_name, "Read");
      return false;
    }
    std::memset(data + got, 0, sizeof data - got);
    void* end = std::memchr(data, kMemoEnd, got);
    if (end != nullptr) {
      size_t after = static_cast<size_t>(static_cast<uint8_t*>(end) - data) + 1;
      std::memset(data + after, 0, sizeof data - after);
    }
    if (int32_t code = to.Write(static_cast<int64_t>(out) * kMemoBlockSize, data, sizeof data)) {
      SetDbIoError(code, to_name, "Write");
      return false;
    }
    if (end != nullptr) break;
  }
  return true;
}

}  // namespace morven
