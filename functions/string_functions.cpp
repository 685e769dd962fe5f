// The string functions. Each reads its arguments in order; a string result goes to
// StringValue with ValueType 1 and leaves the numeric registers as the last argument
// left them, a numeric result goes to LongValue with ValueType 2.
#include "functions/string_functions.h"

#include "core/argument_reader.h"
#include "core/registers.h"
#include "core/text_ops.h"
#include "errors/run_error.h"
#include "functions/function_table.h"
#include "functions/string_key.h"
#include "platform/codepage.h"

namespace morven {

char LowerChar(char c) {
  auto b = static_cast<uint8_t>(c);
  if ((b >= 'A' && b <= 'Z') || (b >= 0xC0 && b <= 0xDE && b != 0xD7)) return static_cast<char>(b + 0x20);
  return c;
}

void LowerText(ShortString& text) {
  for (size_t i = 0; i < text.length; ++i) text.bytes[i] = LowerChar(text.bytes[i]);
}

ShortString RepeatText(std::string_view s, int32_t n) {
  ShortString out;
  // Once a copy does not fit, none of the later ones does.
  for (int32_t i = 0; i < n && !s.empty() && out.length + s.size() < kShortStringMax; ++i) out.Append(s);
  return out;
}

ShortString Blanks(int32_t n) {
  constexpr size_t kMostBlanks = 254;
  ShortString out;
  for (int32_t i = 0; i < n && out.length < kMostBlanks; ++i) out.Append(' ');
  return out;
}

std::string_view FieldOf(std::string_view s, int32_t n, std::string_view separator) {
  std::string_view rest = s;
  if (separator.empty()) return n == 1 ? rest : std::string_view();
  for (int32_t i = 1; i < n && !rest.empty(); ++i) {
    size_t at = rest.find(separator);
    rest = at == std::string_view::npos ? std::string_view() : rest.substr(at + separator.size());
  }
  return rest.substr(0, rest.find(separator));
}

std::string_view MiddleOf(std::string_view s, int32_t position, int32_t count) {
  auto from = static_cast<size_t>(position - 1);
  if (from >= s.size() || count <= 0) return {};
  return s.substr(from, static_cast<size_t>(count));
}

ShortString DeleteFrom(std::string_view s, int32_t position, int32_t count) {
  auto from = static_cast<size_t>(position - 1);
  ShortString out(s);
  if (from >= s.size() || count <= 0) return out;
  out.Assign(s.substr(0, from));
  size_t removed = static_cast<size_t>(count) < s.size() - from ? static_cast<size_t>(count) : s.size() - from;
  out.Append(s.substr(from + removed));
  return out;
}

ShortString InsertInto(std::string_view s, std::string_view t, int32_t position) {
  size_t at = static_cast<size_t>(position - 1) < t.size() ? static_cast<size_t>(position - 1) : t.size();
  ShortString out(t.substr(0, at));
  out.Append(s);
  out.Append(t.substr(at));
  return out;
}

int32_t PositionOf(std::string_view needle, std::string_view text) {
  if (needle.empty()) return 0;
  size_t at = text.find(needle);
  return at == std::string_view::npos ? 0 : static_cast<int32_t>(at + 1);
}

int CompareBytes(std::string_view a, std::string_view b) {
  // std::string_view compares as char_traits<char>, which orders by unsigned value.
  return a.compare(b);
}

void AnsiToOemText(ShortString& text) {
  for (size_t i = 0; i < text.length; ++i)
    text.bytes[i] = static_cast<char>(platform::AnsiToOem(static_cast<uint8_t>(text.bytes[i])));
}

void OemToAnsiText(ShortString& text) {
  for (size_t i = 0; i < text.length; ++i)
    text.bytes[i] = static_cast<char>(platform::OemToAnsi(static_cast<uint8_t>(text.bytes[i])));
}

namespace {

ShortString ReadText(char context, uint8_t kind = kKindAny) {
  ReadArgument(context, kind);
  return StringValue;
}

int32_t ReadInteger(char context) {
  ReadArgument(context, kKindAny);
  return IntValue;
}


[[noreturn]] void PositionBelowOne() { RunError(204, ""); }

void Left() {
  ShortString s = ReadText(',');
  int32_t n = ReadInteger(')');
  StringResult(n <= 0 ? std::string_view() : s.View().substr(0, static_cast<size_t>(n)));
}

void Right() {
  ShortString s = ReadText(',');
  int32_t n = ReadInteger(')');
  if (n < 1 || n > s.length) PositionBelowOne();
  StringResult(s.View().substr(s.length - static_cast<size_t>(n)));
}

void Repeat() {
  ShortString s = ReadText(',');
  int32_t n = ReadInteger(')');
  StringResult(RepeatText(s.View(), n).View());
}

void Space() { StringResult(Blanks(ReadInteger(')')).View()); }

void Replace() {
  ShortString s = ReadText(',');
  ShortString t = ReadText(',', kKindString);
  ShortString u = ReadText(')', kKindString);
  StringResult(ReplaceAll(s.View(), t.View(), u.View()).View());
}

void Scramble() {
  ShortString s = ReadText(')', kKindString);
  ApplyStringKey(s, TextScrambleKey);
  StringResult(s.View());
}

void Field() {
  ShortString s = ReadText(',');
  int32_t n = ReadInteger(',');
  ShortString t = ReadText(')');
  if (n < 1) RunError(205, "");
  StringResult(FieldOf(s.View(), n, t.View()));
}

void Lower() {
  ShortString s = ReadText(')');
  LowerText(s);
  StringResult(s.View());
}

void Upper() {
  ShortString s = ReadText(')');
  UpperText(s);
  StringResult(s.View());
}

enum class Relation { Equal, NotEqual, Less, Greater };

template <Relation R>
void CompareStrings() {
  ShortString s = ReadText(',');
  ShortString t = ReadText(')');
  int c = CompareBytes(s.View(), t.View());
  bool result = R == Relation::Equal ? c == 0 : R == Relation::NotEqual ? c != 0 : R == Relation::Less ? c < 0 : c > 0;
  IntegerResult(result ? 1 : 0);
}

void Character() {
  char byte = static_cast<char>(static_cast<uint32_t>(ReadInteger(')')) & 0xFFu);
  StringResult(std::string_view(&byte, 1));
}

void Concatenate() {
  ShortString s = ReadText(',');
  ShortString t = ReadText(')');
  s.Append(t.View());
  StringResult(s.View());
}

void Middle() {
  ShortString s = ReadText(',');
  int32_t n = ReadInteger(',');
  int32_t m = ReadInteger(')');
  if (n < 1) PositionBelowOne();
  StringResult(MiddleOf(s.View(), n, m));
}

void Delete() {
  ShortString s = ReadText(',');
  int32_t n = ReadInteger(',');
  int32_t m = ReadInteger(')');
  if (n < 1) PositionBelowOne();
  StringResult(DeleteFrom(s.View(), n, m).View());
}

void Insert() {
  ShortString s = ReadText(',');
  ShortString t = ReadText(',');
  int32_t n = ReadInteger(')');
  if (n < 1) PositionBelowOne();
  StringResult(InsertInto(s.View(), t.View(), n).View());
}

void Length() { IntegerResult(ReadText(')').length); }

void Position() {
  ShortString s = ReadText(',');
  ShortString t = ReadText(')');
  IntegerResult(PositionOf(s.View(), t.View()));
}

void Code() {
  ShortString s = ReadText(')');
  IntegerResult(s.Empty() ? 0 : static_cast<uint8_t>(s.bytes[0]));
}

void Trim() {
  ShortString s = ReadText(')');
  StringResult(TrimBlanks(s.View()));
}

void AnsiToOem() {
  ShortString s = ReadText(')', kKindString);
  AnsiToOemText(s);
  StringResult(s.View());
}

void OemToAnsi() {
  ShortString s = ReadText(')', kKindString);
  OemToAnsiText(s);
  StringResult(s.View());
}

constexpr FunctionEntry kStrings[] = {
    {0x37, Left},        {0x38, Right},       {0x39, Repeat},
    {0x3A, Space},       {0x62, Replace},     {0x76, Scramble},
    {0x7E, Field},       {0x7F, Lower},       {0x8D, CompareStrings<Relation::Equal>},
    {0x8E, CompareStrings<Relation::NotEqual>}, {0x8F, CompareStrings<Relation::Less>},
    {0x90, CompareStrings<Relation::Greater>},  {0x91, Character},  {0x92, Concatenate},
    {0x93, Middle},      {0x94, Delete},      {0x95, Insert},
    {0x96, Length},      {0x97, Position},    {0x98, Code},
    {0x99, Trim},        {0xA1, Upper},       {0xBE, AnsiToOem},
    {0xBF, OemToAnsi},
};

}  // namespace

std::span<const FunctionEntry> StringFunctions() { return kStrings; }

}  // namespace morven
