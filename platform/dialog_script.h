#pragma once
// Shared by the standard dialogs: what the script says about the next dialog, and the
// dialog's log event.
#include <optional>
#include <string>
#include <string_view>

namespace morven::platform {

struct ScriptedDialog {
  bool answered = false;                 // false: the script is exhausted
  std::optional<std::string> result;     // UTF-8 text, or nothing for "cancel"
};

// accepts_file: the dialog takes "file TEXT" lines (file and folder dialogs); the
// others take "text-answer TEXT". "cancel" fits every dialog; "wait" lets time pass.
ScriptedDialog NextDialogAnswer(bool accepts_file);

void LogDialog(std::string_view kind, std::string_view title_utf8, const std::optional<std::string>& result_utf8);

}  // namespace morven::platform
