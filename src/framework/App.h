#pragma once

#include <windows.h>

#include "framework/Window.h"

namespace fw {

// The program's one application object. RunApp finds it; the program's
// wWinMain calls RunApp with the instance handle it was given.
class App {
 public:
  App();
  virtual ~App();

  static App* Current() { return current_; }

  // False ends the program without a message loop.
  virtual bool InitInstance() { return true; }
  // The message loop, until WM_QUIT; then ExitInstance.
  virtual int Run();
  // The program's exit code.
  virtual int ExitInstance() { return exitCode_; }

  // Names the key that per-application settings would live under; the
  // framework keeps the name and writes nothing. The text must outlive the
  // application: the tool passes a literal.
  void SetRegistryKey(const wchar_t* key);
  const wchar_t* RegistryKey() const { return registryKey_; }
  const wchar_t* ProfileName() const { return profileName_; }

  // Dropped by the framework when that window is destroyed.
  void SetMainWindow(Window* window) { mainWindow_ = window; }
  Window* MainWindow() const { return mainWindow_; }

  HINSTANCE Instance() const { return instance_; }
  // The program file's name without its extension.
  const wchar_t* Name() const { return name_; }

 private:
  App(const App&);
  App& operator=(const App&);

  friend int RunApp(HINSTANCE instance);
  void Initialise(HINSTANCE instance);

  static App* current_;

  HINSTANCE instance_;
  wchar_t name_[MAX_PATH];
  const wchar_t* registryKey_;
  const wchar_t* profileName_;
  Window* mainWindow_;
  int exitCode_;
};

// The framework's main routine: initialises the framework and the application
// object with the entry point's instance handle, then runs InitInstance and,
// if it returned true, the message loop. Returns the exit code of
// ExitInstance; -1 without an application object.
int RunApp(HINSTANCE instance);

// Where dialog templates and icons are loaded from: the module RunApp was
// given. Windows CE answers GetModuleHandle(NULL) with a pseudo handle that
// finds no resources, so the entry point's handle is the only right one.
// Programs that run no App (the tests) set it themselves.
HINSTANCE ResourceInstance();
void SetResourceInstance(HINSTANCE instance);
// The caption of message boxes that have none: the application's name, else
// the resource module's file name without extension.
const wchar_t* AppName();
// A module's file name without folder and extension, into `name`.
void ModuleStem(HINSTANCE module, wchar_t (&name)[MAX_PATH]);

}  // namespace fw
