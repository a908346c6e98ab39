// The simulator flavour: the pages talk to a terminal kept in a folder, found
// through $HWSETUP_TERMINAL or beside the executable.
#include <windows.h>

#include <memory>
#include <string>

#include "framework/App.h"
#include "platform/simulator/SimulatedTerminal.h"
#include "ui/TerminalPlatform.h"

namespace {

std::unique_ptr<hw::SimulatedTerminal> terminal;

}  // namespace

hw::Platform& TerminalPlatform() {
  return *terminal;
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
  // A malformed terminal has been reported by Load; the tool does not start on it.
  std::string error;
  terminal = hw::SimulatedTerminal::Load(hw::ProgramTerminalFolder(), &error);
  if (terminal == nullptr) return 1;
  return fw::RunApp(instance);
}
