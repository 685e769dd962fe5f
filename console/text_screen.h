#pragma once
// The emulated text screen: GridRows lines of GridColumns character cells holding
// Windows-1252 text. It exists from the start of the run, before the main window.
#include <cstdint>
#include <string>

namespace morven {

extern int32_t GridColumns;  // 80 at start
extern int32_t GridRows;     // 32 at start

// Sets up the empty screen and registers the screen-text dump of MORVEN_SCREEN_TEXT,
// written at every exit.
void InitTextScreen();

// The screen as UTF-8 text: one line per row, each GridColumns characters.
std::string ScreenTextUtf8();

}  // namespace morven
