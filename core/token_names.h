#pragma once
// Mnemonics of the command tokens, used by the listing tools and in diagnostics.
#include <cstdint>
#include <string_view>

namespace morven {

// The mnemonic of a token, or nullptr when listings write the token as its hex value.
const char* TokenMnemonic(uint8_t token);

// The token with this mnemonic (case-insensitive), or -1.
int FindTokenByMnemonic(std::string_view mnemonic);

// Tokens without a handler: the line is a call of a user procedure whose target line
// follows the token as two bytes, low byte first.
bool IsProcedureCallToken(uint8_t token);

}  // namespace morven
