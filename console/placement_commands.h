#pragma once
// Placing, showing, titling and styling the main window; placing any window; logical
// coordinates; the paint mode.
namespace morven {

void PlaceMainWindowCommand();  // 0xBB
void PlaceWindowCommand();      // 0x65
void ShowMaximizedCommand();    // 0xD6
void ShowMinimizedCommand();    // 0xD7
void ShowNormalCommand();       // 0xD8
void TitleCommand();            // 0xBA
void WindowOptionsCommand();    // 0xF5
void LogicalCoordinatesCommand();  // 0x42
void PaintModeCommand();        // 0x50

}  // namespace morven
