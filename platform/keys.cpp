#include "platform/keys.h"

namespace morven::platform {
namespace {

// The US layout's punctuation keys: the character without and with Shift.
struct PunctuationKey {
  uint8_t vk;
  char plain;
  char shifted;
};
constexpr PunctuationKey kPunctuation[] = {
    {kVkOem1, ';', ':'},      {kVkOemPlus, '=', '+'},   {kVkOemComma, ',', '<'}, {kVkOemMinus, '-', '_'},
    {kVkOemPeriod, '.', '>'}, {kVkOem2, '/', '?'},      {kVkOem3, '`', '~'},     {kVkOem4, '[', '{'},
    {kVkOem5, '\\', '|'},     {kVkOem6, ']', '}'},      {kVkOem7, '\'', '"'},
};

// Shift + digit, in digit order.
constexpr char kShiftedDigits[] = ")!@#$%^&*(";

}  // namespace

KeyOfChar KeyForChar(uint8_t ch) {
  if (ch == '\b') return {kVkBack, false, false};
  if (ch == '\t') return {kVkTab, false, false};
  if (ch == '\r' || ch == '\n') return {kVkReturn, false, false};
  if (ch == 0x1B) return {kVkEscape, false, false};
  if (ch == ' ') return {kVkSpace, false, false};
  if (ch >= 1 && ch <= 26) return {static_cast<uint8_t>('A' + ch - 1), false, true};
  if (ch >= 'a' && ch <= 'z') return {static_cast<uint8_t>(ch - 'a' + 'A'), false, false};
  if (ch >= 'A' && ch <= 'Z') return {ch, true, false};
  if (ch >= '0' && ch <= '9') return {ch, false, false};
  for (int d = 0; d < 10; ++d)
    if (kShiftedDigits[d] == static_cast<char>(ch)) return {static_cast<uint8_t>('0' + d), true, false};
  for (const PunctuationKey& k : kPunctuation) {
    if (k.plain == static_cast<char>(ch)) return {k.vk, false, false};
    if (k.shifted == static_cast<char>(ch)) return {k.vk, true, false};
  }
  return {kVkPacket, false, false};
}

int CharForKey(uint8_t vk, bool shift, bool control) {
  if (vk >= 'A' && vk <= 'Z') {
    if (control) return vk - 'A' + 1;
    return shift ? vk : vk - 'A' + 'a';
  }
  if (control) return -1;
  if (vk >= '0' && vk <= '9') return shift ? kShiftedDigits[vk - '0'] : vk;
  if (vk >= kVkNumpad0 && vk <= kVkNumpad0 + 9) return '0' + (vk - kVkNumpad0);
  switch (vk) {
    case kVkBack: return '\b';
    case kVkTab: return '\t';
    case kVkReturn: return '\r';
    case kVkEscape: return 0x1B;
    case kVkSpace: return ' ';
    case kVkMultiply: return '*';
    case kVkAdd: return '+';
    case kVkSubtract: return '-';
    case kVkDecimal: return '.';
    case kVkDivide: return '/';
    default: break;
  }
  for (const PunctuationKey& k : kPunctuation)
    if (k.vk == vk) return shift ? k.shifted : k.plain;
  return -1;
}

bool IsSystemKey(uint8_t vk) { return vk == kVkMenu || vk == kVkF10; }

}  // namespace morven::platform
