#pragma once
// The command token table: the handler of each token byte.
#include <cstdint>

namespace morven {

using CommandHandler = void (*)();

// The handler of a token, or nullptr: a line whose token has no handler is a call of a
// user procedure.
CommandHandler HandlerOf(uint8_t token);

}  // namespace morven
