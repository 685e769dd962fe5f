#include "console/main_window.h"

#include "console/text_screen.h"
#include "console/window_procedure.h"
#include "functions/colours.h"
#include "platform/drawing.h"
#include "platform/window.h"

namespace morven {

MainWindowState MainWindow;
uint32_t TargetContext = 0;
uint32_t MirrorContext = 0;
uint32_t BackingBitmap = 0;
uint32_t CurrentBrush = 0;

const std::array<uint32_t, 16> TextPalette = {
    0x000000, 0x880000, 0x008800, 0x880088, 0x000088, 0x888800, 0x008888, 0xCCCCCC,
    0x444444, 0xFF0000, 0x00FF00, 0xFF00FF, 0x0000FF, 0xFFFF00, 0x00FFFF, 0xFFFFFF,
};

namespace {

// The frame style bit that the main window always gets on top of WindowStyleBits.
constexpr uint32_t kCreationStyle = 0x00002000;

uint32_t Widen(uint32_t component) { return component == 0 ? 0 : component * 8 + 7; }

}  // namespace

uint32_t ToSystemColor(int32_t value) {
  auto v = static_cast<uint32_t>(value);
  if (TrueColorMode) return v;
  uint32_t blue = (v / 1024) & 0xFF;
  uint32_t green = (v % 1024) / 32;
  uint32_t red = v % 32;
  // Values outside 0..32767 give components outside 0..31; they are kept to a byte.
  return (Widen(blue) & 0xFF) << 16 | (Widen(green) & 0xFF) << 8 | (Widen(red) & 0xFF);
}

bool MainWindowExists() { return MainWindow.created; }

void EnsureMainWindow() {
  if (MainWindow.created) return;
  MainWindow.screen_width = platform::DisplayWidth();
  MainWindow.screen_height = platform::DisplayHeight();

  platform::WindowSpec spec;
  spec.class_name = "FENSTER";
  spec.title = MainWindow.title.Str();
  spec.style = MainWindow.style_bits | kCreationStyle;
  spec.x = 0;
  spec.y = 0;
  spec.width = MainWindow.screen_width;
  spec.height = MainWindow.screen_height;
  spec.menu_bar = !MainWindow.no_menu_bar;
  spec.white_background = !MainWindow.no_background;
  spec.procedure = MainWindowProcedure;
  spec.main = true;
  MainWindow.dialog_procedure = MainWindow.dialog_navigation;
  uint32_t window = platform::CreateWindow(spec);
  MainWindow.handle = window;

  const int32_t* p = MainWindow.placement;
  platform::SetWindowPos(window, 0, p[0], p[1], p[2], p[3], platform::kSwpNoZOrder);
  platform::ShowWindow(window, platform::kSwShowDefault);

  TargetContext = platform::WindowContext(window);
  platform::SetStretchMode(TargetContext, platform::kColorOnColor);
  MirrorContext = platform::CreateMemoryContext();
  platform::SetStretchMode(MirrorContext, platform::kColorOnColor);
  BackingBitmap = platform::CreateBitmap(MainWindow.screen_width, MainWindow.screen_height);
  MainWindow.bitmap_replaced = platform::SelectBitmap(MirrorContext, BackingBitmap);
  platform::BitBlt(MirrorContext, 0, 0, MainWindow.screen_width, MainWindow.screen_height, TargetContext, 0, 0);
  platform::SetArrowCursor(window);
}

void DestroyMainWindow() {
  if (!MainWindow.created) return;
  // The contexts get their stock brush back; the program's brush is deleted.
  for (uint32_t context : {TargetContext, MirrorContext}) platform::SelectBrush(context, platform::StockWhiteBrush());
  if (CurrentBrush != 0) platform::DeleteObject(CurrentBrush);
  CurrentBrush = 0;
  platform::DestroyWindow(MainWindow.handle);
}

void RefreshMainWindowAfterBox() {
  if (!MainWindow.created) return;
  platform::InvalidateWindow(MainWindow.handle);
  platform::UpdateWindow(MainWindow.handle);
}

}  // namespace morven
