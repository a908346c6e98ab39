// HWProvision's simulator flavour: the terminal kept in a folder, found as
// HWSetup finds it ($HWSETUP_TERMINAL, else "terminal" beside the program).
#include <windows.h>

#include <memory>
#include <string>

#include "platform/simulator/TextCodec.h"
#include "platform/simulator/files/FileIo.h"
#include "platform/simulator/files/TerminalPath.h"
#include "platform/simulator/terminal/PrintedBox.h"
#include "platform/simulator/terminal/SimulatedTerminal.h"
#include "provision/Commands.h"
#include "provision/ExitCodes.h"
#include "provision/Win32ProgramIo.h"

namespace {

// Prints its box when a script asks (HWSETUP_BOX=print), among the lines.
//
// A file path that begins with one backslash and names no drive is the
// terminal's, as on the device: "\Flash Disk\X" is the terminal folder's
// "Flash Disk/X", placed as the simulator places every terminal path (a path
// it refuses opens nothing). A drive path ("Z:\...") or a relative one is the
// desktop's. Such a file is written straight to the folder, outside the model
// of a write-back flash cache.
class SimulatorProgramIo final : public hw::Win32ProgramIo {
 public:
  explicit SimulatorProgramIo(std::string terminalFolder) : folder_(std::move(terminalFolder)) {}

  ReadResult ReadWholeFile(const wchar_t* path, hw::UInt8* buffer, hw::UInt32 capacity,
                           hw::UInt32* size) override {
    std::wstring desktop;
    if (!HostPath(path, &desktop)) {
      *size = 0;
      return kCannotOpen;
    }
    return Win32ProgramIo::ReadWholeFile(desktop.c_str(), buffer, capacity, size);
  }
  File CreateForWriting(const wchar_t* path) override {
    std::wstring desktop;
    return HostPath(path, &desktop) ? Win32ProgramIo::CreateForWriting(desktop.c_str())
                                    : static_cast<File>(kNoFile);
  }
  File OpenForAppending(const wchar_t* path) override {
    std::wstring desktop;
    return HostPath(path, &desktop) ? Win32ProgramIo::OpenForAppending(desktop.c_str())
                                    : static_cast<File>(kNoFile);
  }
  void ShowMessage(const wchar_t* text, const wchar_t* caption, bool warning) override {
    if (!hw::sim::BoxesArePrinted()) return Win32ProgramIo::ShowMessage(text, caption, warning);
    for (const std::u16string& line : hw::sim::BoxLines(reinterpret_cast<const char16_t*>(text),
                                                        reinterpret_cast<const char16_t*>(caption),
                                                        warning ? "warning" : "information")) {
      PrintLine(reinterpret_cast<const wchar_t*>(line.c_str()));
    }
  }

 private:
  // A terminal path the simulator refuses (one that would leave the
  // folder) opens nothing, as a bad name does: ERROR_INVALID_NAME.
  bool HostPath(const wchar_t* path, std::wstring* desktop) {
    *desktop = path;
    if (path[0] != L'\\' || path[1] == L'\\') return true;
    hw::sim::TerminalPath mapped;
    if (!hw::sim::MapTerminalPath(hw::sim::PathFromUtf8(folder_),
                                  reinterpret_cast<const char16_t*>(path), &mapped)) {
      KeepError(ERROR_INVALID_NAME);
      return false;
    }
    *desktop = mapped.host.wstring();
    return true;
  }

  std::string folder_;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  SimulatorProgramIo io(hw::ProgramTerminalFolder());
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
