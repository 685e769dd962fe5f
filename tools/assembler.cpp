#include "tools/assembler.h"

#include <algorithm>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>

#include "core/token_names.h"
#include "functions/function_names.h"
#include "functions/system_variable_names.h"
#include "platform/codepage.h"

namespace morven::listing {
namespace {

// A problem in one listing line; the line is skipped and assembly goes on, so that one
// run reports every faulty line.
struct LineError {
  std::string message;
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// "HH", two hex digits of either case.
std::optional<uint8_t> ParseHexPair(std::string_view text) {
  if (text.size() != 2 || HexDigit(text[0]) < 0 || HexDigit(text[1]) < 0) return std::nullopt;
  return static_cast<uint8_t>(HexDigit(text[0]) * 16 + HexDigit(text[1]));
}

// "0xNN" with one or two hex digits.
std::optional<uint8_t> ParseHexByte(std::string_view text) {
  if (text.size() < 3 || text.size() > 4 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X')) return std::nullopt;
  int value = 0;
  for (char c : text.substr(2)) {
    if (HexDigit(c) < 0) return std::nullopt;
    value = value * 16 + HexDigit(c);
  }
  return static_cast<uint8_t>(value);
}

std::vector<std::string_view> SplitWords(std::string_view text) {
  std::vector<std::string_view> words;
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && IsBlank(text[i])) ++i;
    size_t start = i;
    while (i < text.size() && !IsBlank(text[i])) ++i;
    if (i > start) words.push_back(text.substr(start, i - start));
  }
  return words;
}

std::string Quoted(std::string_view text) { return "'" + std::string(text) + "'"; }

// The token of a mnemonic or of "0xNN".
uint8_t ParseToken(std::string_view word) {
  if (auto hex = ParseHexByte(word)) return *hex;
  int token = FindTokenByMnemonic(word);
  if (token < 0) throw LineError{"unknown mnemonic " + Quoted(word)};
  return static_cast<uint8_t>(token);
}

// One listing line after the first pass.
struct SourceLine {
  enum class Kind { kStatement, kEmptyRecord };
  Kind kind;
  size_t number;          // listing line number
  std::string_view mnemonic;
  std::string_view args;  // the argument text, empty when the line has none
  bool has_args;
};

using LabelTable = std::map<std::string, unsigned, std::less<>>;

class ArgumentAssembler {
 public:
  ArgumentAssembler(uint8_t token, std::string_view text, const LabelTable& labels)
      : token_(token), text_(text), labels_(labels), scanner_(token) {}

  std::string Run() {
    if (IsProcedureCallToken(token_) && At('<')) Reference();
    while (pos_ < text_.size()) {
      char c = text_[pos_];
      if (scanner_.NextSlot() != ArgumentScanner::Slot::kNone && c == '{') {
        InnerToken();
        continue;
      }
      bool quoted = scanner_.InQuotes();
      if (!quoted && c == '@' && pos_ + 1 < text_.size() && IsIdentifierStart(text_[pos_ + 1])) {
        FunctionCall();
        continue;
      }
      if (!quoted && IsSystemVariableType(static_cast<uint8_t>(c)) && pos_ + 1 < text_.size() &&
          text_[pos_ + 1] == '{') {
        SystemVariable();
        continue;
      }
      if (c == '\\' && pos_ + 1 < text_.size() && text_[pos_ + 1] == 'x') {
        auto value = ParseHexPair(text_.substr(pos_ + 2, 2));
        if (!value) throw LineError{"bad escape " + Quoted(text_.substr(pos_, 4)) + ": \\x needs two hex digits"};
        Emit(*value);
        pos_ += 4;
        continue;
      }
      Character();
    }
    return bytes_;
  }

 private:
  bool At(char c) const { return pos_ < text_.size() && text_[pos_] == c; }

  void Emit(uint8_t byte, bool opaque = false) {
    bytes_ += static_cast<char>(byte);
    scanner_.Feed(byte, opaque);
  }

