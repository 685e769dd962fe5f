// The conversion functions: numbers as text in a base, with the number settings or
// with a picture, and the number written in a text.
#include "core/argument_reader.h"
#include "core/number_text.h"
#include "core/registers.h"
#include "core/text_ops.h"
#include "errors/run_error.h"
#include "functions/conversions.h"
#include "functions/function_table.h"
#include "functions/number_format.h"
#include "platform/locale_dates.h"

namespace morven {

ShortString BaseText(int32_t n, int base) {
  constexpr char kDigits[] = "0123456789ABCDEF";
  uint32_t magnitude = n < 0 ? 0u - static_cast<uint32_t>(n) : static_cast<uint32_t>(n);
  char reversed[33];
  size_t count = 0;
  do {
    reversed[count++] = kDigits[magnitude % static_cast<uint32_t>(base)];
    magnitude /= static_cast<uint32_t>(base);
  } while (magnitude != 0);
  ShortString text;
  if (n < 0) text.Append('-');
  while (count > 0) text.Append(reversed[--count]);
  return text;
}

int32_t BasePrefix(std::string_view digits, int base) {
  size_t i = 0;
  while (i < digits.size() && digits[i] == ' ') ++i;
  bool negative = i < digits.size() && digits[i] == '-';
  if (negative) ++i;
  uint64_t value = 0;
  for (; i < digits.size(); ++i) {
    char c = digits[i];
    int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : c >= 'a' && c <= 'f' ? c - 'a' + 10 : 99;
    if (digit >= base) break;
    uint64_t next = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
    if (next > 0xFFFFFFFFu) break;
    value = next;
  }
  auto result = static_cast<uint32_t>(value);
  return static_cast<int32_t>(negative ? 0u - result : result);
}

TextNumber NumberFromText(std::string_view s) {
  std::string_view text = TrimBlanks(s);
  TextNumber number;
  number.type = text.find('.') != std::string_view::npos ? kTypeFloat : kTypeLong;
  if (text.empty()) {
    number.text.Assign("0");
    return number;
  }
  int base = text.front() == '$' ? 16 : text.front() == '&' ? 8 : text.front() == '%' ? 2 : 10;
  if (base != 10) {
    number.integer = BasePrefix(text.substr(1), base);
    number.floating = number.integer;
    number.text = FormatInteger(number.integer, 0);
    return number;
  }
  // The integer prefix keeps its sign also when the text goes on after the digits.
  number.integer = IntegerPrefix(text);
  FloatParse(text, number.floating);
  number.text.Assign(text);
  return number;
}

namespace {

void TextResult(const ShortString& text) {
  StringValue = text;
  ValueType = kTypeString;
}

template <int Base>
void InBase() {
  ReadArgument(')', kKindAny);
  TextResult(BaseText(LongValue, Base));
}

void Picture() {
  ReadArgument(',', kKindString);
  const ShortString picture = StringValue;
  ReadArgument(')', kKindAny);
  ShortString text;
  if (!FormatPicture(FloatValue, picture.View(), platform::LocaleNumberSeparators(), text)) RunError(200, "");
  TextResult(text);
}

void NumberAsText() {
  ReadArgument(')', kKindAny);
  TextResult(ValueType == kTypeFloat ? FloatText(FloatValue) : IntegerText(LongValue));
}

void NumberOfText() {
  ReadArgument(')', kKindAny);
  TextNumber number = NumberFromText(StringValue.View());
  IntValue = number.integer;
  LongValue = number.integer;
  FloatValue = number.floating;
  StringValue = number.text;
  ValueType = number.type;
}

constexpr FunctionEntry kConversions[] = {
    {0x34, InBase<16>},  {0x35, InBase<8>},      {0x36, InBase<2>},
    {0x44, Picture},     {0x9A, NumberAsText},   {0xBD, NumberOfText},
};

}  // namespace

std::span<const FunctionEntry> ConversionFunctions() { return kConversions; }

}  // namespace morven
