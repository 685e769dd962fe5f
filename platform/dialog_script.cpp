#include "platform/dialog_script.h"

#include "platform/automation.h"
#include "platform/clock.h"

namespace morven::platform {

ScriptedDialog NextDialogAnswer(bool accepts_file) {
  while (auto line = NextScriptLine()) {
    switch (line->verb) {
      case ScriptVerb::Wait:
        PassTime(static_cast<uint32_t>(line->number));
        continue;
      case ScriptVerb::Cancel:
        return {true, std::nullopt};
      case ScriptVerb::File:
        if (accepts_file) return {true, line->text};
        break;
      case ScriptVerb::TextAnswer:
        if (!accepts_file) return {true, line->text};
        break;
      default:
        break;
    }
    ScriptLineDoesNotFit(*line, accepts_file ? "a file dialog (file TEXT or cancel)"
                                             : "a dialog (text-answer TEXT or cancel)");
  }
  return {};
}

void LogDialog(std::string_view kind, std::string_view title_utf8, const std::optional<std::string>& result_utf8) {
  LogEvent("{\"event\":\"dialog\",\"kind\":" + JsonString(kind) + ",\"title\":" + JsonString(title_utf8) +
           ",\"result\":" + (result_utf8 ? JsonString(*result_utf8) : std::string("null")) + "}");
}

}  // namespace morven::platform
