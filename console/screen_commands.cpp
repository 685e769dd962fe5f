#include "console/screen_commands.h"

#include <string>

#include "console/console_output.h"
#include "console/main_window.h"
#include "console/text_screen.h"
#include "core/argument_reader.h"
#include "core/program_state.h"
#include "core/registers.h"
#include "core/text_ops.h"
#include "errors/run_error.h"
#include "platform/drawing.h"
#include "platform/window.h"

namespace morven {
namespace {

void RefuseWhilePrinting(const char* keyword) {
  if (PrintJobOpen()) RunError(221, keyword);
}

// The line-drawing characters of a text box style, as code points of the OEM font:
// top left, top right, bottom left, bottom right, horizontal, vertical.
struct BoxStyle {
  char corner[4];
  char horizontal;
  char vertical;
};
constexpr BoxStyle kBoxStyles[] = {
    {{'\xDA', '\xBF', '\xC0', '\xD9'}, '\xC4', '\xB3'},  // single
    {{'\xC9', '\xBB', '\xC8', '\xBC'}, '\xCD', '\xBA'},  // double
    {{'\xD5', '\xB8', '\xD4', '\xBE'}, '\xCD', '\xB3'},  // double horizontal, single vertical
    {{' ', ' ', ' ', ' '}, ' ', ' '},                    // none
};
constexpr uint8_t kOemFont = 1;

void OneCell(int32_t column, int32_t row, char ch) { WriteCells(column, row, 1, std::string_view(&ch, 1), kOemFont); }

}  // namespace

void ClearScreenCommand() {
  LineHandled = true;
  RefuseWhilePrinting("CLS");
  ClearGrid();
  if (!TrimBlanks(RestOfLine).empty()) {
    ReadArgument(' ', kKindAny);
    uint32_t brush = platform::CreateSolidBrush(ToSystemColor(LongValue));
    platform::SelectBrush(TargetContext, brush);
    platform::SelectBrush(MirrorContext, brush);
    if (CurrentBrush != 0) platform::DeleteObject(CurrentBrush);
    CurrentBrush = brush;
  } else {
    // The program's brush stays allocated but is no longer selected.
    platform::SelectBrush(TargetContext, platform::StockWhiteBrush());
    platform::SelectBrush(MirrorContext, platform::StockWhiteBrush());
  }
  platform::PatBlt(TargetContext, 0, 0, MainWindow.screen_width, MainWindow.screen_height);
  platform::PatBlt(MirrorContext, 0, 0, MainWindow.screen_width, MainWindow.screen_height);
  platform::InvalidateWindow(MainWindow.handle);
  platform::UpdateWindow(MainWindow.handle);
}

void RepaintCommand() {
  LineHandled = true;
  RefuseWhilePrinting("REPAINT");
  if (MainWindow.paint_mode > 0 && MainWindowExists()) platform::InvalidateWindow(MainWindow.handle);
}

void LocateCommand() {
  LineHandled = true;
  ReadArgument(',', kKindNumber);
  int32_t row = IntValue;
  ReadArgument(' ', kKindNumber);
  MoveCursor(IntValue, row);
}

void ColorCommand() {
  LineHandled = true;
  ReadArgument(',', kKindNumber);
  int32_t foreground = IntValue;
  RefuseWhilePrinting("COLOR");
  TextAttr = static_cast<uint8_t>((TextAttr & 0xF0) | (foreground & 15));
  if (MainWindowExists()) PrepareTextColours();
  ReadArgument(' ', kKindNumber);
  TextAttr = static_cast<uint8_t>((TextAttr & 0x0F) | ((IntValue & 15) << 4));
  if (MainWindowExists()) PrepareTextColours();
}

void FontCommand() {
  LineHandled = true;
  RefuseWhilePrinting("FONT");
  ReadArgument(' ', kKindAny);
  if (IntValue < 4) TextFont = static_cast<uint8_t>(IntValue & 3);
}

void TextBoxCommand() {
  LineHandled = true;
  RefuseWhilePrinting("TBOX");
  int32_t r[4];
  ReadCorners(';', r);
  const int32_t top = r[0], left = r[1], bottom = r[2], right = r[3];
  ReadArgument(' ', kKindAny);
  int32_t style = IntValue;
  if (top < 0 || left < 0 || bottom > GridRows || right > GridColumns) RunError(222, "");
  const BoxStyle& s = kBoxStyles[style >= 0 && style <= 3 ? style : 0];
  int32_t width = right - left + 1;
  int32_t height = bottom - top + 1;
  OneCell(left, top, s.corner[0]);
  OneCell(right, top, s.corner[1]);
  for (int32_t i = 0; i < width - 2; ++i) {
    OneCell(left + 1 + i, top, s.horizontal);
    OneCell(left + 1 + i, bottom, s.horizontal);
  }
  for (int32_t i = 0; i < height - 2; ++i) {
    OneCell(left, top + 1 + i, s.vertical);
    OneCell(right, top + 1 + i, s.vertical);
  }
  OneCell(left, bottom, s.corner[2]);
  OneCell(right, bottom, s.corner[3]);
  if (width > 2) {
    std::string blanks(static_cast<size_t>(width - 2), ' ');
    for (int32_t row = top + 1; row <= bottom - 1; ++row) WriteCells(left + 1, row, width - 2, blanks, kOemFont);
  }
  MoveCursor(left + 1, top + 1);
}

}  // namespace morven
