#include "console/text_screen.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/automation.h"
#include "platform/codepage.h"
#include "platform/process.h"

namespace morven {

int32_t GridColumns = 80;
int32_t GridRows = 32;

namespace {

std::vector<char> g_cells;  // row by row
std::string g_screen_text_path;

void WriteScreenText() {
  FILE* f = std::fopen(g_screen_text_path.c_str(), "wb");
  if (f == nullptr) {
    std::fprintf(stderr, "morvrun: cannot write MORVEN_SCREEN_TEXT %s\n", g_screen_text_path.c_str());
    return;
  }
  std::string text = ScreenTextUtf8();
  std::fwrite(text.data(), 1, text.size(), f);
  std::fclose(f);
}

}  // namespace

void InitTextScreen() {
  g_cells.assign(static_cast<size_t>(GridColumns) * static_cast<size_t>(GridRows), ' ');
  if (const char* path = std::getenv("MORVEN_SCREEN_TEXT"); path != nullptr && *path != '\0') {
    g_screen_text_path = platform::StartRelativePath(path);
    platform::AddExitStep(WriteScreenText);
  }
}

std::string ScreenTextUtf8() {
  std::string text;
  for (int32_t row = 0; row < GridRows; ++row) {
    std::string_view line(g_cells.data() + static_cast<size_t>(row) * static_cast<size_t>(GridColumns),
                          static_cast<size_t>(GridColumns));
    text += platform::Cp1252ToUtf8(line);
    text += '\n';
  }
  return text;
}

}  // namespace morven
