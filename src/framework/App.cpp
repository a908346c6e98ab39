#include "framework/App.h"

#include "framework/TabControl.h"

namespace fw {

App* App::current_ = nullptr;

App::App() {
  current_ = this;
}

App::~App() {
  if (current_ == this) current_ = nullptr;
}

int App::Run() {
  MSG message;
  BOOL got;
  while ((got = ::GetMessageW(&message, nullptr, 0, 0)) > 0) {
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
  name_ = ModuleStem(instance);
}

int RunApp(HINSTANCE instance) {
  App* app = App::Current();
  if (app == nullptr) return -1;
  TabControl::LoadClass();
  app->Initialise(instance);
  if (!app->InitInstance()) return app->ExitInstance();
  return app->Run();
}

HINSTANCE ResourceInstance() {
  const App* app = App::Current();
  if (app != nullptr && app->Instance() != nullptr) return app->Instance();
  return ::GetModuleHandleW(nullptr);
}

const wchar_t* AppName() {
  const App* app = App::Current();
  if (app != nullptr && !app->Name().empty()) return app->Name().c_str();
  static const std::wstring executable = ModuleStem(nullptr);
  return executable.c_str();
}

std::wstring ModuleStem(HINSTANCE module) {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameW(module, path, MAX_PATH);
  std::wstring name(path, length < MAX_PATH ? length : 0);
  const std::size_t slash = name.find_last_of(L"\\/");
  if (slash != std::wstring::npos) name.erase(0, slash + 1);
  const std::size_t dot = name.rfind(L'.');
  if (dot != std::wstring::npos) name.erase(dot);
  return name;
}

}  // namespace fw
