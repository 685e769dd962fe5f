#pragma once
#include <cstdint>
#include <string_view>

namespace morven {

// The German text of a message number (Windows-1252), or "UNERWARTETER FEHLER!".
std::string_view MessageText(int32_t number);

}  // namespace morven
