#pragma once
// Drawing contexts over pictures: a window's own context draws on its surface (what
// the user sees), a memory context on the bitmap selected into it. Handles as in
// platform/handles.h; GDI's conventions are kept here: rectangles exclude their right
// and bottom edge, colours are 0x00BBGGRR, a context has one selected font, brush and
// bitmap, a text and a background colour, a background mode, and a mapping.
#include <cstdint>
#include <string_view>

namespace morven::platform {

// The window's own context (the window class keeps one per window); 0 for a handle
// that is no window.
uint32_t WindowContext(uint32_t window);

// A memory context with a 1 x 1 bitmap selected, like CreateCompatibleDC.
uint32_t CreateMemoryContext();
// A bitmap of the display's format, white (as a freshly shown window).
uint32_t CreateBitmap(int32_t width, int32_t height);
// Selects a bitmap into a memory context; returns the one it replaces.
uint32_t SelectBitmap(uint32_t context, uint32_t bitmap);
void DeleteContext(uint32_t context);
// Deletes a bitmap, brush or font; stock objects are not deleted.
void DeleteObject(uint32_t object);

// The stock fonts of the text screen (docs/console.md gives their faces and metrics).
enum class StockFont : uint8_t { AnsiFixed, OemFixed, SystemFixed };
uint32_t StockFontHandle(StockFont font);
// Selects a font; returns the one it replaces.
uint32_t SelectFont(uint32_t context, uint32_t font);

struct TextMetrics {
  int32_t height;
  int32_t ascent;
  int32_t external_leading;
  int32_t average_char_width;
  int32_t max_char_width;
};
TextMetrics GetTextMetrics(uint32_t context);

void SetTextColor(uint32_t context, uint32_t colour);
void SetBkColor(uint32_t context, uint32_t colour);
void SetBkMode(uint32_t context, bool opaque);
void SetStretchMode(uint32_t context, int32_t mode);
constexpr int32_t kColorOnColor = 3;

// Draws Windows-1252 (or, with the OEM font, code page 850) text with its top-left
// corner at (x, y), one character cell after the other; in the opaque mode the
// cells' background is filled first.
void TextOut(uint32_t context, int32_t x, int32_t y, std::string_view bytes);

// Brushes: the stock white brush, and solid brushes of a colour.
uint32_t StockWhiteBrush();
uint32_t CreateSolidBrush(uint32_t colour);
// Selects a brush; returns the one it replaces.
uint32_t SelectBrush(uint32_t context, uint32_t brush);
// Fills the rectangle with the selected brush (PatBlt with PATCOPY).
void PatBlt(uint32_t context, int32_t x, int32_t y, int32_t width, int32_t height);

// Copies width x height pixels from (sx, sy) of source to (x, y) of target (BitBlt
// with SRCCOPY). Coordinates are logical units of each context.
void BitBlt(uint32_t target, int32_t x, int32_t y, int32_t width, int32_t height, uint32_t source, int32_t sx,
            int32_t sy);

// MM_ANISOTROPIC with window extent (wx, wy) and viewport extent (vx, vy): a logical
// unit is vx / wx pixels across and vy / wy pixels down.
void SetAnisotropicMapping(uint32_t context, int32_t wx, int32_t wy, int32_t vx, int32_t vy);

// The colour of a pixel of the context's picture (device coordinates), or -1 outside.
int64_t PixelAt(uint32_t context, int32_t x, int32_t y);

}  // namespace morven::platform
