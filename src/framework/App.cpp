#include "framework/App.h"

#include "framework/TabControl.h"

namespace fw {

namespace {
HINSTANCE resourceInstance = NULL;
}  // namespace

App* App::current_ = NULL;

App::App()
    : instance_(NULL), registryKey_(NULL), profileName_(NULL), mainWindow_(NULL), exitCode_(0) {
  name_[0] = L'\0';
  current_ = this;
}

App::~App() {
  if (current_ == this) current_ = NULL;
}

int App::Run() {
  MSG message;
  BOOL got;
  while ((got = ::GetMessageW(&message, NULL, 0, 0)) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  if (got == 0) exitCode_ = static_cast<int>(message.wParam);
  return ExitInstance();
}

void App::SetRegistryKey(const wchar_t* key) {
  registryKey_ = key;
  profileName_ = name_;
}

void App::Initialise(HINSTANCE instance) {
  instance_ = instance;
  ModuleStem(instance, name_);
}

int RunApp(HINSTANCE instance) {
  SetResourceInstance(instance);
  App* app = App::Current();
  if (app == NULL) return -1;
  TabControl::LoadClass();
  app->Initialise(instance);
  if (!app->InitInstance()) return app->ExitInstance();
  return app->Run();
}

HINSTANCE ResourceInstance() {
  return resourceInstance;
}

void SetResourceInstance(HINSTANCE instance) {
  resourceInstance = instance;
}

const wchar_t* AppName() {
  const App* app = App::Current();
  if (app != NULL && app->Name()[0] != L'\0') return app->Name();
  static wchar_t moduleName[MAX_PATH];
  ModuleStem(resourceInstance, moduleName);
  return moduleName;
}

void ModuleStem(HINSTANCE module, wchar_t (&name)[MAX_PATH]) {
  wchar_t path[MAX_PATH];
  const DWORD length = ::GetModuleFileNameW(module, path, MAX_PATH);
  const DWORD end = length < MAX_PATH ? length : 0;
  DWORD start = 0;
  DWORD dot = end;
  for (DWORD i = 0; i < end; ++i) {
    if (path[i] == L'\\' || path[i] == L'/') {
      start = i + 1;
      dot = end;
    } else if (path[i] == L'.') {
      dot = i;
    }
  }
  DWORD n = 0;
  for (DWORD i = start; i < dot; ++i) name[n++] = path[i];
  name[n] = L'\0';
}

}  // namespace fw
