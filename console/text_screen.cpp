#include "console/text_screen.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "console/main_window.h"
#include "console/message_pump.h"
#include "platform/automation.h"
#include "platform/codepage.h"
#include "platform/drawing.h"
#include "platform/process.h"
#include "platform/window.h"

namespace morven {

int32_t GridColumns = 80;
int32_t GridRows = 32;
int32_t CursorColumn = 0;
int32_t CursorRow = 0;
uint8_t TextAttr = 0xF0;
uint8_t TextFont = 2;
uint8_t EraseFont = 2;
int32_t CellWidth = 1;
int32_t CellHeight = 1;
int32_t TopRow = 0;

namespace {

constexpr platform::StockFont kTextFontStock[4] = {platform::StockFont::AnsiFixed, platform::StockFont::OemFixed,
                                                   platform::StockFont::SystemFixed, platform::StockFont::SystemFixed};

std::vector<char> g_grid;  // TextGrid while the window exists
int32_t g_capacity_columns = 0;
int32_t g_capacity_rows = 0;
std::string g_screen_text_path;
std::string g_closed_screen;  // the screen when the window was closed

uint32_t FontHandle(uint8_t font) { return platform::StockFontHandle(kTextFontStock[font & 3]); }

// The cell (column, text row) in TextGrid; rows scroll through TopRow.
char& Cell(int32_t column, int32_t row) {
  int32_t buffer_row = (row + TopRow) % GridRows;
  return g_grid[static_cast<size_t>(buffer_row) * static_cast<size_t>(GridColumns) + static_cast<size_t>(column)];
}

void WriteScreenText() {
  FILE* f = std::fopen(g_screen_text_path.c_str(), "wb");
  if (f == nullptr) {
    std::fprintf(stderr, "morvrun: cannot write MORVEN_SCREEN_TEXT %s\n", g_screen_text_path.c_str());
    return;
  }
  std::string text = ScreenTextUtf8();
  std::fwrite(text.data(), 1, text.size(), f);
  std::fclose(f);
}

// Draws cells [from, to) of a text row on both contexts, in TextFont; when TextFont is
// not EraseFont, the full height of the tallest font is blanked first.
void ShowCells(int32_t row, int32_t from, int32_t to) {
  if (to <= from || !MainWindowExists()) return;
  PrepareTextColours();
  uint32_t font = FontHandle(TextFont);
  uint32_t target_font = platform::SelectFont(TargetContext, font);
  uint32_t mirror_font = platform::SelectFont(MirrorContext, font);
  int32_t x = from * CellWidth;
  int32_t y = row * CellHeight;
  if ((TextFont & 3) != EraseFont) {
    std::string blanks(static_cast<size_t>(to - from), ' ');
    platform::SelectFont(TargetContext, FontHandle(EraseFont));
    platform::SelectFont(MirrorContext, FontHandle(EraseFont));
    platform::TextOut(TargetContext, x, y, blanks);
    platform::TextOut(MirrorContext, x, y, blanks);
    platform::SelectFont(TargetContext, font);
    platform::SelectFont(MirrorContext, font);
  }
  std::string text;
  for (int32_t c = from; c < to; ++c) text += Cell(c, row);
  platform::TextOut(TargetContext, x, y, text);
  platform::TextOut(MirrorContext, x, y, text);
  platform::SelectFont(TargetContext, target_font);
  platform::SelectFont(MirrorContext, mirror_font);
}

// A line feed on the last row: the rows move up by one through TopRow, the window's
// picture scrolls by a cell height (the uncovered strip is repainted from the
// BackingBitmap, which itself does not scroll), and the new last row is blank.
void ScrollUp() {
  TopRow = (TopRow + 1) % GridRows;
  for (int32_t c = 0; c < GridColumns; ++c) Cell(c, GridRows - 1) = ' ';
  platform::ScrollWindow(MainWindow.handle, 0, -CellHeight);
  platform::UpdateWindow(MainWindow.handle);
}

}  // namespace

void InitTextScreen() {
  if (const char* path = std::getenv("MORVEN_SCREEN_TEXT"); path != nullptr && *path != '\0') {
    g_screen_text_path = platform::StartRelativePath(path);
    platform::AddExitStep(WriteScreenText);
  }
}

std::string ScreenTextUtf8() {
  if (g_grid.empty() && !g_closed_screen.empty()) return g_closed_screen;
  std::string text;
  for (int32_t row = 0; row < GridRows; ++row) {
    std::string line;
    for (int32_t column = 0; column < GridColumns; ++column) line += g_grid.empty() ? ' ' : Cell(column, row);
    text += platform::Cp1252ToUtf8(line);
    text += '\n';
  }
  return text;
}

void AllocateTextGrid(int32_t screen_width, int32_t screen_height) {
  g_capacity_columns = std::max(screen_width / 8, 1);
  g_capacity_rows = std::max(screen_height / 15, 1);
  g_grid.assign(static_cast<size_t>(g_capacity_columns) * static_cast<size_t>(g_capacity_rows), ' ');
  g_closed_screen.clear();
  ClampGridToCapacity();
}

void FreeTextGrid() {
  g_closed_screen = ScreenTextUtf8();
  g_grid.clear();
  g_grid.shrink_to_fit();
}

void ClampGridToCapacity() {
  // Before the window exists only the size is known; it is kept within what a display
  // could hold, as the screen-text dump shows it.
  constexpr int32_t kLargestGrid = 4096;
  int32_t max_columns = g_grid.empty() ? kLargestGrid : g_capacity_columns;
  int32_t max_rows = g_grid.empty() ? kLargestGrid : g_capacity_rows;
  GridColumns = std::clamp(GridColumns, 1, max_columns);
  GridRows = std::clamp(GridRows, 1, max_rows);
  TopRow %= GridRows;
  CursorColumn = std::clamp(CursorColumn, 0, GridColumns - 1);
  CursorRow = std::clamp(CursorRow, 0, GridRows - 1);
}

void MeasureTextFonts() {
  CellWidth = 1;
  CellHeight = 1;
  uint8_t last = EraseFont;
  for (uint8_t i = 1; i <= last; ++i) {
    uint32_t previous = platform::SelectFont(TargetContext, FontHandle(i));
    platform::TextMetrics m = platform::GetTextMetrics(TargetContext);
    platform::SelectFont(TargetContext, previous);
    if (m.max_char_width > CellWidth) CellWidth = m.max_char_width;
    if (m.height + m.external_leading > CellHeight) {
      CellHeight = m.height + m.external_leading - 2;
      EraseFont = i;
    }
  }
}

void PrepareTextColours() {
  TargetContext = platform::WindowContext(MainWindow.handle);
  for (uint32_t context : {TargetContext, MirrorContext}) {
    platform::SetTextColor(context, TextPalette[TextAttr & 15]);
    platform::SetBkColor(context, TextPalette[TextAttr >> 4]);
    platform::SetBkMode(context, true);
  }
}

void WriteToScreen(std::string_view bytes, bool pump) {
  EnsureMainWindow();
  for (char ch : bytes) {
    auto byte = static_cast<uint8_t>(ch);
    switch (byte) {
      case 0x07: platform::MessageBeep(); break;
      case 0x08:
        if (CursorColumn > 0) {
          --CursorColumn;
          Cell(CursorColumn, CursorRow) = ' ';
          ShowCells(CursorRow, CursorColumn, CursorColumn + 1);
        }
        break;
      case 0x0A:
        CursorColumn = 0;
        if (++CursorRow >= GridRows) {
          CursorRow = GridRows - 1;
          ScrollUp();
          ShowCells(CursorRow, 0, GridColumns);
        }
        break;
      case 0x0D: break;  // lines end with line feeds only
      default:
        Cell(CursorColumn, CursorRow) = ch;
        ShowCells(CursorRow, CursorColumn, CursorColumn + 1);
        if (++CursorColumn >= GridColumns) {
          // Wrapping never scrolls: on the last row it returns to its start.
          CursorColumn = 0;
          if (CursorRow < GridRows - 1) ++CursorRow;
        }
        break;
    }
    if (!MainWindowExists()) return;  // closed while a message was handled
  }
  CursorColumn = std::clamp(CursorColumn, 0, GridColumns - 1);
  CursorRow = std::clamp(CursorRow, 0, GridRows - 1);
  if (!bytes.empty() && pump) PumpMessages();
}

void ClearGrid() {
  EnsureMainWindow();
  std::fill(g_grid.begin(), g_grid.begin() + static_cast<std::ptrdiff_t>(GridColumns) * GridRows, ' ');
  CursorColumn = 0;
  CursorRow = 0;
}

void MoveCursor(int32_t column, int32_t row) {
  CursorColumn = std::clamp(column - 1, 0, GridColumns - 1);
  CursorRow = std::clamp(row - 1, 0, GridRows - 1);
}

void WriteCells(int32_t column, int32_t row, int32_t count, std::string_view text, uint8_t font) {
  EnsureMainWindow();
  if (count <= 0) return;
  uint8_t saved_font = TextFont;
  TextFont = font & 3;
  std::string cells(text.substr(0, static_cast<size_t>(count)));
  cells.resize(static_cast<size_t>(count), ' ');
  int32_t c = std::clamp(column - 1, 0, GridColumns - 1);
  int32_t r = std::clamp(row - 1, 0, GridRows - 1);
  PrepareTextColours();
  uint32_t handle = FontHandle(TextFont);
  uint32_t target_font = platform::SelectFont(TargetContext, handle);
  uint32_t mirror_font = platform::SelectFont(MirrorContext, handle);
  for (int32_t dy = 0; dy <= 1; ++dy) {
    platform::TextOut(TargetContext, c * CellWidth, r * CellHeight + dy, cells);
    platform::TextOut(MirrorContext, c * CellWidth, r * CellHeight + dy, cells);
  }
  platform::SelectFont(TargetContext, target_font);
  platform::SelectFont(MirrorContext, mirror_font);
  TextFont = saved_font;
}

}  // namespace morven
