// The device flavour: the pages talk to the real OS.
#include <windows.h>

#include "framework/App.h"
#include "platform/win32/Win32Platform.h"
#include "ui/TerminalPlatform.h"

namespace {
hw::Win32Platform platform;
}  // namespace

hw::Platform& TerminalPlatform() {
  return platform;
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
  return fw::RunApp(instance);
}
