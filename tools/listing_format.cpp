#include "tools/listing_format.h"

#include <cstring>

#include "core/text_ops.h"

namespace morven::listing {

const char* SchemeName(KeyScheme scheme) {
  switch (scheme) {
    case KeyScheme::kNone:
      return "none";
    case KeyScheme::kXor:
      return "xor";
    case KeyScheme::kIndexed:
      return "indexed";
  }
  return "?";
}

bool HasMagic(const Header& header) { return std::memcmp(header.data() + 1, kMagic.data(), kMagic.size()) == 0; }

KeyInfo DeriveKey(const Header& p) {
  if (p[20] == 0x20 && p[21] == 0x20) return {KeyScheme::kNone, 0};
  if (p[11] == '5') {
    // B(i) is header byte 19 + i; indexes beyond byte 30 contribute 0.
    auto b = [&](uint8_t index) -> uint8_t { return index > 11 ? 0 : p[19 + index]; };
    uint8_t i1 = p[26], i2 = p[27], i3 = p[28], i4 = p[29];
    return {KeyScheme::kIndexed, static_cast<uint8_t>((b(i2) | b(i4)) & (b(i1) | b(i3)))};
  }
  return {KeyScheme::kXor, static_cast<uint8_t>(p[20] | p[21])};
}

Header CanonicalHeader(KeyScheme scheme, uint8_t key) {
  Header h;
  h.fill(0x20);
  std::memcpy(h.data() + 1, kMagic.data(), kMagic.size());
  switch (scheme) {
    case KeyScheme::kNone:
      break;
    case KeyScheme::kXor:
      h[20] = key;
      h[21] = 0x00;
      break;
    case KeyScheme::kIndexed:
      // I1 = I2 = 1 select byte 20, I3 = I4 = 12 select nothing: key = byte 20.
      h[11] = '5';
      h[20] = key;
      h[21] = 0x00;
      h[26] = 1;
      h[27] = 1;
      h[28] = 12;
      h[29] = 12;
      break;
  }
  return h;
}

std::optional<Program> ParseProgramFile(std::string_view file, std::string* error) {
  if (file.size() < kHeaderSize) {
    *error = "file is shorter than the 32-byte header";
    return std::nullopt;
  }
  Program program;
  std::memcpy(program.header.data(), file.data(), kHeaderSize);
  if (!HasMagic(program.header)) {
    *error = "header bytes 1..10 are not \"ZOX-MORVEN\"";
    return std::nullopt;
  }
  uint8_t key = DeriveKey(program.header).key;
  size_t pos = kHeaderSize;
  while (pos < file.size()) {
    size_t number = program.lines.size() + 1;
    size_t length = static_cast<uint8_t>(file[pos]);
    if (file.size() - pos - 1 < length) {
      *error = "file ends inside line " + std::to_string(number);
      return std::nullopt;
    }
    if (length > kMaxRecordLength) {
      *error = "line " + std::to_string(number) + " has length 255 (at most 254 allowed)";
      return std::nullopt;
    }
    std::string line(file.substr(pos + 1, length));
    for (char& c : line) c = static_cast<char>(static_cast<uint8_t>(c) ^ key);
    program.lines.push_back(std::move(line));
    pos += 1 + length;
  }
  return program;
}

std::string SerializeProgram(const Program& program) {
  uint8_t key = DeriveKey(program.header).key;
  std::string out(reinterpret_cast<const char*>(program.header.data()), kHeaderSize);
  for (const std::string& line : program.lines) {
    out += static_cast<char>(line.size());
    for (char c : line) out += static_cast<char>(static_cast<uint8_t>(c) ^ key);
  }
  return out;
}

bool AlwaysEscaped(uint8_t b) {
  return b < 0x20 || b == 0x7F || b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D || b == 0xA0 ||
         b == 0xAD;
}

bool IsIdentifierStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool IsIdentifierChar(char c) { return IsIdentifierStart(c) || (c >= '0' && c <= '9') || c == '_'; }

bool IsIdentifier(std::string_view text) {
  if (text.empty() || !IsIdentifierStart(text[0])) return false;
  for (char c : text) {
    if (!IsIdentifierChar(c)) return false;
  }
  return true;
}

bool IsPrefixToken(uint8_t token) { return token == 0x81 || token == 0x82; }

bool IsSystemVariableType(uint8_t b) { return b == '$' || b == '%' || b == '&' || b == '!'; }

ArgumentScanner::ArgumentScanner(uint8_t token) {
  if (IsPrefixToken(token)) StartCondition();
}

void ArgumentScanner::StartCondition() {
  scanning_ = true;
  condition_.clear();
}

bool ArgumentScanner::IsInnerToken(uint8_t byte) const {
  return slot_ == Slot::kAfterColons || (slot_ == Slot::kAfterColon && byte != ':');
}

void ArgumentScanner::Feed(uint8_t byte, bool opaque) {
  if (byte == '"' && !opaque) in_quotes_ = !in_quotes_;
  previous_ = byte;

  if (slot_ != Slot::kNone) {
    if (slot_ == Slot::kAfterColon && byte == ':') {
      slot_ = Slot::kAfterColons;
      return;
    }
    slot_ = Slot::kNone;
    if (IsPrefixToken(byte)) StartCondition();
    return;
  }
  if (!scanning_) return;
  // The condition ends at the first top-level ':' of the text since the prefix token,
  // as the argument reader finds it. Once found, that position cannot change as bytes
  // are appended, so it is found exactly when its ':' is fed.
  condition_ += static_cast<char>(byte);
  if (byte == ':' && FindTopLevel(':', condition_) == condition_.size()) {
    scanning_ = false;
    slot_ = Slot::kAfterColon;
  }
}

std::string HexByte(uint8_t byte) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  return {'0', 'x', kHex[byte >> 4], kHex[byte & 0xF]};
}

std::string EscapeByte(uint8_t byte) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  return {'\\', 'x', kHex[byte >> 4], kHex[byte & 0xF]};
}

}  // namespace morven::listing
