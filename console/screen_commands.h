#pragma once
// The text screen's commands: clear screen, repaint, cursor, text colours, text font
// and the text box.
namespace morven {

void ClearScreenCommand();  // 0x90
void RepaintCommand();      // 0x91
void LocateCommand();       // 0xBE
void ColorCommand();        // 0xDA
void FontCommand();         // 0xDB
void TextBoxCommand();      // 0xE2

}  // namespace morven
