// The date and time functions: today's date and the time from the host clock (local
// time), and the two conversions between yyyymmdd and the locale's short date. The
// date order descriptor is taken from the locale each time it is needed.
#include "core/argument_reader.h"
#include "core/number_text.h"
#include "core/registers.h"
#include "core/text_ops.h"
#include "errors/run_error.h"
#include "functions/calendar.h"
#include "functions/function_table.h"
#include "platform/locale_dates.h"

namespace morven {
namespace {

void TextResult(const ShortString& text) {
  StringValue = text;
  ValueType = kTypeString;
}

// 0xC9: even n the hours and minutes, odd n the seconds and milliseconds.
void Time() {
  ReadArgument(')', kKindAny);
  bool seconds = (IntValue & 1) != 0;
  platform::LocalDateTime now = platform::LocalNow();
  TextResult(TimeText(now.hour, now.minute, now.second, now.millisecond, seconds));
}

// 0xCA: today's date in the form n and 15 selects.
void Today() {
  ReadArgument(')', kKindAny);
  int form = IntValue & 15;
  platform::LocalDateTime now = platform::LocalNow();
  CalendarDate today{now.year, now.month, now.day};
  switch (form) {
    case 1: TextResult(LongDate(today, false)); break;
    case 2: TextResult(LongDate(today, true)); break;
    case 3: TextResult(CompactDate(today)); break;
    case 4: {
      platform::DateOrder order = platform::LocaleDateOrder();
      TextResult(ShortString(std::string_view(order.data(), order.size())));
      break;
    }
    default: TextResult(ShortDate(today, platform::LocaleDateOrder())); break;
  }
}

// 0xE4: yyyymmdd as a short date.
void CompactToShortDate() {
  ReadArgument(')', kKindString);
  const ShortString compact = StringValue;
  if (compact.length != 8) RunWarning(202, "");
  TextResult(ShortDateFromCompact(compact.View(), platform::LocaleDateOrder()));
}

// 0xE5: a short date as yyyymmdd, also as the long form.
void ShortDateToCompact() {
  ReadArgument(')', kKindString);
  const ShortString short_date(TrimBlanks(StringValue.View()));
  if (short_date.length != 10) RunWarning(203, "");
  ShortString compact = CompactFromShortDate(short_date.View(), platform::LocaleDateOrder());
  LongValue = IntegerPrefix(compact.View());
  TextResult(compact);
}

constexpr FunctionEntry kDates[] = {
    {0xC9, Time},
    {0xCA, Today},
    {0xE4, CompactToShortDate},
    {0xE5, ShortDateToCompact},
};

}  // namespace

std::span<const FunctionEntry> DateFunctions() { return kDates; }

}  // namespace morven
