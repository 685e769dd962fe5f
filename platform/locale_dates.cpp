#include "platform/locale_dates.h"

#include <langinfo.h>
#include <locale.h>
#include <time.h>

#include <cstdlib>
#include <cstring>

#include "platform/codepage.h"

namespace morven::platform {
namespace {

constexpr char32_t kNoCharacter = 0xFFFFFFFF;

// Walks a strftime format and records the order of the date fields and the first
// character that follows the first of them.
struct FormatScan {
  bool utf8;
  char order[3] = {0, 0, 0};
  int fields = 0;
  enum { kBeforeFirstField, kAfterFirstField, kDone } separator_state = kBeforeFirstField;
  char32_t separator = kNoCharacter;

  void Field(char letter) {
    if (separator_state == kAfterFirstField) separator_state = kDone;
    if (letter != 0) {
      if (separator_state == kBeforeFirstField) separator_state = kAfterFirstField;
      if (std::memchr(order, letter, static_cast<size_t>(fields)) == nullptr && fields < 3) order[fields++] = letter;
    }
  }

  void Literal(char32_t c) {
    if (separator_state == kAfterFirstField) {
      separator = c;
      separator_state = kDone;
    }
  }

  void Scan(std::string_view format) {
    size_t i = 0;
    while (i < format.size()) {
      if (format[i] != '%') {
        Literal(NextCharacter(format, i));
        continue;
      }
      ++i;
      while (i < format.size() && std::strchr("_-0^#", format[i]) != nullptr) ++i;  // flags
      while (i < format.size() && format[i] >= '0' && format[i] <= '9') ++i;       // width
      if (i < format.size() && (format[i] == 'E' || format[i] == 'O')) ++i;         // modifiers
      if (i >= format.size()) break;
      Conversion(format[i++]);
    }
  }

  void Conversion(char c) {
    switch (c) {
      case 'd': case 'e': Field('d'); break;
      case 'm': case 'b': case 'B': case 'h': Field('M'); break;
      case 'y': case 'Y': case 'C': case 'G': case 'g': Field('y'); break;
      case 'D': Scan("%m/%d/%y"); break;
      case 'F': Scan("%Y-%m-%d"); break;
      case '%': Literal('%'); break;
      case 'n': Literal('\n'); break;
      case 't': Literal('\t'); break;
      default: Field(0); break;  // weekday names and the like: no date field
    }
  }

  char32_t NextCharacter(std::string_view text, size_t& i) const {
    if (utf8) return DecodeUtf8(text, i);
    return static_cast<uint8_t>(text[i++]);
  }
};

// A character of a locale text as one Windows-1252 byte, or -1.
int Cp1252Of(char32_t c) {
  if (c == kNoCharacter) return -1;
  if (c == 0x202F || c == 0x2009 || c == 0x2007) return 0xA0;  // narrow, thin, figure space
  return UnicodeToCp1252(c);
}

// The first character of a locale text as one Windows-1252 byte, or -1 (also for "").
int FirstCharacter(std::string_view text, bool utf8) {
  if (text.empty()) return -1;
  size_t i = 0;
  char32_t c = utf8 ? DecodeUtf8(text, i) : static_cast<uint8_t>(text[0]);
  return Cp1252Of(c);
}

const char* Environment(const char* name) { return std::getenv(name); }

// The locale of one category, or (locale_t)0 when the environment names no regional
// settings or a locale the host does not have.
locale_t OpenLocale(int mask, const char* category_variable) {
  std::string_view name = LocaleNameFor(Environment("LC_ALL"), Environment(category_variable), Environment("LANG"));
  if (IsPlainLocale(name)) return static_cast<locale_t>(0);
  char buffer[256];
  size_t n = name.size() < sizeof buffer - 1 ? name.size() : sizeof buffer - 1;
  std::memcpy(buffer, name.data(), n);
  buffer[n] = '\0';
  // With its character set (LC_CTYPE): the category's texts are written in it.
  return newlocale(mask | LC_CTYPE_MASK, buffer, static_cast<locale_t>(0));
}

bool IsUtf8(locale_t locale) {
  const char* codeset = nl_langinfo_l(CODESET, locale);
  return codeset != nullptr && (std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "utf8") == 0);
}

}  // namespace

DateOrder DateOrderFromFormat(std::string_view format, bool utf8) {
  FormatScan scan{utf8};
  scan.Scan(format);
  DateOrder result = kDefaultDateOrder;
  int separator = Cp1252Of(scan.separator);
  if (separator >= 0) result[0] = static_cast<char>(separator);
  if (scan.fields == 3)
    for (int i = 0; i < 3; ++i) result[static_cast<size_t>(i) + 1] = scan.order[i];
  return result;
}

std::string_view LocaleNameFor(const char* lc_all, const char* lc_category, const char* lang) {
  for (const char* value : {lc_all, lc_category, lang})
    if (value != nullptr && *value != '\0') return value;
  return "C";
}

bool IsPlainLocale(std::string_view name) {
  return name == "C" || name == "POSIX" || name.substr(0, 2) == "C.";
}

DateOrder LocaleDateOrder() {
  locale_t locale = OpenLocale(LC_TIME_MASK, "LC_TIME");
  if (locale == static_cast<locale_t>(0)) return kDefaultDateOrder;
  const char* format = nl_langinfo_l(D_FMT, locale);
  DateOrder result = format != nullptr ? DateOrderFromFormat(format, IsUtf8(locale)) : kDefaultDateOrder;
  freelocale(locale);
  return result;
}

NumberSeparators NumberSeparatorsFrom(std::string_view radix, std::string_view thousands, bool utf8) {
  NumberSeparators result;
  int decimal = FirstCharacter(radix, utf8);
  if (decimal >= 0) result.decimal = static_cast<char>(decimal);
  if (thousands.empty()) {
    result.thousands = 0;
  } else {
    int group = FirstCharacter(thousands, utf8);
    if (group >= 0) result.thousands = static_cast<char>(group);
  }
  return result;
}

NumberSeparators LocaleNumberSeparators() {
  locale_t locale = OpenLocale(LC_NUMERIC_MASK, "LC_NUMERIC");
  if (locale == static_cast<locale_t>(0)) return NumberSeparators{};
  const char* radix = nl_langinfo_l(RADIXCHAR, locale);
  const char* thousands = nl_langinfo_l(THOUSEP, locale);
  NumberSeparators result = NumberSeparatorsFrom(radix ? radix : "", thousands ? thousands : "", IsUtf8(locale));
  freelocale(locale);
  return result;
}

LocalDateTime LocalNow() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  tm local{};
  localtime_r(&now.tv_sec, &local);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
          local.tm_min,         local.tm_sec,     static_cast<int32_t>(now.tv_nsec / 1000000)};
}

}  // namespace morven::platform
