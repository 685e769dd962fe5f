#pragma once
// The text screen of the main window: a grid of character cells with a text cursor,
// drawn cell by cell on the window and on the BackingBitmap. Only characters are
// kept per cell; colours and font are those current when a cell is drawn.
#include <cstdint>
#include <string>
#include <string_view>

namespace morven {

extern int32_t GridColumns;  // 80 at start
extern int32_t GridRows;     // 32 at start
extern int32_t CursorColumn;  // TextCursor, 0-based
extern int32_t CursorRow;
extern uint8_t TextAttr;   // low nibble foreground, high nibble background palette index
extern uint8_t TextFont;   // 0..3: ANSI fixed, OEM fixed, system fixed, system fixed
extern uint8_t EraseFont;  // the tallest measured text font
extern int32_t CellWidth;
extern int32_t CellHeight;
extern int32_t TopRow;     // the buffer row shown as text row 0

// Registers the screen-text dump of MORVEN_SCREEN_TEXT, written at every exit.
void InitTextScreen();

// The screen as UTF-8 text: one line per row, each GridColumns characters. After the
// window was closed, the screen as it was then.
std::string ScreenTextUtf8();

// The creation and destruction messages: the grid of ScreenWidth / 8 by
// ScreenHeight / 15 cells is allocated blank, and freed.
void AllocateTextGrid(int32_t screen_width, int32_t screen_height);
void FreeTextGrid();

// Keeps GridColumns and GridRows inside the grid's capacity (and at least 1).
void ClampGridToCapacity();

// Measures the text fonts 1 .. EraseFont: the widest gives CellWidth, the tallest
// CellHeight (its height plus leading, minus 2) and EraseFont.
void MeasureTextFonts();

// Writes bytes at the text cursor (ConsoleWrite); `pump`: let waiting messages
// through afterwards (not for the line editor's echo).
void WriteToScreen(std::string_view bytes, bool pump);

// Blank grid, cursor at the top left (TopRow stays).
void ClearGrid();

// 1-based; clamped into the grid.
void MoveCursor(int32_t column, int32_t row);

// Draws count characters of text (padded with blanks) at the 1-based cell, in the
// given text font, twice (one pixel lower the second time) so that vertical lines of
// neighbouring rows join. The grid does not keep them.
void WriteCells(int32_t column, int32_t row, int32_t count, std::string_view text, uint8_t font);

// Fetches the window's context as TargetContext and gives it and MirrorContext the
// text colours of TextAttr, opaque.
void PrepareTextColours();

}  // namespace morven
