#pragma once

#include "platform/Platform.h"

// The platform the pages work on. Each executable's entry file defines it:
// the device flavour over the real OS, the simulator flavour over a terminal
// kept in a folder. It is first called when the main window is constructed,
// after wWinMain has set the platform up.
hw::Platform& TerminalPlatform();