  // The text up to the closing character `close`, starting after the opening one.
  std::string_view Bracketed(char close, const char* what) {
    size_t end = text_.find(close, pos_ + 1);
    if (end == std::string_view::npos) throw LineError{std::string("unterminated ") + what};
    std::string_view inside = text_.substr(pos_ + 1, end - pos_ - 1);
    pos_ = end + 1;
    return inside;
  }

  // <name> or <decimal line number>: two bytes, low byte first.
  void Reference() {
    std::string_view inside = Bracketed('>', "line reference (missing '>')");
    unsigned line = 0;
    if (!inside.empty() && inside.find_first_not_of("0123456789") == std::string_view::npos) {
      if (inside.size() > 5 || std::stoul(std::string(inside)) > 0xFFFF) {
        throw LineError{"line number " + std::string(inside) + " does not fit two bytes"};
      }
      line = static_cast<unsigned>(std::stoul(std::string(inside)));
    } else if (IsIdentifier(inside)) {
      auto it = labels_.find(inside);
      if (it == labels_.end()) throw LineError{"unknown label " + Quoted(inside)};
      line = it->second;
    } else {
      throw LineError{"bad line reference " + Quoted("<" + std::string(inside) + ">")};
    }
    Emit(static_cast<uint8_t>(line & 0xFF), true);
    Emit(static_cast<uint8_t>(line >> 8), true);
  }

  void InnerToken() {
    std::string_view inside = Bracketed('}', "inner statement token (missing '}')");
    Emit(ParseToken(inside));
  }

  // @NAME( or, for a user-defined code, @FNxx<ref>( with an optional reference.
  void FunctionCall() {
    size_t start = ++pos_;
    while (pos_ < text_.size() && IsIdentifierChar(text_[pos_])) ++pos_;
    std::string_view name = text_.substr(start, pos_ - start);
    int code = FindFunctionByName(name);
    if (code < 0) throw LineError{"unknown function " + Quoted("@" + std::string(name))};
    Emit('@');
    Emit(static_cast<uint8_t>(code), true);
    if (At('<')) {
      if (HasBuiltinFunction(static_cast<uint8_t>(code))) {
        throw LineError{"@" + std::string(name) + " is a built-in function and takes no line reference"};
      }
      Reference();
    }
    if (!At('(')) throw LineError{"'(' expected after @" + std::string(name)};
    ++pos_;
  }

  // $%&! followed by {NAME}.
  void SystemVariable() {
    char type = text_[pos_];
    ++pos_;
    std::string_view name = Bracketed('}', "system variable name (missing '}')");
    int code = FindSystemVariableByName(name);
    if (code < 0) throw LineError{"unknown system variable " + Quoted(std::string(1, type) + "{" + std::string(name) + "}")};
    Emit(static_cast<uint8_t>(type));
    Emit(static_cast<uint8_t>(code), true);
  }

  // One UTF-8 character, stored as its Windows-1252 byte.
  void Character() {
    size_t start = pos_;
    char32_t cp = platform::DecodeUtf8(text_, pos_);
    int byte = cp == 0xFFFFFFFF ? -1 : platform::UnicodeToCp1252(cp);
    if (cp == 0xFFFFFFFF) throw LineError{"invalid UTF-8 at column " + std::to_string(start + 1)};
    if (byte < 0) {
      throw LineError{"character " + Quoted(text_.substr(start, pos_ - start)) +
                      " has no Windows-1252 byte; write it as \\xNN"};
    }
    Emit(static_cast<uint8_t>(byte));
  }

  uint8_t token_;
  std::string_view text_;
  const LabelTable& labels_;
  ArgumentScanner scanner_;
  size_t pos_ = 0;
  std::string bytes_;
};

class ListingAssembler {
 public:
  ListingAssembler(std::string_view text, const std::string& file_name) : text_(text), file_(file_name) {}

