// The simulator flavour: the pages talk to a terminal kept in a folder, found
// through $HWSETUP_TERMINAL or beside the executable.
#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>

#include "framework/App.h"
#include "platform/simulator/SimulatedTerminal.h"
#include "ui/TerminalPlatform.h"

namespace {

std::unique_ptr<hw::SimulatedTerminal> terminal;

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

hw::Platform& TerminalPlatform() {
  return *terminal;
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
  // A malformed terminal has been reported by Load; the tool does not start on it.
  std::string error;
  terminal = hw::SimulatedTerminal::Load(hw::FindTerminalFolder(ExecutableFolder()), &error);
  if (terminal == nullptr) return 1;
  return fw::RunApp(instance);
}
