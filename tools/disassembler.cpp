#include "tools/disassembler.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <set>
#include <sstream>

#include "core/token_names.h"
#include "functions/function_names.h"
#include "functions/system_variable_names.h"
#include "platform/codepage.h"

namespace morven::listing {
namespace {

// Lines that some reference names; they get a label "L<n>:".
using LabelSet = std::set<unsigned>;

class LineFormatter {
 public:
  LineFormatter(size_t line_count, const LabelSet* labels, LabelSet* referenced)
      : line_count_(line_count), labels_(labels), referenced_(referenced) {}

  // The argument text of a line whose token is `token`.
  std::string Arguments(uint8_t token, std::string_view args) {
    ArgumentScanner scanner(token);
    std::string out;
    size_t i = 0;
    const size_t n = args.size();
    auto byte = [&](size_t k) { return static_cast<uint8_t>(args[k]); };
    auto take = [&](size_t count) {
      for (size_t k = 0; k < count; ++k) scanner.Feed(byte(i + k));
      i += count;
    };
    // Bytes written as a name or a reference: they never open or close quotes.
    auto take_code = [&](size_t count) {
      for (size_t k = 0; k < count; ++k) scanner.Feed(byte(i + k), true);
      i += count;
    };

    // A procedure call's first two bytes are its target line.
    if (IsProcedureCallToken(token) && n >= 2) {
      out += Reference(byte(0) | byte(1) << 8);
      take_code(2);
    }

    while (i < n) {
      uint8_t b = byte(i);
      if (scanner.IsInnerToken(b)) {
        out += '{';
        out += TokenText(b);
        out += '}';
        take(1);
        continue;
      }
      bool quoted = scanner.InQuotes();

      if (!quoted && b == '@') {
        if (i + 1 < n && byte(i + 1) >= 0x21 && byte(i + 1) <= 0xFE) {
          uint8_t code = byte(i + 1);
          out += '@';
          out += FunctionName(code);
          take_code(2);
          // A user-defined function's definition line follows the code, unless a byte
          // of it is the inner token of a prefix (which only odd condition text causes):
          // then the bytes stay ordinary text.
          if (!HasBuiltinFunction(code) && i + 2 <= n) {
            ArgumentScanner probe = scanner;
            bool clash = probe.IsInnerToken(byte(i));
            probe.Feed(byte(i));
            clash = clash || probe.IsInnerToken(byte(i + 1));
            if (!clash) {
              out += Reference(byte(i) | byte(i + 1) << 8);
              take_code(2);
            }
          }
          out += '(';
          continue;
        }
        // "@" before a byte that is no function code, or at the end: the byte is
        // escaped so that it cannot be read as a name.
        out += '@';
        take(1);
        if (i < n && !scanner.IsInnerToken(byte(i))) {
          out += EscapeByte(byte(i));
          take(1);
        }
        continue;
      }

      if (!quoted && IsSystemVariableType(b) && i + 1 < n && SystemVariableName(byte(i + 1)) != nullptr) {
        out += static_cast<char>(b);
        out += '{';
        out += SystemVariableName(byte(i + 1));
        out += '}';
        take_code(2);
        continue;
      }

      bool escape = AlwaysEscaped(b) || (b == ' ' && i + 1 == n) ||               // trailing blank
                    (b == '\\' && i + 1 < n && byte(i + 1) == 'x') ||             // not an escape
                    (b == '{' && !quoted && scanner.Previous() >= 0 &&            // not a system
                     IsSystemVariableType(static_cast<uint8_t>(scanner.Previous()))) ||  // variable
                    (b == '<' && i == 0 && IsProcedureCallToken(token));          // not a reference
      if (escape) {
        out += EscapeByte(b);
      } else {
        platform::AppendUtf8(out, platform::Cp1252ToUnicode(b));
      }
      take(1);
    }
    return out;
  }

 private:
  std::string TokenText(uint8_t token) {
    const char* mnemonic = TokenMnemonic(token);
    return mnemonic != nullptr ? std::string(mnemonic) : HexByte(token);
  }

  std::string Reference(unsigned line) {
    bool is_line = line >= 1 && line <= line_count_;
    if (is_line && referenced_ != nullptr) referenced_->insert(line);
    if (is_line && labels_ != nullptr && labels_->count(line) != 0) return "<L" + std::to_string(line) + ">";
    return "<" + std::to_string(line) + ">";
  }

