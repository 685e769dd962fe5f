#include "platform/message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <optional>
#include <string>
#include <vector>

#include "platform/automation.h"
#include "platform/clock.h"
#include "platform/codepage.h"
#include "platform/gui_app.h"

namespace morven::platform {
namespace {

std::vector<int32_t> ButtonsOf(uint32_t style) {
  switch (style & 0xF) {
    case kMbOkCancel: return {kIdOk, kIdCancel};
    case kMbAbortRetryIgnore: return {kIdAbort, kIdRetry, kIdIgnore};
    case kMbYesNoCancel: return {kIdYes, kIdNo, kIdCancel};
    case kMbYesNo: return {kIdYes, kIdNo};
    case kMbRetryCancel: return {kIdRetry, kIdCancel};
    default: return {kIdOk};
  }
}

int32_t DefaultButton(uint32_t style, const std::vector<int32_t>& buttons) {
  size_t index = (style & 0xF00) / 0x100;
  return index < buttons.size() ? buttons[index] : buttons.front();
}

// The answer the script gives, or nothing when the script is exhausted.
std::optional<int32_t> ScriptedAnswer(const std::vector<int32_t>& buttons) {
  while (auto line = NextScriptLine()) {
    if (line->verb == ScriptVerb::Wait) {
      PassTime(static_cast<uint32_t>(line->number));
      continue;
    }
    if (line->verb == ScriptVerb::Answer) {
      for (int32_t b : buttons)
        if (b == line->number) return b;
    }
    ScriptLineDoesNotFit(*line, "a message box to be answered with one of its buttons");
  }
  return std::nullopt;
}

QString ToQt(std::string_view cp1252) { return QString::fromStdString(Cp1252ToUtf8(cp1252)); }

int32_t AskUser(std::string_view text, std::string_view caption, uint32_t style,
                const std::vector<int32_t>& buttons) {
  EnsureGuiApplication();
  QMessageBox box;
  box.setWindowTitle(ToQt(caption));
  box.setText(ToQt(text));
  switch (style & 0xF0) {
    case kMbIconError: box.setIcon(QMessageBox::Critical); break;
    case kMbIconQuestion: box.setIcon(QMessageBox::Question); break;
    case kMbIconWarning: box.setIcon(QMessageBox::Warning); break;
    case kMbIconInformation: box.setIcon(QMessageBox::Information); break;
    default: break;
  }
  static const std::pair<int32_t, QMessageBox::StandardButton> kQtButtons[] = {
      {kIdOk, QMessageBox::Ok},         {kIdCancel, QMessageBox::Cancel}, {kIdAbort, QMessageBox::Abort},
      {kIdRetry, QMessageBox::Retry},   {kIdIgnore, QMessageBox::Ignore}, {kIdYes, QMessageBox::Yes},
      {kIdNo, QMessageBox::No}};
  int32_t fallback = DefaultButton(style, buttons);
  for (int32_t b : buttons)
    for (const auto& [code, qt] : kQtButtons)
      if (code == b) {
        QPushButton* button = box.addButton(qt);
        if (b == fallback) box.setDefaultButton(button);
      }
  int result = box.exec();
  for (const auto& [code, qt] : kQtButtons)
    if (result == qt) return code;
  // Closed with Escape or the title bar: Cancel if the box has it, else its default.
  for (int32_t b : buttons)
    if (b == kIdCancel) return b;
  return fallback;
}

int g_cursor_count = 0;

}  // namespace

int32_t MessageBox(std::string_view text, std::string_view caption, uint32_t style) {
  std::vector<int32_t> buttons = ButtonsOf(style);
  std::optional<int32_t> answer = ScriptedAnswer(buttons);
  if (!answer) answer = IsHeadless() ? DefaultButton(style, buttons) : AskUser(text, caption, style, buttons);
  LogEvent("{\"event\":\"box\",\"caption\":" + JsonString(Cp1252ToUtf8(caption)) +
           ",\"text\":" + JsonString(Cp1252ToUtf8(text)) + ",\"style\":" + std::to_string(style) +
           ",\"answer\":" + std::to_string(*answer) + "}");
  return *answer;
}

int ShowCursor(bool show) {
  g_cursor_count += show ? 1 : -1;
  return g_cursor_count;
}

}  // namespace morven::platform
