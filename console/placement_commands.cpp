#include "console/placement_commands.h"

#include "console/console_output.h"
#include "console/main_window.h"
#include "console/text_screen.h"
#include "core/argument_reader.h"
#include "core/program_state.h"
#include "core/registers.h"
#include "errors/run_error.h"
#include "platform/drawing.h"
#include "platform/window.h"

namespace morven {
namespace {

void Show(int32_t command) {
  EnsureMainWindow();
  platform::ShowWindow(MainWindow.handle, command);
  platform::UpdateWindow(MainWindow.handle);
}

}  // namespace

void PlaceMainWindowCommand() {
  LineHandled = true;
  int32_t r[4];
  ReadCorners(' ', r);
  const int32_t x = r[0], y = r[1], w = r[2], h = r[3];
  if (x < 0 || y < 0 || w < 0 || h < 0) RunWarning(223, "");
  GridColumns = w / 8;
  GridRows = h / 15;
  ClampGridToCapacity();
  MainWindow.placement[0] = x;
  MainWindow.placement[1] = y;
  MainWindow.placement[2] = w;
  MainWindow.placement[3] = h;
  if (!MainWindowExists()) {
    EnsureMainWindow();
    if (!MainWindow.no_background) {
      for (uint32_t context : {TargetContext, MirrorContext}) {
        platform::SelectBrush(context, platform::StockWhiteBrush());
        platform::PatBlt(context, 0, 0, MainWindow.screen_width, MainWindow.screen_height);
      }
    }
  }
  platform::SetWindowPos(MainWindow.handle, 0, x, y, w, h, platform::kSwpNoZOrder);
  platform::InvalidateWindow(MainWindow.handle);
  platform::UpdateWindow(MainWindow.handle);
}

void PlaceWindowCommand() {
  LineHandled = true;
  ReadArgument('=', kKindAny);
  auto window = static_cast<uint32_t>(IntValue);
  int32_t z = 0;
  bool with_z = RestOfLine.find(';') != std::string_view::npos;
  int32_t r[4];
  ReadCorners(with_z ? ';' : ' ', r);
  const int32_t x = r[0], y = r[1], w = r[2], h = r[3];
  if (with_z) {
    ReadArgument(' ', kKindAny);
    z = IntValue;
  }
  if (x < 0 || y < 0 || w < 0 || h < 0) RunWarning(223, "");
  if (z == 0) platform::SetWindowPos(window, 0, x, y, w, h, platform::kSwpNoZOrder);
  else platform::SetWindowPos(window, z, x, y, w, h, 0);
}

void ShowMaximizedCommand() {
  LineHandled = true;
  Show(platform::kSwShowMaximized);
}

void ShowMinimizedCommand() {
  LineHandled = true;
  Show(platform::kSwShowMinimized);
}

void ShowNormalCommand() {
  LineHandled = true;
  Show(platform::kSwShowNormal);
}

void TitleCommand() {
  LineHandled = true;
  ReadArgument(' ', kKindString);
  MainWindow.title = StringValue;
  if (MainWindowExists()) platform::SetWindowText(MainWindow.handle, MainWindow.title.View());
}

void WindowOptionsCommand() {
  LineHandled = true;
  ReadArgument(' ', kKindAny);
  int32_t v = IntValue;
  MainWindow.no_menu_bar = (v & 0x10) != 0;
  MainWindow.no_background = (v & 0x20) != 0;
  MainWindow.popup = (v & 0x40) != 0;
  MainWindow.sys_keys_as_commands = (v & 0x80) != 0;
  MainWindow.sys_menu_as_commands = (v & 0x100) != 0;
  MainWindow.dialog_navigation = (v & 0x200) != 0;
  MainWindow.style_bits = (static_cast<uint32_t>(v) & 15u) << 16 | (MainWindow.popup ? platform::kWsPopup : 0u);
}

void LogicalCoordinatesCommand() {
  LineHandled = true;
  if (PrintJobOpen()) RunError(221, "SCREEN");
  if (!MainWindowExists()) RunError(237, "");
  ReadArgument(',', kKindAny);
  int32_t w = IntValue;
  ReadArgument(' ', kKindAny);
  int32_t h = IntValue;
  int32_t client_w = 0, client_h = 0;
  platform::ClientSize(MainWindow.handle, client_w, client_h);
  for (uint32_t context : {TargetContext, MirrorContext})
    platform::SetAnisotropicMapping(context, w, h, client_w, client_h);
}

void PaintModeCommand() {
  LineHandled = true;
  ReadArgument(' ', kKindAny);
  int32_t mode = IntValue;
  if (mode < 0 || mode > 2) RunWarning(200, "");
  MainWindow.paint_mode = mode;
}

}  // namespace morven
