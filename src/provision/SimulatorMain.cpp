// HWProvision's simulator flavour: the terminal kept in a folder, found as
// HWSetup finds it ($HWSETUP_TERMINAL, else "terminal" beside the program).
#include <windows.h>

#include <memory>
#include <string>

#include "platform/simulator/terminal/PrintedBox.h"
#include "platform/simulator/terminal/SimulatedTerminal.h"
#include "platform/simulator/TextCodec.h"
#include "provision/Commands.h"
#include "provision/ExitCodes.h"
#include "provision/Win32ProgramIo.h"

namespace {

// Prints its box when a script asks (HWSETUP_BOX=print), among the lines.
class SimulatorProgramIo final : public hw::Win32ProgramIo {
 public:
  void ShowMessage(const wchar_t* text, const wchar_t* caption, bool warning) override {
    if (!hw::sim::BoxesArePrinted()) return Win32ProgramIo::ShowMessage(text, caption, warning);
    for (const std::u16string& line : hw::sim::BoxLines(reinterpret_cast<const char16_t*>(text),
                                                        reinterpret_cast<const char16_t*>(caption),
                                                        warning ? "warning" : "information")) {
      PrintLine(reinterpret_cast<const wchar_t*>(line.c_str()));
    }
  }
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  SimulatorProgramIo io;
  hw::CommandLine command;
  if (!hw::ReadCommandLine(argc, argv, &command, io)) return hw::kExitRefused;
  if (command.command == hw::CommandLine::kHelp) return hw::RunCommand(command, nullptr, io);
  // A terminal that does not load has been reported by Load, with its file
  // and line; to the command it is a terminal that cannot be reached, and
  // the reason comes first.
  std::string error;
  const std::unique_ptr<hw::SimulatedTerminal> terminal =
      hw::SimulatedTerminal::Load(hw::ProgramTerminalFolder(), &error);
  std::u16string reason;
  hw::sim::Utf8ToUtf16(error, &reason);
  return hw::RunCommand(command, terminal.get(), io,
                        terminal ? nullptr : reinterpret_cast<const wchar_t*>(reason.c_str()));
}
