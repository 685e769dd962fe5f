#pragma once
// The main window: the program's one window, at once a text screen and a canvas. Its
// state, its lazy creation, its two drawing contexts and the BackingBitmap.
#include <array>
#include <cstdint>
#include <string>

#include "core/short_string.h"

namespace morven {

struct MainWindowState {
  uint32_t handle = 0;
  bool created = false;  // between the creation and the destruction message
  int32_t placement[4] = {0, 0, 640, 480};  // WindowPlacement: left, top, width, height
  ShortString title{"ZOX-MORVEN\xB2 RUNTIME 6.0-NT"};  // WindowTitle
  uint32_t style_bits = 0x000F0000;  // WindowStyleBits
  // The options of command 0xF5.
  bool no_menu_bar = false;
  bool no_background = false;
  bool popup = false;
  bool sys_keys_as_commands = false;
  bool sys_menu_as_commands = false;
  bool dialog_navigation = false;
  bool dialog_procedure = false;  // the window got the dialog variant of its procedure
  int32_t screen_width = 0;   // ScreenWidth, read at creation
  int32_t screen_height = 0;  // ScreenHeight
  int32_t paint_mode = 2;     // PaintMode
  uint32_t bitmap_replaced = 0;  // the bitmap the BackingBitmap replaced in MirrorContext
};

extern MainWindowState MainWindow;
extern uint32_t TargetContext;
extern uint32_t MirrorContext;
extern uint32_t BackingBitmap;

// The brush that clear screen with a colour made (the current fill brush of the
// drawing commands) and the brush it replaced; 0 when none was made.
extern uint32_t CurrentBrush;

// The sixteen colours of the text screen, Windows colour values 0x00BBGGRR.
extern const std::array<uint32_t, 16> TextPalette;

// A program colour value as a Windows colour: 24-bit as it is with TrueColorMode,
// otherwise 15-bit (red + 32 green + 1024 blue) with each component widened.
uint32_t ToSystemColor(int32_t value);

// Creates the main window when it does not exist (the first output, clear screen,
// text box or placement does this).
void EnsureMainWindow();

bool MainWindowExists();

// The end of a normal run: releases the contexts' objects, destroys the window and
// deletes its contexts and the BackingBitmap.
void DestroyMainWindow();

// A box or dialog covered the window: it is invalidated without erasing and updated.
void RefreshMainWindowAfterBox();

}  // namespace morven
