#pragma once

#include <string>

namespace hw {

// The folder the simulator flavour runs on: $HWSETUP_TERMINAL when set and not
// empty, else "terminal" inside `exeDir`.
std::string FindTerminalFolder(const std::string& exeDir);

#ifdef _WIN32
// The terminal folder of the running program: FindTerminalFolder of the
// folder its executable is in.
std::string ProgramTerminalFolder();
#endif

}  // namespace hw
