#pragma once
// Windows' virtual-key codes and the characters keys produce, for the keyboard the
// runtime models (a US layout): what a typed character's key is, and what character
// TranslateMessage makes of a key-down. Pure tables, without the toolkit.
#include <cstdint>

namespace morven::platform {

enum : uint8_t {
  kVkCancel = 0x03,  // Ctrl+Break
  kVkBack = 0x08,
  kVkTab = 0x09,
  kVkReturn = 0x0D,
  kVkShift = 0x10,
  kVkControl = 0x11,
  kVkMenu = 0x12,  // Alt
  kVkPause = 0x13,
  kVkEscape = 0x1B,
  kVkSpace = 0x20,
  kVkPrior = 0x21,
  kVkNext = 0x22,
  kVkEnd = 0x23,
  kVkHome = 0x24,
  kVkLeft = 0x25,
  kVkUp = 0x26,
  kVkRight = 0x27,
  kVkDown = 0x28,
  kVkInsert = 0x2D,
  kVkDelete = 0x2E,
  kVkNumpad0 = 0x60,
  kVkMultiply = 0x6A,
  kVkAdd = 0x6B,
  kVkSubtract = 0x6D,
  kVkDecimal = 0x6E,
  kVkDivide = 0x6F,
  kVkF1 = 0x70,
  kVkF4 = 0x73,
  kVkF10 = 0x79,
  kVkF24 = 0x87,
  kVkOem1 = 0xBA,  // ;
  kVkOemPlus = 0xBB,
  kVkOemComma = 0xBC,
  kVkOemMinus = 0xBD,
  kVkOemPeriod = 0xBE,
  kVkOem2 = 0xBF,  // /
  kVkOem3 = 0xC0,  // `
  kVkOem4 = 0xDB,  // [
  kVkOem5 = 0xDC,  // backslash
  kVkOem6 = 0xDD,  // ]
  kVkOem7 = 0xDE,  // '
  kVkPacket = 0xE7,  // a character without a key of its own
};

struct KeyOfChar {
  uint8_t vk;
  bool shift;
  bool control;
};

// The key that types a Windows-1252 character: letters, digits and the US layout's
// punctuation have their keys (with Shift where needed); the control characters 1..26
// are Ctrl+letter, except Backspace, Tab and Enter, which have their own keys, as has
// Escape; every other character comes as kVkPacket.
KeyOfChar KeyForChar(uint8_t ch);

// The character (Windows-1252) that a key-down produces, or -1 for keys without one
// (function keys, cursor keys, modifiers). Ctrl with a letter gives 1..26.
int CharForKey(uint8_t vk, bool shift, bool control);

// Keys that Windows reports as system keys (WM_SYSKEYDOWN) even without Alt held: Alt
// itself and F10.
bool IsSystemKey(uint8_t vk);

}  // namespace morven::platform
