#pragma once
// The headless automation contract: MORVEN_HEADLESS, MORVEN_LOG (JSON Lines event
// log), MORVEN_INPUT (a script of user actions). docs/automation.md describes it;
// other programs depend on it byte for byte, so it only ever grows.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace morven::platform {

// Reads the environment once at start, before the program may change directory.
// A script that cannot be read or holds a malformed line ends the run (exit code 3).
void StartAutomation();

// True when no visible window may appear: MORVEN_HEADLESS=1, or no display at all.
bool IsHeadless();

// A path from a MORVEN_* variable, taken relative to the directory morvrun started in.
std::string StartRelativePath(const std::string& path);

// JSON string literal of a UTF-8 text.
std::string JsonString(std::string_view utf8);

// Appends one event object (already serialised, without newline) to the log.
void LogEvent(const std::string& json_object);
void LogExit(int exit_code);

enum class ScriptVerb { Answer, File, TextAnswer, Cancel, Type, Key, Click, Menu, Close, Wait };

struct ScriptLine {
  ScriptVerb verb;
  std::string text;      // file / text-answer / type (escapes resolved; UTF-8)
  int32_t number = 0;    // answer button code, key code, menu id, wait milliseconds
  int32_t x = 0, y = 0;  // click position
  bool right_button = false;
  int source_line = 0;   // line number in the script file
  std::string source;    // the line as written, for messages
};

bool HasScript();

// Takes the next script line, or nothing when the script is exhausted (or absent).
std::optional<ScriptLine> NextScriptLine();

// A consumed line that does not fit what the runtime waits for: reported on standard
// error, and the run ends with exit code 3.
[[noreturn]] void ScriptLineDoesNotFit(const ScriptLine& line, std::string_view waiting_for);

}  // namespace morven::platform
