#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <string>

#include "functions/calendar.h"
#include "functions/conversions.h"
#include "functions/number_format.h"
#include "platform/codepage.h"
#include "platform/locale_dates.h"

namespace morven {
namespace {

using platform::DateOrder;
using platform::NumberSeparators;

std::string Text(const DateOrder& order) { return std::string(order.data(), order.size()); }

DateOrder Order(const char (&text)[5]) { return {text[0], text[1], text[2], text[3]}; }

TEST(BaseText, DigitsWithoutLeadingZerosAndASign) {
  struct Case {
    int32_t n;
    int base;
    std::string text;
  } cases[] = {
      {5, 2, "101"},   {0, 2, "0"},     {0, 16, "0"},    {-1, 16, "-1"},  {255, 16, "FF"},
      {-255, 16, "-FF"}, {8, 8, "10"},  {-8, 8, "-10"},  {INT_MIN, 16, "-80000000"},
      {INT_MAX, 2, std::string(31, '1')}, {INT_MIN, 8, "-20000000000"}, {0x7FFFABCD, 16, "7FFFABCD"},
  };
  for (const Case& c : cases) EXPECT_EQ(BaseText(c.n, c.base).Str(), c.text) << c.n << " base " << c.base;
}

TEST(NumberFromText, AllForms) {
  struct Case {
    std::string s;
    int32_t integer;
    double floating;
    uint8_t type;
    std::string text;
  } cases[] = {
      {"$ff", 255, 255, 3, "255"},
      {"$FF", 255, 255, 3, "255"},
      {"&17", 15, 15, 3, "15"},
      {"%101", 5, 5, 3, "5"},
      {"%-101", -5, -5, 3, "-5"},
      {"&19", 1, 1, 3, "1"},                 // the digits before the first that is not octal
      {"$FFFFFFFF", -1, -1, 3, "-1"},
      {"$1FFFFFFFF", 0x1FFFFFFF, 0x1FFFFFFF, 3, "536870911"},  // stops before passing 32 bits
      {"12.5", 12, 12.5, 4, "12.5"},
      {"-12x", -12, -12, 3, "-12x"},         // the sign stays with the digits that were read
      {"-12.5", -12, -12.5, 4, "-12.5"},
      {"", 0, 0, 3, "0"},
      {" \t42 \r\n", 42, 42, 3, "42"},
      {"abc", 0, 0, 3, "abc"},
      {"1.5 kg", 1, 1.5, 4, "1.5 kg"},
      {"1E3", 1, 1000, 3, "1E3"},
      {"2147483648", 214748364, 2147483648.0, 3, "2147483648"},
      {"-2147483648", INT_MIN, -2147483648.0, 3, "-2147483648"},
  };
  for (const Case& c : cases) {
    TextNumber n = NumberFromText(c.s);
    EXPECT_EQ(n.integer, c.integer) << c.s;
    EXPECT_EQ(n.floating, c.floating) << c.s;
    EXPECT_EQ(n.type, c.type) << c.s;
    EXPECT_EQ(n.text.Str(), c.text) << c.s;
  }
}

TEST(FormatPicture, Pictures) {
  const NumberSeparators english{'.', ','};
  struct Case {
    std::string picture;
    double value;
    std::string text;
  } cases[] = {
      {"0.00", 3.14159, "3.14"},
      {"#,##0.00", 1234567.891, "1,234,567.89"},
      {"#,##0.00", -1234.5, "-1,234.50"},
      {"#,##0", 0, "0"},
      {"#,##0", 999, "999"},
      {"#,##0", 1e6, "1,000,000"},
      {"#", 0, ""},
      {"#.##", 0.5, ".5"},
      {".00", 12.5, "12.50"},
      {"0.##", 1, "1"},
      {"0.##", 1.5, "1.5"},
      {"0.0#", 1.25, "1.25"},
      {"0.0#", 1.2, "1.2"},
      {"00000", 42, "00042"},
      {"0", 2.5, "3"},                       // halves away from zero
      {"0", -2.5, "-3"},
      {"0.0", 0.05, "0.1"},
      {"0.00", -0.001, "0.00"},              // what shows as zero has no sign
      {"0.00;(0.00)", -5, "(5.00)"},
      {"0.00;(0.00)", 5, "5.00"},
      {"0.00;(0.00);\"null\"", 0, "null"},
      {"0;-0;zero", 0.4, "zero"},
      {"0;-0;zero", -0.4, "zero"},
      {"0.00;;zero", -5, "-5.00"},           // an empty section falls back to the first
      {"0.00;", -5, "-5.00"},
      {"0.00E+00", 1234.5, "1.23E+03"},
      {"0.00E-00", 1234.5, "1.23E03"},
      {"0.00E-00", 0.00012345, "1.23E-04"},
      {"0.00e+00", -1234.5, "-1.23e+03"},
      {"00.0E+0", 1234.5, "12.3E+2"},
      {"#.##E+0", 1500, "1.5E+3"},
      {"#,##0.0E+0", 12345, "1234.5E+1"},    // a mantissa has no thousands groups
      {"0.0E+0", 0, "0.0E+0"},
      {"0.0E+0000", 9.96, "1.0E+0001"},      // rounding carries into the exponent
      {"\"EUR \"#,##0.00", 1234.5, "EUR 1,234.50"},
      {"'x'0", 7, "x7"},
      {"0 \"a;b\"", 7, "7 a;b"},             // a quoted ";" does not end the section
      {"0 kg", 5, "5 kg"},
      {"00-00", 1234, "12-34"},
      {"0-0", 1234, "123-4"},                // digits beyond the places go to the first
      {"0\"unterminated", 3, "3unterminated"},
      {"0", 1e20, "100000000000000000000"},
      {"0.00", 0.995, "0.99"},               // the double is slightly below its decimal text
      {"Nummer", 5, "Nummer"},
      {"", 1.5, "1.5"},
      {"", -2.5, "-2.5"},
      {"", 0, "0"},
      {"", 0.0001, "0.0001"},
      {"", 0.00001, "1E-5"},
      {"", 123456789012345.0, "123456789012345"},
      {"", 1e15, "1E15"},
      {"", 1.0 / 3, "0.333333333333333"},
      {"", 2.0 / 3 * 1e20, "6.66666666666667E19"},
      {"0.00", std::nan(""), "Nan"},
      {"0.00", std::numeric_limits<double>::infinity(), "+Inf"},
      {"0.00", -std::numeric_limits<double>::infinity(), "-Inf"},
  };
  for (const Case& c : cases) {
    ShortString out;
    ASSERT_TRUE(FormatPicture(c.value, c.picture, english, out)) << c.picture;
    EXPECT_EQ(out.Str(), c.text) << c.picture << " with " << c.value;
  }
}

TEST(FormatPicture, SeparatorsComeFromTheSettings) {
  struct Case {
    NumberSeparators separators;
    std::string picture;
    double value;
    std::string text;
  } cases[] = {
      {{',', '.'}, "#,##0.00", 1234.5, "1.234,50"},
      {{',', '.'}, "", 1.5, "1,5"},
      {{',', '.'}, "0.00E+00", 1234.5, "1,23E+03"},
      {{'.', 0}, "#,##0", 1234567, "1234567"},
      {{',', '\xA0'}, "#,##0.0", 1234.5, "1\xA0" "234,5"},
  };
  for (const Case& c : cases) {
    ShortString out;
    ASSERT_TRUE(FormatPicture(c.value, c.picture, c.separators, out));
    EXPECT_EQ(out.Str(), c.text) << c.picture;
  }
}

TEST(FormatPicture, LimitsOfPictureAndResult) {
  ShortString out;
  EXPECT_TRUE(FormatPicture(1, std::string(kLongestPicture, '0'), NumberSeparators{}, out));
  EXPECT_EQ(out.length, kLongestPicture);
  EXPECT_FALSE(FormatPicture(1, std::string(kLongestPicture + 1, '0'), NumberSeparators{}, out));
  ASSERT_TRUE(FormatPicture(1e300, "#,##0", NumberSeparators{}, out));
  EXPECT_EQ(out.length, 255);
  EXPECT_EQ(out.Str().substr(0, 6), "1,000,");
}

TEST(Calendar, ValidDates) {
  struct Case {
    CalendarDate date;
    bool valid;
  } cases[] = {
      {{1998, 1, 5}, true},   {{1998, 2, 29}, false}, {{2000, 2, 29}, true},  {{1900, 2, 29}, false},
      {{2024, 2, 29}, true},  {{2078, 12, 31}, true}, {{2079, 1, 1}, false},  {{1899, 12, 31}, false},
      {{98, 1, 5}, true},     {{0, 1, 1}, true},      {{-1, 1, 1}, false},    {{1998, 13, 1}, false},
      {{1998, 0, 1}, false},  {{1998, 4, 31}, false}, {{1998, 4, 30}, true},  {{1998, 1, 0}, false},
      {{1998, 1, 31}, true},  {{1998, 12, 32}, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(IsValidDate(c.date), c.valid) << c.date.year << "-" << c.date.month << "-" << c.date.day;
}

TEST(Calendar, Weekdays) {
  struct Case {
    CalendarDate date;
    int weekday;
  } cases[] = {
      {{1900, 1, 1}, 1}, {{1900, 3, 1}, 4}, {{1998, 1, 5}, 1}, {{2000, 3, 1}, 3},
      {{2024, 2, 29}, 4}, {{2078, 12, 31}, 6}, {{98, 1, 5}, 1},
  };
  for (const Case& c : cases) EXPECT_EQ(WeekdayOf(c.date), c.weekday) << c.date.year << "-" << c.date.month;
}

TEST(Calendar, DateTexts) {
  EXPECT_EQ(LongDate({1998, 1, 5}, false).Str(), "5. Januar 1998");
  EXPECT_EQ(LongDate({1998, 1, 5}, true).Str(), "Montag, der 5. Januar 1998");
  EXPECT_EQ(LongDate({1998, 2, 3}, false).Str(), "3. Februar  1998");  // the name ends with a blank
  EXPECT_EQ(LongDate({2000, 3, 1}, true).Str(), "Mittwoch, der 1. M\xE4rz  2000");
  EXPECT_EQ(LongDate({2000, 12, 24}, true).Str(), "Sonntag, der 24. Dezember 2000");
  EXPECT_EQ(LongDate({1998, 2, 31}, true).Str(), "");
  EXPECT_EQ(CompactDate({1998, 1, 5}).Str(), "19980105");

  struct Case {
    CalendarDate date;
    DateOrder order;
    std::string text;
  } cases[] = {
      {{1998, 1, 5}, Order(".dMy"), "05.01.1998"}, {{1998, 1, 5}, Order("/dMy"), "05/01/1998"},
      {{1998, 1, 5}, Order("/Mdy"), "01/05/1998"}, {{1998, 1, 5}, Order("-yMd"), "1998-01-05"},
      {{98, 1, 5}, Order(".dMy"), "05.01.1998"},   {{1998, 2, 31}, Order(".dMy"), ""},
  };
  for (const Case& c : cases) EXPECT_EQ(ShortDate(c.date, c.order).Str(), c.text) << Text(c.order);
}

TEST(Calendar, ConversionsBetweenCompactAndShortDates) {
  struct Case {
    std::string compact;
    DateOrder order;
    std::string short_date;
  } to_short[] = {
      {"19980105", Order(".dMy"), "05.01.1998"}, {"19980105", Order("/Mdy"), "01/05/1998"},
      {"19980231", Order(".dMy"), ""},           {"1998010", Order(".dMy"), ""},
      {"", Order(".dMy"), ""},                    {"199801051", Order(".dMy"), "05.01.1998"},
      {"1998xx05", Order(".dMy"), ""},
  };
  for (const Case& c : to_short)
    EXPECT_EQ(ShortDateFromCompact(c.compact, c.order).Str(), c.short_date) << c.compact;

  Case to_compact[] = {
      {"19980105", Order(".dMy"), "05.01.1998"}, {"19980105", Order("/Mdy"), "01/05/1998"},
      {"19980105", Order("-yMd"), "1998-01-05"}, {"0105", Order(".dMy"), "05.01"},
      {"", Order(".dMy"), ""},                    {"xxxx1231", Order(".dMy"), "31.12.xxxx"},
  };
  for (const Case& c : to_compact)
    EXPECT_EQ(CompactFromShortDate(c.short_date, c.order).Str(), c.compact) << c.short_date;
}

TEST(Calendar, TimeTexts) {
  struct Case {
    int32_t hour, minute, second, millisecond;
    bool seconds;
    std::string text;
  } cases[] = {
      {9, 5, 7, 42, false, "09:05"}, {9, 5, 7, 42, true, "07.042"},  {0, 0, 7, 500, true, "07.500"},
      {0, 0, 7, 5, true, "07.005"},  {23, 59, 59, 999, true, "59.999"}, {23, 59, 0, 0, false, "23:59"},
  };
  for (const Case& c : cases) EXPECT_EQ(TimeText(c.hour, c.minute, c.second, c.millisecond, c.seconds).Str(), c.text);
}

TEST(LocaleDates, OrderAndSeparatorFromTheShortDateFormat) {
  struct Case {
    std::string format;
    bool utf8;
    std::string order;
  } cases[] = {
      {"%d.%m.%Y", true, ".dMy"},
      {"%m/%d/%Y", true, "/Mdy"},
      {"%d/%m/%y", true, "/dMy"},
      {"%Y-%m-%d", true, "-yMd"},
      {"%F", true, "-yMd"},
      {"%D", true, "/Mdy"},
      {"%e. %B %Y", true, ".dMy"},
      {"%-d.%-m.%Y", true, ".dMy"},
      {"%Ey/%m/%d", true, "/yMd"},
      {"%a %d %b %Y", true, " dMy"},
      {"%Y\xE5\xB9\xB4%m\xE6\x9C\x88%d\xE6\x97\xA5", true, ".yMd"},  // a separator Windows-1252 lacks
      {"%Y%m%d", true, ".yMd"},                                      // no separator
      {"%d\xC2\xB7%m\xC2\xB7%Y", true, "\xB7" "dMy"},
      {"%d\xB7%m\xB7%Y", false, "\xB7" "dMy"},
      {"%H:%M", true, ".dMy"},                                       // no date fields
      {"%d/%m", true, "/dMy"},                                        // no year: the default order
      {"%%%d/%m/%Y", true, "/dMy"},
  };
  for (const Case& c : cases) EXPECT_EQ(Text(platform::DateOrderFromFormat(c.format, c.utf8)), c.order) << c.format;
}

TEST(LocaleDates, WhichLocaleAndWhetherItHasRegionalSettings) {
  EXPECT_EQ(platform::LocaleNameFor(nullptr, "de_DE.UTF-8", "en_US.UTF-8"), "de_DE.UTF-8");
  EXPECT_EQ(platform::LocaleNameFor("C", "de_DE.UTF-8", "en_US.UTF-8"), "C");
  EXPECT_EQ(platform::LocaleNameFor("", "", "fr_FR.UTF-8"), "fr_FR.UTF-8");
  EXPECT_EQ(platform::LocaleNameFor(nullptr, nullptr, nullptr), "C");
  for (const char* plain : {"C", "POSIX", "C.UTF-8", "C.utf8"}) EXPECT_TRUE(platform::IsPlainLocale(plain)) << plain;
  for (const char* regional : {"de_DE.UTF-8", "ca_ES", "en_US"}) EXPECT_FALSE(platform::IsPlainLocale(regional)) << regional;
}

TEST(LocaleDates, NumberSeparators) {
  struct Case {
    std::string radix, thousands;
    bool utf8;
    char decimal, group;
  } cases[] = {
      {",", ".", true, ',', '.'},
      {".", ",", true, '.', ','},
      {",", "\xE2\x80\xAF", true, ',', '\xA0'},  // narrow no-break space
      {".", "", true, '.', 0},
      {"", "", true, '.', 0},
      {"\xD9\xAB", "\xD9\xAC", true, '.', ','},   // Arabic separators: not in Windows-1252
      {",", "\xA0", false, ',', '\xA0'},
  };
  for (const Case& c : cases) {
    NumberSeparators s = platform::NumberSeparatorsFrom(c.radix, c.thousands, c.utf8);
    EXPECT_EQ(s.decimal, c.decimal) << c.radix;
    EXPECT_EQ(s.thousands, c.group) << c.thousands;
  }
}

TEST(CodePages, AnsiAndOem) {
  struct Case {
    uint8_t ansi, oem;
  } both_ways[] = {
      {'A', 'A'},   {0x00, 0x00}, {0x7F, 0x7F}, {0xE4, 0x84}, {0xC4, 0x8E}, {0xF6, 0x94}, {0xD6, 0x99},
      {0xFC, 0x81}, {0xDC, 0x9A}, {0xDF, 0xE1}, {0xA7, 0xF5}, {0xB0, 0xF8}, {0xA0, 0xFF}, {0x83, 0x9F},
  };
  for (const Case& c : both_ways) {
    EXPECT_EQ(platform::AnsiToOem(c.ansi), c.oem) << int(c.ansi);
    EXPECT_EQ(platform::OemToAnsi(c.oem), c.ansi) << int(c.oem);
  }
  Case ansi_only[] = {
      {0x8A, 'S'}, {0x9A, 's'}, {0x84, '"'}, {0x93, '"'}, {0x92, '\''}, {0x96, '-'}, {0x97, '-'}, {0x95, 0xFA},
      {0x80, '?'}, {0x81, '?'}, {0x99, '?'},
  };
  for (const Case& c : ansi_only) EXPECT_EQ(platform::AnsiToOem(c.ansi), c.oem) << int(c.ansi);
  Case oem_only[] = {{'-', 0xC4}, {'|', 0xB3}, {'+', 0xC9}, {'?', 0xB0}, {'i', 0xD5}, {'_', 0xF2}, {'?', 0xFE}};
  for (const Case& c : oem_only) EXPECT_EQ(platform::OemToAnsi(c.oem), c.ansi) << int(c.oem);

  // Every Latin-1 character survives the round trip and keeps its meaning.
  for (int b = 0xA0; b < 0x100; ++b) {
    auto ansi = static_cast<uint8_t>(b);
    uint8_t oem = platform::AnsiToOem(ansi);
    EXPECT_EQ(platform::Cp850ToUnicode(oem), platform::Cp1252ToUnicode(ansi)) << b;
    EXPECT_EQ(platform::OemToAnsi(oem), ansi) << b;
  }
}

}  // namespace
}  // namespace morven