  AssembleResult Run() {
    ReadLines();
    Program program;
    program.header = header_ ? *header_ : CanonicalHeader(KeyScheme::kNone, 0);
    for (const SourceLine& line : statements_) {
      try {
        program.lines.push_back(AssembleLine(line));
      } catch (const LineError& e) {
        Error(line.number, e.message);
      }
    }
    if (program.lines.size() > kLoaderLineLimit) {
      result_.warnings.push_back(file_ + ": warning: " + std::to_string(program.lines.size()) +
                                 " lines; morvrun loads at most " + std::to_string(kLoaderLineLimit));
    }
    if (!HasMagic(program.header)) {
      result_.warnings.push_back(file_ + ":" + std::to_string(header_line_) +
                                 ": warning: header bytes 1..10 are not \"ZOX-MORVEN\"; morvrun will refuse the file");
    }
    if (result_.errors.empty()) result_.program = std::move(program);
    return std::move(result_);
  }

 private:
  void Error(size_t line, const std::string& message) {
    result_.errors.push_back(file_ + ":" + std::to_string(line) + ": " + message);
  }

  // First pass: comments, labels and directives; the statements are kept for the
  // second pass, once every label's line is known.
  void ReadLines() {
    std::vector<std::pair<std::string, size_t>> pending_labels;  // name, listing line
    size_t number = 0;
    size_t pos = 0;
    if (text_.substr(0, 3) == "\xEF\xBB\xBF") pos = 3;  // byte order mark
    while (pos < text_.size()) {
      size_t end = text_.find('\n', pos);
      if (end == std::string_view::npos) end = text_.size();
      std::string_view line = text_.substr(pos, end - pos);
      pos = end + 1;
      ++number;
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      try {
        ReadLine(line, number, pending_labels);
      } catch (const LineError& e) {
        Error(number, e.message);
      }
    }
    for (const auto& [name, line] : pending_labels) {
      Error(line, "label " + Quoted(name) + " is not followed by a statement");
    }
  }

  void ReadLine(std::string_view line, size_t number, std::vector<std::pair<std::string, size_t>>& pending_labels) {
    size_t start = 0;
    while (start < line.size() && IsBlank(line[start])) ++start;
    std::string_view rest = line.substr(start);
    if (rest.empty() || rest[0] == ';') return;

    if (rest[0] == '.') {
      std::vector<std::string_view> words = SplitWords(rest);
      if (words[0] == ".empty") {
        if (words.size() != 1) throw LineError{".empty takes nothing after it"};
        AddStatement({SourceLine::Kind::kEmptyRecord, number, {}, {}, false}, pending_labels);
      } else if (words[0] == ".key" || words[0] == ".header") {
        if (header_) {
          throw LineError{"a second " + std::string(words[0]) + " (the header is already given in line " +
                          std::to_string(header_line_) + ")"};
        }
        header_ = words[0] == ".key" ? KeyDirective(words) : HeaderDirective(words);
        header_line_ = number;
      } else {
        throw LineError{"unknown directive " + Quoted(words[0])};
      }
      return;
    }

    std::string_view trimmed = rest;
    while (!trimmed.empty() && IsBlank(trimmed.back())) trimmed.remove_suffix(1);
    if (trimmed.back() == ':' && IsIdentifier(trimmed.substr(0, trimmed.size() - 1))) {
      std::string name(trimmed.substr(0, trimmed.size() - 1));
      if (labels_.count(name) != 0 || std::any_of(pending_labels.begin(), pending_labels.end(),
                                                   [&](const auto& p) { return p.first == name; })) {
        throw LineError{"label " + Quoted(name) + " is defined twice"};
      }
      pending_labels.emplace_back(std::move(name), number);
      return;
    }

    size_t blank = rest.find_first_of(" \t");
    SourceLine statement{SourceLine::Kind::kStatement, number, rest, {}, false};
    if (blank != std::string_view::npos) {
      if (rest[blank] == '\t') {
        throw LineError{"a tab follows " + Quoted(rest.substr(0, blank)) +
                        "; one blank separates the mnemonic from its argument text"};
      }
      statement.mnemonic = rest.substr(0, blank);
      statement.args = rest.substr(blank + 1);
      statement.has_args = true;
    }
    AddStatement(statement, pending_labels);
  }

