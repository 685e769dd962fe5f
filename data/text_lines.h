#pragma once
// The text file rules of the runtime: a line ends at CR (one following LF is skipped),
// a Ctrl-Z byte ends the file, and a line keeps at most 255 bytes (the rest of a
// longer line is skipped).
#include <cstddef>
#include <string_view>

#include "core/short_string.h"

namespace morven {

class TextLineReader {
 public:
  explicit TextLineReader(std::string_view data) : data_(data) {}

  // The next line, or false at the end of the text.
  bool Next(ShortString& line);

 private:
  std::string_view data_;
  size_t pos_ = 0;
};

}  // namespace morven
