#include "platform/file_dialog.h"

#include <QFileDialog>
#include <QStringList>

#include "platform/automation.h"
#include "platform/codepage.h"
#include "platform/dialog_script.h"
#include "platform/gui_app.h"

namespace morven::platform {
namespace {

// "Text (*.mvc)|*.MVC|All (*.*)|*.*" -> Qt's "Text (*.mvc) (*.MVC *.mvc);;All (*.*) (*.*)".
// Patterns are offered in both letter cases: the host's file names are case-sensitive.
QString QtFilter(std::string_view windows_filter) {
  QStringList parts = QString::fromStdString(Cp1252ToUtf8(windows_filter)).split('|');
  QStringList filters;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QStringList patterns;
    for (const QString& p : parts[i + 1].split(';', Qt::SkipEmptyParts)) {
      patterns << p.trimmed();
      if (p.trimmed().toLower() != p.trimmed()) patterns << p.trimmed().toLower();
    }
    filters << parts[i] + " (" + patterns.join(' ') + ")";
  }
  return filters.join(";;");
}

std::string ToCp1252(const std::string& utf8) {
  std::string out;
  Utf8ToCp1252(utf8, out);
  return out;
}

}  // namespace

std::optional<std::string> FileOpenDialog(std::string_view title, std::string_view filter) {
  std::string title_utf8 = Cp1252ToUtf8(title);
  ScriptedDialog scripted = NextDialogAnswer(true);
  std::optional<std::string> result;
  if (scripted.answered) {
    result = scripted.result;
  } else if (!IsHeadless()) {
    EnsureGuiApplication();
    QString chosen = QFileDialog::getOpenFileName(nullptr, QString::fromStdString(title_utf8), QString(),
                                                  QtFilter(filter));
    if (!chosen.isEmpty()) result = chosen.toStdString();
  }
  LogDialog("open", title_utf8, result);
  if (!result) return std::nullopt;
  return ToCp1252(*result);
}

}  // namespace morven::platform
