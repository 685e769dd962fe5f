#pragma once
// Pieces of the listing format (.mva) shared by `morven asm` and `morven dis`: the
// program file header and its key schemes, the line records, and the scanner that both
// directions run over the argument bytes of a line to decide which listing notation
// applies where.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morven::listing {

constexpr size_t kHeaderSize = 32;
constexpr size_t kMaxRecordLength = 254;
constexpr size_t kLoaderLineLimit = 32767;
constexpr std::string_view kMagic = "ZOX-MORVEN";  // header bytes 1..10

using Header = std::array<uint8_t, kHeaderSize>;

enum class KeyScheme { kNone, kXor, kIndexed };

struct KeyInfo {
  KeyScheme scheme;
  uint8_t key;
};

const char* SchemeName(KeyScheme scheme);

bool HasMagic(const Header& header);

// The scramble key the loader derives from a header: blanks in bytes 20 and 21 mean
// no scrambling; a "5" in byte 11 selects the indexed scheme (index bytes 26..29 pick
// header bytes 19+i, an index above 11 picks 0); otherwise bytes 20 and 21 or-ed.
KeyInfo DeriveKey(const Header& header);

// The header that `.key none`, `.key xor 0xNN` and `.key indexed 0xNN` stand for.
Header CanonicalHeader(KeyScheme scheme, uint8_t key);

// A program file: its header and the line records, unscrambled.
struct Program {
  Header header{};
  std::vector<std::string> lines;
};

// Reads a program file as the loader does. On failure returns nullopt and describes
// why in *error.
std::optional<Program> ParseProgramFile(std::string_view file, std::string* error);

// The file bytes of a program: header, then per line a length byte and the line's bytes
// scrambled with the header's key.
std::string SerializeProgram(const Program& program);

// Bytes that a listing always writes as \xNN: controls, DEL, the undefined code page
// positions and the two invisible ones (no-break space, soft hyphen).
bool AlwaysEscaped(uint8_t byte);

// Characters of an identifier (labels, function and system variable names).
bool IsIdentifierStart(char c);
bool IsIdentifierChar(char c);
bool IsIdentifier(std::string_view text);

// Tokens whose argument starts with the inner statement's token: the two single-line
// conditional prefixes.
bool IsPrefixToken(uint8_t token);

// True for the system variable type characters $ % & !.
bool IsSystemVariableType(uint8_t byte);

// Tracks, byte by byte over a line's argument text, the two things the notation
// depends on:
//  - whether the text is inside double quotes (every '"' byte of the text toggles,
//    however it was written; code and reference bytes do not, see Feed);
//  - for a conditional prefix line, where the inner statement's token byte sits: after
//    the first top-level ':' of the condition (found the way the argument reader finds
//    it), with one more ':' skipped if it follows at once; when that inner token is
//    itself a prefix, the same applies again to the rest of the line.
class ArgumentScanner {
 public:
  enum class Slot {
    kNone,          // the next byte is ordinary argument text
    kAfterColon,    // the next byte is the inner token, unless it is a second ':'
    kAfterColons,   // the next byte is the inner token
  };

  explicit ArgumentScanner(uint8_t token);

  bool InQuotes() const { return in_quotes_; }
  Slot NextSlot() const { return slot_; }
  // Whether `byte`, if it came next, would be an inner token.
  bool IsInnerToken(uint8_t byte) const;
  // The last byte fed, or -1 at the start.
  int Previous() const { return previous_; }

  // A byte of the text. Bytes written by a name or a reference (a function code, a
  // system variable code, a line reference) are `opaque`: they never open or close
  // quotes, because the runtime reads them as codes, not as text.
  void Feed(uint8_t byte, bool opaque = false);

 private:
  void StartCondition();

  bool in_quotes_ = false;
  int previous_ = -1;
  Slot slot_ = Slot::kNone;
  // Condition scan: the bytes since the prefix token while its ':' is not found yet.
  bool scanning_ = false;
  std::string condition_;
};

// "0x" and two upper-case hex digits.
std::string HexByte(uint8_t byte);
// "\x" and two upper-case hex digits.
std::string EscapeByte(uint8_t byte);

}  // namespace morven::listing