  void AddStatement(const SourceLine& line, std::vector<std::pair<std::string, size_t>>& pending_labels) {
    statements_.push_back(line);
    for (auto& entry : pending_labels) labels_[entry.first] = static_cast<unsigned>(statements_.size());
    pending_labels.clear();
  }

  static Header KeyDirective(const std::vector<std::string_view>& words) {
    if (words.size() == 2 && words[1] == "none") return CanonicalHeader(KeyScheme::kNone, 0);
    if (words.size() == 3 && (words[1] == "xor" || words[1] == "indexed")) {
      auto key = ParseHexByte(words[2]);
      if (!key) throw LineError{"bad key " + Quoted(words[2]) + " (expected 0xNN)"};
      return CanonicalHeader(words[1] == "xor" ? KeyScheme::kXor : KeyScheme::kIndexed, *key);
    }
    throw LineError{"expected .key none, .key xor 0xNN or .key indexed 0xNN"};
  }

  static Header HeaderDirective(const std::vector<std::string_view>& words) {
    if (words.size() != kHeaderSize + 1) {
      throw LineError{".header needs 32 hex bytes, got " + std::to_string(words.size() - 1)};
    }
    Header header;
    for (size_t i = 0; i < kHeaderSize; ++i) {
      auto value = ParseHexPair(words[i + 1]);
      if (!value) throw LineError{"bad header byte " + Quoted(words[i + 1]) + " (expected two hex digits)"};
      header[i] = *value;
    }
    return header;
  }

  std::string AssembleLine(const SourceLine& line) {
    if (line.kind == SourceLine::Kind::kEmptyRecord) return {};
    uint8_t token = ParseToken(line.mnemonic);
    std::string bytes(1, static_cast<char>(token));
    if (line.has_args) bytes += ArgumentAssembler(token, line.args, labels_).Run();
    if (bytes.size() > kMaxRecordLength) {
      throw LineError{"line is " + std::to_string(bytes.size()) + " bytes long; at most " +
                      std::to_string(kMaxRecordLength) + " are allowed"};
    }
    return bytes;
  }

  std::string_view text_;
  std::string file_;
  AssembleResult result_;
  std::optional<Header> header_;
  size_t header_line_ = 0;
  LabelTable labels_;
  std::vector<SourceLine> statements_;
};

}  // namespace

AssembleResult Assemble(std::string_view text, const std::string& file_name) {
  return ListingAssembler(text, file_name).Run();
}

}  // namespace morven::listing

namespace morven {

int RunAssembler(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: morven asm IN.mva OUT.mvc\n";
    return 2;
  }
  const std::string in_path = argv[1];
  const std::string out_path = argv[2];
  std::ifstream in(in_path, std::ios::binary);
  if (!in) {
    std::cerr << "morven asm: cannot open " << in_path << "\n";
    return 1;
  }
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) {
    std::cerr << "morven asm: cannot read " << in_path << "\n";
    return 1;
  }
  listing::AssembleResult result = listing::Assemble(text, in_path);
  for (const std::string& warning : result.warnings) std::cerr << warning << "\n";
  for (const std::string& error : result.errors) std::cerr << error << "\n";
  if (!result.program) return 1;

  std::ofstream out(out_path, std::ios::binary | std::ios::trunc);
  out << listing::SerializeProgram(*result.program);
  out.close();
  if (!out) {
    std::cerr << "morven asm: cannot write " << out_path << "\n";
    return 1;
  }
  return 0;
}

}  // namespace morven
