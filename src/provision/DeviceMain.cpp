// HWProvision's device flavour: the terminal's real OS.
#include <windows.h>

#include "platform/win32/Win32Platform.h"
#include "provision/Commands.h"
#include "provision/ExitCodes.h"
#include "provision/Win32ProgramIo.h"

namespace {
hw::Win32Platform platform;
hw::Win32ProgramIo io;
}  // namespace

int wmain(int argc, wchar_t** argv) {
  hw::CommandLine command;
  if (!hw::ReadCommandLine(argc, argv, &command, io)) return hw::kExitRefused;
  return hw::RunCommand(command, &platform, io);
}
