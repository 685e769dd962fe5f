#include "platform/gui_app.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>
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
  if (IsHeadless()) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Without a display the toolkit's notes (no runtime directory, window operations
    // the offscreen platform lacks) tell nobody anything.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
      if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    });
  }
  // Never destroyed: the process ends through EndProcess, without unwinding.
  g_app = new QApplication(g_argc, g_argv);
}

bool GuiApplicationExists() { return g_app != nullptr; }

void ProcessHostEvents() {
  if (g_app != nullptr) QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void WaitForHostEvents(int32_t milliseconds) {
  EnsureGuiApplication();
  if (milliseconds == 0) {
    ProcessHostEvents();
    return;
  }
  QTimer timer;
  timer.setSingleShot(true);
  if (milliseconds > 0) timer.start(milliseconds);
  QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

}  // namespace morven::platform
