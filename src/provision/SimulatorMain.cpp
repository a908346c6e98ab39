// HWProvision's simulator flavour: the terminal kept in a folder, found as
// HWSetup finds it ($HWSETUP_TERMINAL, else "terminal" beside the program).
#include <windows.h>

#include <memory>
#include <string>

#include "platform/simulator/SimulatedTerminal.h"
#include "provision/Commands.h"
#include "provision/ExitCodes.h"
#include "provision/Win32ProgramIo.h"

int wmain(int argc, wchar_t** argv) {
  hw::Win32ProgramIo io;
  hw::CommandLine command;
  if (!hw::ReadCommandLine(argc, argv, &command, io)) return hw::kExitRefused;
  // A terminal that does not load has been reported by Load, with its file
  // and line; to the command it is a terminal that cannot be reached.
  std::string error;
  const std::unique_ptr<hw::SimulatedTerminal> terminal =
      hw::SimulatedTerminal::Load(hw::ProgramTerminalFolder(), &error);
  return hw::RunCommand(command, terminal.get(), io);
}
