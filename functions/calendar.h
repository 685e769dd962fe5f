#pragma once
// Dates and times as the date functions write and read them: German names, the short
// date in the order of a date order descriptor (platform/locale_dates.h).
#include <cstdint>
#include <string_view>

#include "core/short_string.h"
#include "platform/locale_dates.h"

namespace morven {

struct CalendarDate {
  int32_t year;
  int32_t month;
  int32_t day;
};

// A year below 100 counts from 1900.
int32_t FullYear(int32_t year);

bool IsLeapYear(int32_t year);

// Day at least 1 and not above the month's length, month 1 to 12, year (after
// FullYear) 1900 to 2078.
bool IsValidDate(CalendarDate date);

// 0 Sunday to 6 Saturday, Gregorian; for a valid date.
int WeekdayOf(CalendarDate date);

// The names, in Windows-1252. Two month names end with a blank.
std::string_view MonthName(int32_t month);    // 1..12
std::string_view WeekdayName(int weekday);    // 0..6

// Day and month as two digits and the four-digit year in the descriptor's order, each
// followed by the separator, the first 10 characters kept; empty for an invalid date.
ShortString ShortDate(CalendarDate date, const platform::DateOrder& order);

// "5. Januar 1998"; with the weekday "Montag, der 5. Januar 1998". Empty for an
// invalid date.
ShortString LongDate(CalendarDate date, bool with_weekday);

// yyyymmdd.
ShortString CompactDate(CalendarDate date);

// 0xE4 without its length check: yyyymmdd (characters that are missing count as
// absent) as a short date; empty when that is not a valid date.
ShortString ShortDateFromCompact(std::string_view compact, const platform::DateOrder& order);

// 0xE5 without its length check: the fields of a short date of the form dd.MM.yyyy in
// the descriptor's order copied to yyyymmdd, without checking them; characters that
// are missing are left out.
ShortString CompactFromShortDate(std::string_view short_date, const platform::DateOrder& order);

// 0xC9: "hh:mm" without seconds; with them "ss.mmm", the milliseconds in three digits.
ShortString TimeText(int32_t hour, int32_t minute, int32_t second, int32_t millisecond, bool seconds);

}  // namespace morven
