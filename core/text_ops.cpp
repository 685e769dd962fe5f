#include "core/text_ops.h"

namespace morven {

size_t FindTopLevel(char ch, std::string_view text) {
  int parens = 0;
  int brackets = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    // The match test comes before the character's own effect on the counters.
    if (parens == 0 && brackets == 0 && c == ch) return i + 1;
    switch (c) {
      case '"': {
        size_t close = text.find('"', i + 1);
        if (close == std::string_view::npos) return 0;  // unterminated: no match
        i = close;
        break;
      }
      case '(':
      case '@':
        ++parens;
        break;
      case ')':
        --parens;
        break;
      case '[':
        ++brackets;
        break;
      case ']':
        --brackets;
        break;
      default:
        break;
    }
  }
  return 0;
}

ShortString ReplaceAll(std::string_view text, std::string_view pattern, std::string_view replacement) {
  ShortString out;
  if (pattern.empty()) {
    out.Assign(text);
    return out;
  }
  size_t from = 0;
  for (;;) {
    size_t at = text.find(pattern, from);
    if (at == std::string_view::npos) break;
    out.Append(text.substr(from, at - from));
    out.Append(replacement);
    from = at + pattern.size();
  }
  out.Append(text.substr(from));
  return out;
}

std::string_view TrimBlanks(std::string_view text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && static_cast<uint8_t>(text[begin]) < 0x21) ++begin;
  while (end > begin && static_cast<uint8_t>(text[end - 1]) < 0x21) --end;
  return text.substr(begin, end - begin);
}

char UpperChar(char c) {
  auto b = static_cast<uint8_t>(c);
  if ((b >= 'a' && b <= 'z') || (b >= 0xE0 && b <= 0xFE && b != 0xF7)) return static_cast<char>(b - 0x20);
  return c;
}

void UpperText(ShortString& text) {
  for (size_t i = 0; i < text.length; ++i) text.bytes[i] = UpperChar(text.bytes[i]);
}

}  // namespace morven
