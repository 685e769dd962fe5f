#include "data/text_lines.h"

namespace morven {

namespace {
constexpr char kCtrlZ = 0x1A;
}

bool TextLineReader::Next(ShortString& line) {
  line.Clear();
  if (pos_ >= data_.size() || data_[pos_] == kCtrlZ) {
    pos_ = data_.size();
    return false;
  }
  while (pos_ < data_.size()) {
    char c = data_[pos_];
    if (c == kCtrlZ) return true;  // the file ends here; the next call says so
    ++pos_;
    if (c == '\r') {
      if (pos_ < data_.size() && data_[pos_] == '\n') ++pos_;
      return true;
    }
    line.Append(c);  // beyond 255 bytes the rest of the line is dropped
  }
  return true;
}

}  // namespace morven
