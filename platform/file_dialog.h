#pragma once
// The file-open dialog. Scripted and headless runs take the answer from the script
// ("file TEXT" or "cancel"; a dialog without one is cancelled); every dialog is logged.
#include <optional>
#include <string>
#include <string_view>

namespace morven::platform {

// title is Windows-1252; filter is Windows' "Description|*.ext|..." form. Returns the
// chosen name (Windows-1252), or nothing when cancelled.
std::optional<std::string> FileOpenDialog(std::string_view title, std::string_view filter);

}  // namespace morven::platform
