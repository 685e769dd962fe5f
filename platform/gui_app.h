#pragma once
// The host toolkit's application object, created on first need so that runs which
// never show anything start fast.
#include <cstdint>

namespace morven::platform {

// Remembers argv[0] for the toolkit. Call once at start.
void InitGui(int argc, char** argv);

// Creates the application object (the "offscreen" platform when headless).
void EnsureGuiApplication();

bool GuiApplicationExists();

// Lets the toolkit deliver pending host events (no-op before the application exists).
void ProcessHostEvents();

// Waits until the host has events to deliver (and delivers them), or until the
// milliseconds have passed; a negative time waits for events only.
void WaitForHostEvents(int32_t milliseconds);

}  // namespace morven::platform
