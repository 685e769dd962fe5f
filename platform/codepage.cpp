#include "platform/codepage.h"

#include <array>

namespace morven::platform {
namespace {

// 0x80..0x9F; 0 marks the undefined bytes, which map to C1 controls.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

constexpr char32_t kInvalid = 0xFFFFFFFF;

}  // namespace

char32_t Cp1252ToUnicode(uint8_t byte) {
  if (byte >= 0x80 && byte < 0xA0 && kCp1252High[byte - 0x80] != 0) return kCp1252High[byte - 0x80];
  return byte;
}

int UnicodeToCp1252(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
  for (int i = 0; i < 32; ++i) {
    char32_t mapped = kCp1252High[i] != 0 ? kCp1252High[i] : static_cast<char32_t>(0x80 + i);
    if (mapped == cp) return 0x80 + i;
  }
  return -1;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::string Cp1252ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 4);
  for (char c : text) AppendUtf8(out, Cp1252ToUnicode(static_cast<uint8_t>(c)));
  return out;
}

char32_t DecodeUtf8(std::string_view s, size_t& pos) {
  auto byte = [&](size_t i) { return static_cast<uint8_t>(s[i]); };
  uint8_t b0 = byte(pos);
  int extra;
  char32_t cp;
  if (b0 < 0x80) {
    ++pos;
    return b0;
  } else if ((b0 & 0xE0) == 0xC0) {
    extra = 1;
    cp = b0 & 0x1F;
  } else if ((b0 & 0xF0) == 0xE0) {
    extra = 2;
    cp = b0 & 0x0F;
  } else if ((b0 & 0xF8) == 0xF0) {
    extra = 3;
    cp = b0 & 0x07;
  } else {
    ++pos;
    return kInvalid;
  }
  if (pos + extra >= s.size()) {
    pos = s.size();
    return kInvalid;
  }
  for (int i = 1; i <= extra; ++i) {
    uint8_t b = byte(pos + i);
    if ((b & 0xC0) != 0x80) {
      pos += i;
      return kInvalid;
    }
    cp = (cp << 6) | (b & 0x3F);
  }
  pos += extra + 1;
  static constexpr char32_t kMinimum[4] = {0, 0x80, 0x800, 0x10000};
  if (cp < kMinimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return kInvalid;
  return cp;
}

bool Utf8ToCp1252(std::string_view utf8, std::string& out) {
  bool ok = true;
  size_t pos = 0;
  while (pos < utf8.size()) {
    char32_t cp = DecodeUtf8(utf8, pos);
    int b = cp == kInvalid ? -1 : UnicodeToCp1252(cp);
    if (b < 0) {
      ok = false;
      continue;
    }
    out += static_cast<char>(b);
  }
  return ok;
}

}  // namespace morven::platform

namespace morven::platform {
namespace {

// Code page 850, 0x80..0xFF.
constexpr char16_t kCp850High[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7,
    0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5,
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,
    0x00FF, 0x00D6, 0x00DC, 0x00F8, 0x00A3, 0x00D8, 0x00D7, 0x0192,
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA,
    0x00BF, 0x00AE, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x00C1, 0x00C2, 0x00C0,
    0x00A9, 0x2563, 0x2551, 0x2557, 0x255D, 0x00A2, 0x00A5, 0x2510,
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x00E3, 0x00C3,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x00A4,
    0x00F0, 0x00D0, 0x00CA, 0x00CB, 0x00C8, 0x0131, 0x00CD, 0x00CE,
    0x00CF, 0x2518, 0x250C, 0x2588, 0x2584, 0x00A6, 0x00CC, 0x2580,
    0x00D3, 0x00DF, 0x00D4, 0x00D2, 0x00F5, 0x00D5, 0x00B5, 0x00FE,
    0x00DE, 0x00DA, 0x00DB, 0x00D9, 0x00FD, 0x00DD, 0x00AF, 0x00B4,
    0x00AD, 0x00B1, 0x2017, 0x00BE, 0x00B6, 0x00A7, 0x00F7, 0x00B8,
    0x00B0, 0x00A8, 0x00B7, 0x00B9, 0x00B3, 0x00B2, 0x25A0, 0x00A0,
};

constexpr char16_t Cp1252Char(int byte) {
  return byte >= 0x80 && byte < 0xA0 && kCp1252High[byte - 0x80] != 0 ? kCp1252High[byte - 0x80]
                                                                        : static_cast<char16_t>(byte);
}

constexpr char16_t Cp850Char(int byte) { return byte < 0x80 ? static_cast<char16_t>(byte) : kCp850High[byte - 0x80]; }

// Look-alikes for the characters that only one of the two pages has.
constexpr char16_t LookAlike(char16_t c) {
  switch (c) {
    case 0x201A: return ',';
    case 0x2018: case 0x2019: return '\'';
    case 0x201C: case 0x201D: case 0x201E: return '"';
    case 0x2026: return '.';
    case 0x02C6: return '^';
    case 0x02DC: return '~';
    case 0x2039: return '<';
    case 0x203A: return '>';
    case 0x2013: case 0x2014: return '-';
    case 0x2022: return 0x00B7;  // bullet: middle dot
    case 0x0160: return 'S';
    case 0x0161: return 's';
    case 0x017D: return 'Z';
    case 0x017E: return 'z';
    case 0x0152: return 'O';
    case 0x0153: return 'o';
    case 0x0178: return 'Y';
    case 0x0131: return 'i';
    case 0x2017: return '_';
    case 0x2500: case 0x2550: return '-';
    case 0x2502: case 0x2551: return '|';
    default: break;
  }
  if (c >= 0x2500 && c <= 0x257F) return '+';  // corners and junctions
  return 0;
}

using ByteTable = std::array<uint8_t, 256>;

template <char16_t (*From)(int), char16_t (*To)(int)>
constexpr ByteTable BuildConversion() {
  ByteTable table{};
  for (int b = 0; b < 256; ++b) {
    table[b] = '?';
    if (b < 0x80) {
      table[b] = static_cast<uint8_t>(b);
      continue;
    }
    char16_t c = From(b);
    for (int pass = 0; pass < 2 && c != 0; ++pass) {
      int found = -1;
      for (int t = 0x80; t < 256 && found < 0; ++t)
        if (To(t) == c) found = t;
      if (c < 0x80) found = c;
      if (found >= 0) {
        table[b] = static_cast<uint8_t>(found);
        break;
      }
      c = LookAlike(c);
    }
  }
  return table;
}

constexpr ByteTable kAnsiToOem = BuildConversion<Cp1252Char, Cp850Char>();
constexpr ByteTable kOemToAnsi = BuildConversion<Cp850Char, Cp1252Char>();

}  // namespace

uint8_t AnsiToOem(uint8_t byte) { return kAnsiToOem[byte]; }
uint8_t OemToAnsi(uint8_t byte) { return kOemToAnsi[byte]; }
char32_t Cp850ToUnicode(uint8_t byte) { return Cp850Char(byte); }

}  // namespace morven::platform
