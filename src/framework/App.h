#pragma once

#include <windows.h>

#include <string>

#include "framework/Window.h"

namespace fw {

// The program's one application object. RunApp finds it; the program's
// wWinMain calls RunApp.
class App {
 public:
  App();
  virtual ~App();
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  static App* Current() { return current_; }

  // False ends the program without a message loop.
  virtual bool InitInstance() { return true; }
  // The message loop, until WM_QUIT; then ExitInstance.
  virtual int Run();
  // The program's exit code.
  virtual int ExitInstance() { return exitCode_; }

  // Names the key that per-application settings would live under; the
  // framework keeps the name and writes nothing.
  void SetRegistryKey(const wchar_t* key);
  const std::wstring& RegistryKey() const { return registryKey_; }
  const std::wstring& ProfileName() const { return profileName_; }

  // Dropped by the framework when that window is destroyed.
  void SetMainWindow(Window* window) { mainWindow_ = window; }
  Window* MainWindow() const { return mainWindow_; }

  HINSTANCE Instance() const { return instance_; }
  // The program file's name without its extension.
  const std::wstring& Name() const { return name_; }

 private:
  friend int RunApp(HINSTANCE instance);
  void Initialise(HINSTANCE instance);

  static App* current_;

  HINSTANCE instance_ = nullptr;
  std::wstring name_;
  std::wstring registryKey_;
  std::wstring profileName_;
  Window* mainWindow_ = nullptr;
  int exitCode_ = 0;
};

// The framework's main routine: initialises the framework and the application
// object, then runs InitInstance and, if it returned true, the message loop.
// Returns the exit code of ExitInstance; -1 without an application object.
int RunApp(HINSTANCE instance);

// Where dialog templates and icons are loaded from: the application's module,
// else the process's executable.
HINSTANCE ResourceInstance();
// The caption of message boxes that have none: the application's name, else
// the executable's file name without extension.
const wchar_t* AppName();
// A module's file name without folder and extension.
std::wstring ModuleStem(HINSTANCE module);

}  // namespace fw
