#pragma once
// Behaviour the runtime does not have yet must not pass silently: it ends the run
// with a clear message on standard error and exit code 3.
#include <cstdint>
#include <string_view>

namespace morven {

constexpr int kExitNotAvailable = 3;

[[noreturn]] void NotAvailable(std::string_view what);

// The handler of every command token whose command is not available yet.
void CommandNotAvailable();

}  // namespace morven
