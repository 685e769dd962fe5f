#pragma once
// What the host tells the date and number functions: the local date and time, and the
// regional settings taken from the locale (the order and separator of the short date,
// the decimal and thousands separators). docs/dates.md describes the rules.
#include <array>
#include <cstdint>
#include <string_view>

namespace morven::platform {

// The date order descriptor: the date separator, then the letters d, M and y in the
// order in which the short date names day, month and year.
using DateOrder = std::array<char, 4>;

// Without regional settings: "." and day, month, year (dd.MM.yyyy).
constexpr DateOrder kDefaultDateOrder = {'.', 'd', 'M', 'y'};

// The descriptor of a strftime date format (the locale's D_FMT, such as "%d.%m.%Y").
// The order is that of the first day, month and year conversions; the separator is
// the first character after the first of them. A format that does not name all three
// fields gives the default order; a missing separator, or one that Windows-1252 does
// not have, gives the default separator. utf8: the format's text is UTF-8 (otherwise
// its bytes above 0x7F are taken as Latin-1).
DateOrder DateOrderFromFormat(std::string_view format, bool utf8);

// The locale a category gets from the environment, as setlocale(category, "") picks
// it: LC_ALL, else the category's own variable, else LANG, else "C" (null or empty
// values do not count).
std::string_view LocaleNameFor(const char* lc_all, const char* lc_category, const char* lang);

// C, POSIX and the C locale in another character set (C.UTF-8) have no regional
// settings.
bool IsPlainLocale(std::string_view name);

// The descriptor from the locale of LC_TIME, read each time.
DateOrder LocaleDateOrder();

// The separators a picture format uses. thousands is 0 when the locale has none.
struct NumberSeparators {
  char decimal = '.';
  char thousands = ',';
};

// The separators from the texts of a locale's RADIXCHAR and THOUSEP. A decimal
// separator that is missing or not in Windows-1252 gives "."; a thin or narrow
// no-break space becomes the no-break space 0xA0; an empty thousands separator gives
// none, one that Windows-1252 does not have gives ",".
NumberSeparators NumberSeparatorsFrom(std::string_view radix, std::string_view thousands, bool utf8);

// The separators from the locale of LC_NUMERIC, read each time; "." and "," without
// regional settings.
NumberSeparators LocaleNumberSeparators();

struct LocalDateTime {
  int32_t year;
  int32_t month;   // 1..12
  int32_t day;     // 1..31
  int32_t hour;
  int32_t minute;
  int32_t second;
  int32_t millisecond;
};

// The host clock in local time.
LocalDateTime LocalNow();

}  // namespace morven::platform