  size_t line_count_;
  const LabelSet* labels_;
  LabelSet* referenced_;
};

std::string StatementText(LineFormatter& formatter, std::string_view line) {
  if (line.empty()) return ".empty";
  auto token = static_cast<uint8_t>(line[0]);
  const char* mnemonic = TokenMnemonic(token);
  std::string out = mnemonic != nullptr ? mnemonic : HexByte(token);
  if (line.size() > 1) {
    out += ' ';
    out += formatter.Arguments(token, line.substr(1));
  }
  return out;
}

// Block structure, only for indentation: the listing reads the same without it.
int IndentChange(std::string_view line, int* before) {
  *before = 0;
  if (line.empty()) return 0;
  switch (static_cast<uint8_t>(line[0])) {
    case 0x85:  // IFBLOCK
    case 0x87:  // IFNOTBLOCK
    case 0x88:  // WHILE
    case 0x89:  // WHILENOT
    case 0x8F:  // PROC
      return 1;
    case 0x84:  // ENDIF
    case 0x8A:  // WEND
    case 0x8C:  // ENDPROC
      *before = -1;
      return -1;
    case 0x86:  // ELSE
    case 0xF3:  // ELSEIF
      *before = -1;
      return 0;
    default:
      return 0;
  }
}

std::string HeaderText(const Header& header) {
  KeyInfo key = DeriveKey(header);
  if (header == CanonicalHeader(key.scheme, key.key)) {
    if (key.scheme == KeyScheme::kNone) return ".key none\n";
    return std::string(".key ") + SchemeName(key.scheme) + " " + HexByte(key.key) + "\n";
  }
  std::string out = ".header";
  for (uint8_t b : header) {
    out += ' ';
    out += HexByte(b).substr(2);
  }
  out += "\n; key scheme ";
  out += SchemeName(key.scheme);
  out += ", key " + HexByte(key.key) + "\n";
  return out;
}

}  // namespace

std::string Disassemble(const Program& program) {
  const size_t count = program.lines.size();
  LabelSet labels;
  {
    LineFormatter collector(count, nullptr, &labels);
    for (const std::string& line : program.lines) StatementText(collector, line);
  }

  std::string out = "; MORVEN program, " + std::to_string(count) + (count == 1 ? " line\n" : " lines\n");
  out += HeaderText(program.header);
  if (count > 0) out += '\n';

  LineFormatter formatter(count, &labels, nullptr);
  int depth = 0;
  for (size_t n = 1; n <= count; ++n) {
    const std::string& line = program.lines[n - 1];
    if (labels.count(static_cast<unsigned>(n)) != 0) out += "L" + std::to_string(n) + ":\n";
    int before = 0;
    int change = IndentChange(line, &before);
    int indent = depth + before > 0 ? depth + before : 0;
    out.append(2 * static_cast<size_t>(indent), ' ');
    out += StatementText(formatter, line);
    out += '\n';
    depth = depth + change > 0 ? depth + change : 0;
  }
  return out;
}

}  // namespace morven::listing

namespace morven {

int RunDisassembler(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::cerr << "usage: morven dis IN.mvc [OUT.mva]\n";
    return 2;
  }
  const std::string in_path = argv[1];
  std::ifstream in(in_path, std::ios::binary);
  if (!in) {
    std::cerr << "morven dis: cannot open " << in_path << "\n";
    return 1;
  }
  std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) {
    std::cerr << "morven dis: cannot read " << in_path << "\n";
    return 1;
  }
  std::string error;
  std::optional<listing::Program> program = listing::ParseProgramFile(data, &error);
  if (!program) {
    std::cerr << "morven dis: " << in_path << ": not a loadable MORVEN program: " << error << "\n";
    return 1;
  }
  if (program->lines.size() > listing::kLoaderLineLimit) {
    std::cerr << "morven dis: warning: " << in_path << " has " << program->lines.size()
              << " lines; morvrun loads at most " << listing::kLoaderLineLimit << "\n";
  }
  std::string text = listing::Disassemble(*program);
  if (argc == 3) {
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) {
      std::cerr << "morven dis: cannot write " << argv[2] << "\n";
      return 1;
    }
  } else {
    std::cout << text;
    std::cout.flush();
    if (!std::cout) return 1;
  }
  return 0;
}

}  // namespace morven
