#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace hw::sim {

// One debug line: appended to the terminal's debug.log as UTF-8, and on
// Windows handed to the debugger as well, as the device flavour does.
void WriteDebugLine(const std::filesystem::path& folder, std::u16string_view line);

// A terminal file that does not parse: the message goes once to standard error,
// to debug.log (when `folder` exists) and to the debugger.
void ReportTerminalError(const std::filesystem::path& folder, const std::string& message);

}  // namespace hw::sim
