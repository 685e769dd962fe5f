#include "functions/calendar.h"

#include <cstdio>

#include "core/number_text.h"

namespace morven {
namespace {

constexpr std::string_view kMonthNames[12] = {
    "Januar", "Februar ", "M\xE4rz ", "April", "Mai", "Juni",
    "Juli", "August", "September", "Oktober", "November", "Dezember",
};

constexpr std::string_view kWeekdayNames[7] = {
    "Sonntag", "Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag",
};

int32_t MonthLength(int32_t month, int32_t year) {
  switch (month) {
    case 4: case 6: case 9: case 11: return 30;
    case 2: return IsLeapYear(year) ? 29 : 28;
    default: return 31;
  }
}

// Digits with leading zeros.
void AppendNumber(ShortString& text, int32_t value, int width) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%0*d", width, static_cast<int>(value));
  text.Append(digits);
}

// Bytes [from, from + count) of text, as far as they exist.
std::string_view Part(std::string_view text, size_t from, size_t count) {
  return from < text.size() ? text.substr(from, count) : std::string_view();
}

}  // namespace

int32_t FullYear(int32_t year) { return year < 100 ? year + 1900 : year; }

bool IsLeapYear(int32_t year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

bool IsValidDate(CalendarDate date) {
  int32_t year = FullYear(date.year);
  return date.day >= 1 && date.month >= 1 && date.month <= 12 && year >= 1900 && year <= 2078 &&
         date.day <= MonthLength(date.month, year);
}

int WeekdayOf(CalendarDate date) {
  // Days since 1 January 1900, a Monday.
  int32_t year = FullYear(date.year);
  int32_t days = 0;
  for (int32_t y = 1900; y < year; ++y) days += IsLeapYear(y) ? 366 : 365;
  for (int32_t m = 1; m < date.month; ++m) days += MonthLength(m, year);
  days += date.day - 1;
  return static_cast<int>((days + 1) % 7);
}

std::string_view MonthName(int32_t month) { return month >= 1 && month <= 12 ? kMonthNames[month - 1] : ""; }

std::string_view WeekdayName(int weekday) { return weekday >= 0 && weekday <= 6 ? kWeekdayNames[weekday] : ""; }

ShortString ShortDate(CalendarDate date, const platform::DateOrder& order) {
  ShortString text;
  if (!IsValidDate(date)) return text;
  for (size_t i = 1; i < order.size(); ++i) {
    switch (order[i]) {
      case 'd': AppendNumber(text, date.day, 2); break;
      case 'M': AppendNumber(text, date.month, 2); break;
      case 'y': AppendNumber(text, FullYear(date.year), 4); break;
      default: continue;
    }
    text.Append(order[0]);
  }
  if (text.length > 10) text.length = 10;
  return text;
}

ShortString LongDate(CalendarDate date, bool with_weekday) {
  ShortString text;
  if (!IsValidDate(date)) return text;
  if (with_weekday) {
    text.Append(WeekdayName(WeekdayOf(date)));
    text.Append(", der ");
  }
  AppendNumber(text, date.day, 1);
  text.Append(". ");
  text.Append(MonthName(date.month));
  text.Append(' ');
  AppendNumber(text, FullYear(date.year), 4);
  return text;
}

ShortString CompactDate(CalendarDate date) {
  ShortString text;
  AppendNumber(text, date.year, 4);
  AppendNumber(text, date.month, 2);
  AppendNumber(text, date.day, 2);
  return text;
}

ShortString ShortDateFromCompact(std::string_view compact, const platform::DateOrder& order) {
  CalendarDate date{IntegerPrefix(Part(compact, 0, 4)), IntegerPrefix(Part(compact, 4, 2)),
                    IntegerPrefix(Part(compact, 6, 2))};
  return ShortDate(date, order);
}

ShortString CompactFromShortDate(std::string_view short_date, const platform::DateOrder& order) {
  std::string_view letters(order.data() + 1, 3);
  ShortString text;
  if (letters == "dMy") {
    text.Append(Part(short_date, 6, 4));
    text.Append(Part(short_date, 3, 2));
    text.Append(Part(short_date, 0, 2));
  } else if (letters == "Mdy") {
    text.Append(Part(short_date, 6, 4));
    text.Append(Part(short_date, 0, 2));
    text.Append(Part(short_date, 3, 2));
  } else {
    text.Append(Part(short_date, 0, 4));
    text.Append(Part(short_date, 5, 2));
    text.Append(Part(short_date, 8, 2));
  }
  return text;
}

ShortString TimeText(int32_t hour, int32_t minute, int32_t second, int32_t millisecond, bool seconds) {
  ShortString text;
  if (seconds) {
    AppendNumber(text, second, 2);
    text.Append('.');
    AppendNumber(text, millisecond, 3);
  } else {
    AppendNumber(text, hour, 2);
    text.Append(':');
    AppendNumber(text, minute, 2);
  }
  return text;
}

}  // namespace morven
