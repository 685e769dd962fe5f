#pragma once
// The toolkit objects behind window and context handles. Only the platform's toolkit
// files (window.cpp, drawing.cpp) include this header.
#include <QImage>
#include <QRegion>
#include <cstdint>

#include "platform/window.h"

class QWidget;

namespace morven::platform {

struct HostWindow {
  uint32_t handle = 0;
  WindowSpec spec;
  Rect rect;         // outer rectangle in screen coordinates
  Rect normal_rect;  // the rectangle to return to from the maximised state
  int32_t show_state = kSwHide;
  bool topmost = false;
  QImage surface;    // the client area: what the user sees
  QRegion invalid;   // the part that waits for WM_PAINT
  QRegion paint_clip;
  bool painting = false;
  uint32_t context = 0;  // the window's own context
  QWidget* widget = nullptr;
};

HostWindow* FindHostWindow(uint32_t handle);

// The surface changed: the host shows it again when it next paints.
void SurfaceChanged(HostWindow& window);

// drawing.cpp: the context of a new window, and its end.
uint32_t NewWindowContext(uint32_t window);

}  // namespace morven::platform
