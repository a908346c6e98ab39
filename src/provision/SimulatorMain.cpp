// HWProvision's simulator flavour: the terminal kept in a folder, found as
// HWSetup finds it ($HWSETUP_TERMINAL, else "terminal" beside the program).
#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>

#include "platform/simulator/SimulatedTerminal.h"
#include "provision/Commands.h"
#include "provision/ExitCodes.h"
#include "provision/Win32ProgramIo.h"

namespace {

// The executable's folder in UTF-8, without a trailing separator.
std::string ExecutableFolder() {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length < MAX_PATH ? length : 0);
  folder.erase(std::min(folder.size(), folder.find_last_of(L"\\/")));
  const int bytes = ::WideCharToMultiByte(
      CP_UTF8, 0, folder.c_str(), static_cast<int>(folder.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(bytes), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, folder.c_str(), static_cast<int>(folder.size()), &utf8[0],
                        bytes, nullptr, nullptr);
  return utf8;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  hw::Win32ProgramIo io;
  hw::CommandLine command;
  if (!hw::ReadCommandLine(argc, argv, &command, io)) return hw::kExitRefused;
  // A terminal that does not load has been reported by Load, with its file
  // and line; to the command it is a terminal that cannot be reached.
  std::string error;
  const std::unique_ptr<hw::SimulatedTerminal> terminal =
      hw::SimulatedTerminal::Load(hw::FindTerminalFolder(ExecutableFolder()), &error);
  return hw::RunCommand(command, terminal.get(), io);
}
