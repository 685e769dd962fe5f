#pragma once
// The short string: a length byte and up to 255 bytes of Windows-1252 text.
// Every program line, name and string value is one; longer results are cut.
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace morven {

constexpr size_t kShortStringMax = 255;

struct ShortString {
  uint8_t length = 0;
  char bytes[kShortStringMax];

  ShortString() = default;
  explicit ShortString(std::string_view text) { Assign(text); }

  std::string_view View() const { return {bytes, length}; }
  std::string Str() const { return std::string(bytes, length); }
  bool Empty() const { return length == 0; }
  void Clear() { length = 0; }

  void Assign(std::string_view text) {
    length = static_cast<uint8_t>(text.size() > kShortStringMax ? kShortStringMax : text.size());
    if (length != 0) std::memmove(bytes, text.data(), length);
  }
  void Append(std::string_view text) {
    size_t room = kShortStringMax - length;
    size_t n = text.size() < room ? text.size() : room;
    if (n == 0) return;
    std::memmove(bytes + length, text.data(), n);
    length = static_cast<uint8_t>(length + n);
  }
  void Append(char c) {
    if (length < kShortStringMax) bytes[length++] = c;
  }
};

}  // namespace morven
