#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace hw::sim {

// One debug line: appended to the terminal's debug.log as UTF-8, and on
// Windows handed to the debugger as well, as the device flavour does.
void WriteDebugLine(const std::filesystem::path& folder, std::u16string_view line);

// A terminal file that does not parse: the message goes to debug.log (when
// `folder` exists) and to the debugger, and once to standard error unless
// the caller tells the user itself.
void ReportTerminalError(const std::filesystem::path& folder, const std::string& message,
                         bool toStandardError = true);

// A folder as the desktop names it, for a message the user acts on with the
// desktop's scripts: under Wine, "Z:\work\t" is "/work/t" (Z: is the root of
// the desktop's file system). Any other path is returned as it is.
std::string DesktopPath(const std::string& folder);

}  // namespace hw::sim
