// The simulator flavour: the pages talk to a terminal kept in a folder, found
// through $HWSETUP_TERMINAL or beside the executable.
#include <windows.h>

#include <memory>
#include <string>

#include "framework/App.h"
#include "framework/MessageBox.h"
#include "platform/simulator/terminal/PrintedBox.h"
#include "platform/simulator/terminal/SimulatedTerminal.h"
#include "ui/TerminalPlatform.h"

namespace {

std::unique_ptr<hw::SimulatedTerminal> terminal;

int PrintedBox(HWND, const wchar_t* text, const wchar_t* caption, UINT type) {
  const UINT icon = type & MB_ICONMASK;
  hw::sim::PrintBox(reinterpret_cast<const char16_t*>(text),
                    reinterpret_cast<const char16_t*>(caption),
                    icon == MB_ICONWARNING       ? "warning"
                    : icon == MB_ICONINFORMATION ? "information"
                    : icon == MB_ICONERROR       ? "error"
                    : icon == MB_ICONQUESTION    ? "question"
                                                 : "none");
  return IDOK;
}

}  // namespace

hw::Platform& TerminalPlatform() {
  return *terminal;
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
  // A malformed terminal has been reported by Load; the tool does not start on it.
  terminal = hw::SimulatedTerminal::Load(hw::ProgramTerminalFolder(), nullptr);
  if (terminal == nullptr) return 1;
  if (hw::sim::BoxesArePrinted()) fw::SetMessageBoxStandIn(PrintedBox);
  return fw::RunApp(instance);
}
