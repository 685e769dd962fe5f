#include "platform/gui_app.h"

#include <QApplication>
#include <cstdlib>

#include "platform/automation.h"

namespace morven::platform {
namespace {

int g_argc = 1;
char g_default_name[] = "morvrun";
char* g_argv[2] = {g_default_name, nullptr};
QApplication* g_app = nullptr;

}  // namespace

void InitGui(int argc, char** argv) {
  if (argc > 0 && argv[0] != nullptr) g_argv[0] = argv[0];
}

void EnsureGuiApplication() {
  if (g_app != nullptr) return;
  if (IsHeadless()) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  // Never destroyed: the process ends through EndProcess, without unwinding.
  g_app = new QApplication(g_argc, g_argv);
}

bool GuiApplicationExists() { return g_app != nullptr; }

void ProcessHostEvents() {
  if (g_app != nullptr) QCoreApplication::processEvents(QEventLoop::AllEvents);
}

}  // namespace morven::platform
