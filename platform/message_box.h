#pragma once
// Message boxes with Windows' style bits and button codes. Every box is written to the
// event log; in a scripted or headless run it is answered from the script or by its
// default button instead of waiting for a user.
#include <cstdint>
#include <string_view>

namespace morven::platform {

enum : uint32_t {
  kMbOk = 0x0,
  kMbOkCancel = 0x1,
  kMbAbortRetryIgnore = 0x2,
  kMbYesNoCancel = 0x3,
  kMbYesNo = 0x4,
  kMbRetryCancel = 0x5,
  kMbIconError = 0x10,
  kMbIconQuestion = 0x20,
  kMbIconWarning = 0x30,
  kMbIconInformation = 0x40,
  kMbDefButton2 = 0x100,
  kMbDefButton3 = 0x200,
};

enum : int32_t { kIdOk = 1, kIdCancel = 2, kIdAbort = 3, kIdRetry = 4, kIdIgnore = 5, kIdYes = 6, kIdNo = 7 };

// Shows a box; caption and text are Windows-1252. Returns the code of the chosen button.
int32_t MessageBox(std::string_view text, std::string_view caption, uint32_t style);

// The display count of the mouse pointer, changed by one per call (visible at >= 0).
int ShowCursor(bool show);

}  // namespace morven::platform
