#pragma once
// Handles: windows, contexts, pens, brushes, fonts, bitmaps, menus and timers are
// 32-bit integers that programs store and pass back. The table maps them to host
// objects; a stale or unknown handle, or one of another kind, is found as nothing
// and never dereferenced.
#include <cstdint>

namespace morven::platform {

enum class HandleKind : uint8_t { Window = 1, Context, Pen, Brush, Font, Bitmap, Menu, Timer };

// A new handle for object (never 0, always positive as a signed 32-bit number).
uint32_t NewHandle(HandleKind kind, void* object);

// The object of a live handle of this kind, or nullptr.
void* FindHandle(uint32_t handle, HandleKind kind);

// Frees the handle; later lookups of it find nothing.
void ReleaseHandle(uint32_t handle);

}  // namespace morven::platform
