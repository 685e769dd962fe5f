// morvrun: runs a compiled MORVEN program.
#include "console/text_screen.h"
#include "core/loader.h"
#include "core/main_loop.h"
#include "core/shutdown.h"
#include "platform/automation.h"
#include "platform/gui_app.h"
#include "platform/process.h"

int main(int argc, char** argv) {
  using namespace morven;
  platform::StartAutomation();
  platform::InitGui(argc, argv);
  platform::SetAbortHandler([](int exit_code) { Shutdown(exit_code); });
  InitTextScreen();
  LoadProgram(argc, argv);
  RunMainLoop();
}
