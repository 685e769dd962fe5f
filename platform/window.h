#pragma once
// Windows: top-level windows behind handles, with Windows' styles, placement, show
// states, invalidation and painting. Each window's client area is a picture of its
// own (its surface, what the user sees), drawn on through the window's own context
// (platform/drawing.h). The toolkit stays behind this interface.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/message_queue.h"

namespace morven::platform {

// Window styles (the high word) as programs give them.
enum : uint32_t {
  kWsPopup = 0x80000000,
  kWsCaption = 0x00C00000,
  kWsSysMenu = 0x00080000,
  kWsThickFrame = 0x00040000,
  kWsMinimizeBox = 0x00020000,
  kWsMaximizeBox = 0x00010000,
};

// The parts of a window outside its client area, in pixels. A popup window without a
// frame bit has none; any other top-level window has a caption and a border (a
// sizing border with the thick-frame bit), and a menu bar row when it has a menu.
struct FrameMetrics {
  int32_t border;
  int32_t caption;
  int32_t menu;
};
FrameMetrics FrameOf(uint32_t style, bool has_menu);

struct Rect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
};

struct WindowSpec {
  std::string class_name;  // Windows-1252
  std::string title;       // Windows-1252
  uint32_t style = 0;
  int32_t x = 0, y = 0, width = 0, height = 0;  // outer size
  bool menu_bar = false;                        // the runtime's menu "LEER"
  bool white_background = true;                 // the class brush; false: none
  WindowProcedure procedure = nullptr;
  bool main = false;  // the window that the user's scripted actions go to
};

// The menu "LEER": one item, the byte 0xA9, whose command number is this.
constexpr uint32_t kLeerMenuCommand = 32767;

// Creates the window (hidden) and sends it WM_GETMINMAXINFO, WM_CREATE, WM_SIZE and
// WM_MOVE, as Windows does during creation.
uint32_t CreateWindow(const WindowSpec& spec);

// Sends WM_DESTROY, then the window, its context and its messages are gone.
void DestroyWindow(uint32_t window);

bool IsWindow(uint32_t window);

// The main window (WindowSpec::main) while it exists, else 0.
uint32_t MainHostWindow();

enum : uint32_t { kSwpNoSize = 0x1, kSwpNoMove = 0x2, kSwpNoZOrder = 0x4 };
enum : int32_t { kHwndTop = 0, kHwndBottom = 1, kHwndTopMost = -1, kHwndNoTopMost = -2 };

// Moves and sizes a window (outer size). A change of size sends WM_SIZE and
// invalidates the client area, a change of position sends WM_MOVE. insert_after is
// Windows' z-order argument (a window handle or one of the kHwnd values). False for
// a handle that is no window.
bool SetWindowPos(uint32_t window, int32_t insert_after, int32_t x, int32_t y, int32_t width, int32_t height,
                  uint32_t flags);

enum : int32_t { kSwHide = 0, kSwShowNormal = 1, kSwShowMinimized = 2, kSwShowMaximized = 3, kSwShowDefault = 10 };
void ShowWindow(uint32_t window, int32_t command);

// Whether the window is always on top (after SetWindowPos with kHwndTopMost).
bool IsTopMost(uint32_t window);

void SetWindowText(uint32_t window, std::string_view cp1252);
std::string WindowText(uint32_t window);
std::string WindowClassName(uint32_t window);

Rect WindowRect(uint32_t window);
void ClientSize(uint32_t window, int32_t& width, int32_t& height);

// The whole client area needs painting (without erasing): WM_PAINT comes when the
// queue is otherwise empty.
void InvalidateWindow(uint32_t window);
// Sends WM_PAINT at once when part of the window needs painting.
void UpdateWindow(uint32_t window);
// Moves the picture of the client area by (dx, dy) and invalidates the uncovered part.
void ScrollWindow(uint32_t window, int32_t dx, int32_t dy);
// The first window that needs painting, or 0.
uint32_t WindowNeedingPaint();

// BeginPaint limits the window's context to the part that needs painting and
// validates the window; EndPaint lifts the limit.
void BeginPaint(uint32_t window);
void EndPaint(uint32_t window);

uint32_t GetFocus();
void SetFocus(uint32_t window);  // sends WM_KILLFOCUS and WM_SETFOCUS
// The window after this one in the z-order (GetWindow with GW_HWNDNEXT), or 0.
uint32_t NextWindow(uint32_t window);

// The desktop window: a handle that names the whole screen.
uint32_t DesktopWindow();

// The default handling of the messages a window procedure does not handle itself: the
// close box (WM_SYSCOMMAND with kScClose) and Alt+F4 ask the window to close
// (WM_CLOSE), which destroys it; a paint request is validated; the rest gives 0.
int32_t DefWindowProc(const Message& message);

// The display: its size in pixels and its colour depth in bits per pixel. Headless
// runs have a display of MORVEN_SCREEN=WxH, or 1024 x 768, with 24 bits.
int32_t DisplayWidth();
int32_t DisplayHeight();
int32_t DisplayBitsPerPixel();

// The default beep (MessageBeep(0)).
void MessageBeep();

// The host window and its mouse pointer show the standard arrow.
void SetArrowCursor(uint32_t window);

}  // namespace morven::platform
