#include "platform/automation.h"

#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fstream>
#include <string>

#include "platform/process.h"

namespace morven::platform {
namespace {

std::string g_start_dir;
bool g_headless = false;
FILE* g_log = nullptr;
bool g_have_script = false;
std::deque<ScriptLine> g_script;

[[noreturn]] void AutomationFailure(const std::string& message) {
  std::fprintf(stderr, "morvrun: %s\n", message.c_str());
  EndProcess(3);
}

// Button names of the "answer" line and their codes.
struct ButtonName {
  const char* name;
  int32_t code;
};
constexpr ButtonName kButtons[] = {{"OK", 1},    {"CANCEL", 2}, {"ABORT", 3}, {"RETRY", 4},
                                   {"IGNORE", 5}, {"YES", 6},    {"NO", 7}};

bool ParseNumber(std::string_view text, int32_t& out) {
  std::string s(text);
  if (s.empty()) return false;
  char* end = nullptr;
  errno = 0;
  long long v = std::strtoll(s.c_str(), &end, 0);  // decimal or 0x..
  if (errno != 0 || end == s.c_str() || *end != '\0' || v < INT32_MIN || v > UINT32_MAX) return false;
  out = static_cast<int32_t>(v);
  return true;
}

// Resolves the C escapes of a "type" line: \r \n \b \t \\ \xNN.
bool UnescapeTyped(std::string_view in, std::string& out) {
  for (size_t i = 0; i < in.size(); ++i) {
    char c = in[i];
    if (c != '\\') {
      out += c;
      continue;
    }
    if (++i >= in.size()) return false;
    switch (in[i]) {
      case 'r': out += '\r'; break;
      case 'n': out += '\n'; break;
      case 'b': out += '\b'; break;
      case 't': out += '\t'; break;
      case '\\': out += '\\'; break;
      case 'x': {
        if (i + 2 >= in.size()) return false;
        int32_t v = 0;
        if (!ParseNumber("0x" + std::string(in.substr(i + 1, 2)), v)) return false;
        out += static_cast<char>(v);
        i += 2;
        break;
      }
      default: return false;
    }
  }
  return true;
}

std::string Upper(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

bool ParseScriptLine(const std::string& raw, ScriptLine& line) {
  size_t space = raw.find(' ');
  std::string verb = raw.substr(0, space);
  std::string rest = space == std::string::npos ? "" : raw.substr(space + 1);
  if (verb == "answer") {
    line.verb = ScriptVerb::Answer;
    for (const auto& b : kButtons)
      if (Upper(rest) == b.name) {
        line.number = b.code;
        return true;
      }
    return ParseNumber(rest, line.number) && line.number >= 1 && line.number <= 7;
  }
  if (verb == "file") {
    line.verb = ScriptVerb::File;
    line.text = rest;
    return true;
  }
  if (verb == "text-answer") {
    line.verb = ScriptVerb::TextAnswer;
    line.text = rest;
    return true;
  }
  if (verb == "cancel") {
    line.verb = ScriptVerb::Cancel;
    return rest.empty();
  }
  if (verb == "type") {
    line.verb = ScriptVerb::Type;
    return UnescapeTyped(rest, line.text);
  }
  if (verb == "key") {
    line.verb = ScriptVerb::Key;
    return ParseNumber(rest, line.number) && line.number >= 0 && line.number <= 255;
  }
  if (verb == "menu") {
    line.verb = ScriptVerb::Menu;
    return ParseNumber(rest, line.number);
  }
  if (verb == "close") {
    line.verb = ScriptVerb::Close;
    return rest.empty();
  }
  if (verb == "wait") {
    line.verb = ScriptVerb::Wait;
    return ParseNumber(rest, line.number) && line.number >= 0;
  }
  if (verb == "click") {
    line.verb = ScriptVerb::Click;
    char x[32], y[32], button[32];
    int n = std::sscanf(rest.c_str(), "%31s %31s %31s", x, y, button);
    if (n < 2 || !ParseNumber(x, line.x) || !ParseNumber(y, line.y)) return false;
    if (n == 3) {
      if (std::strcmp(button, "right") == 0) line.right_button = true;
      else if (std::strcmp(button, "left") != 0) return false;
    }
    return true;
  }
  return false;
}

void LoadScript(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) AutomationFailure("cannot read MORVEN_INPUT script " + path + ": " + std::strerror(errno));
  g_have_script = true;
  std::string raw;
  int number = 0;
  while (std::getline(in, raw)) {
    ++number;
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();
    if (raw.empty() || raw[0] == '#') continue;
    ScriptLine line;
    line.source_line = number;
    line.source = raw;
    if (!ParseScriptLine(raw, line))
      AutomationFailure("MORVEN_INPUT line " + std::to_string(number) + " is not a valid script line: " + raw);
    g_script.push_back(std::move(line));
  }
}

}  // namespace

void StartAutomation() {
  char cwd[4096];
  g_start_dir = getcwd(cwd, sizeof cwd) != nullptr ? cwd : ".";

  const char* headless = std::getenv("MORVEN_HEADLESS");
  const char* display = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  bool no_display = (display == nullptr || *display == '\0') && (wayland == nullptr || *wayland == '\0');
  g_headless = (headless != nullptr && std::strcmp(headless, "1") == 0) || no_display;

  if (const char* log = std::getenv("MORVEN_LOG"); log != nullptr && *log != '\0') {
    if (std::strcmp(log, "-") == 0) {
      g_log = stderr;
    } else {
      std::string path = StartRelativePath(log);
      g_log = std::fopen(path.c_str(), "ab");
      if (g_log == nullptr) AutomationFailure("cannot open MORVEN_LOG " + path + ": " + std::strerror(errno));
    }
  }
  if (const char* input = std::getenv("MORVEN_INPUT"); input != nullptr && *input != '\0')
    LoadScript(StartRelativePath(input));
}

bool IsHeadless() { return g_headless; }

std::string StartRelativePath(const std::string& path) {
  if (path.empty() || path[0] == '/') return path;
  return g_start_dir + "/" + path;
}

std::string JsonString(std::string_view utf8) {
  std::string out = "\"";
  for (char ch : utf8) {
    auto c = static_cast<unsigned char>(ch);
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      default:
        if (c < 0x20 || c == 0x7F) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out += ch;
        }
    }
  }
  return out + "\"";
}

void LogEvent(const std::string& json_object) {
  if (g_log == nullptr) return;
  std::fputs(json_object.c_str(), g_log);
  std::fputc('\n', g_log);
  std::fflush(g_log);
}

void LogExit(int exit_code) {
  LogEvent("{\"event\":\"exit\",\"code\":" + std::to_string(exit_code) + "}");
}

bool HasScript() { return g_have_script; }

std::optional<ScriptLine> NextScriptLine() {
  if (g_script.empty()) return std::nullopt;
  ScriptLine line = std::move(g_script.front());
  g_script.pop_front();
  return line;
}

void ScriptLineDoesNotFit(const ScriptLine& line, std::string_view waiting_for) {
  std::fprintf(stderr, "morvrun: MORVEN_INPUT line %d \"%s\" does not fit: the program waits for %.*s\n",
               line.source_line, line.source.c_str(), static_cast<int>(waiting_for.size()), waiting_for.data());
  AbortRun(3);
}

}  // namespace morven::platform
