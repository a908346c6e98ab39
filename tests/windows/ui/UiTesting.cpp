#include "UiTesting.h"

#include "framework/App.h"

namespace uitest {

namespace {
// This program runs no fw::App, whose entry point would name the module the
// windows load their templates and icon from; it is this program itself.
const bool resourcesHere = (fw::SetResourceInstance(::GetModuleHandleW(nullptr)), true);
}  // namespace

std::wstring TextOf(HWND window) {
  wchar_t text[256] = {};
  ::GetWindowTextW(window, text, 256);
  return text;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  ::GetClassNameW(window, name, 64);
  return name;
}

RECT RectIn(HWND window, HWND parent) {
  RECT rect;
  ::GetWindowRect(window, &rect);
  ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

RECT DialogUnits(HWND dialog, int x, int y, int width, int height) {
  // Position and size are converted on their own, as the dialog manager
  // does: converting the far edge instead rounds differently.
  RECT units = {x, y, width, height};
  ::MapDialogRect(dialog, &units);
  return {units.left, units.top, units.left + units.right, units.top + units.bottom};
}

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> children;
  for (HWND child = ::GetWindow(parent, GW_CHILD); child != nullptr;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  return children;
}

namespace {

BOOL CALLBACK Collect(HWND window, LPARAM windows) {
  reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
  return TRUE;
}

std::vector<HWND> ThreadDialogs() {
  std::vector<HWND> all;
  ::EnumThreadWindows(::GetCurrentThreadId(), Collect, reinterpret_cast<LPARAM>(&all));
  std::vector<HWND> dialogs;
  for (HWND window : all) {
    if (ClassOf(window) == L"#32770") dialogs.push_back(window);
  }
  return dialogs;
}

bool IsMessageBox(HWND dialog) {
  return ::GetDlgItem(dialog, IDOK) != nullptr && ::GetDlgItem(dialog, 0xFFFF) != nullptr &&
         ::IsWindowVisible(dialog);
}

}  // namespace

std::vector<HWND> OwnedDialogs(HWND owner) {
  std::vector<HWND> owned;
  for (HWND dialog : ThreadDialogs()) {
    if (::GetWindow(dialog, GW_OWNER) == owner) owned.push_back(dialog);
  }
  return owned;
}

HWND OwnedDialogWith(HWND owner, const wchar_t* text) {
  for (HWND dialog : OwnedDialogs(owner)) {
    for (HWND child : Children(dialog)) {
      if (TextOf(child) == text) return dialog;
    }
  }
  return nullptr;
}

MessageBoxAnswerer* MessageBoxAnswerer::current_ = nullptr;

MessageBoxAnswerer::MessageBoxAnswerer() : timer_(::SetTimer(nullptr, 0, 20, Tick)) {
  current_ = this;
}

MessageBoxAnswerer::~MessageBoxAnswerer() {
  ::KillTimer(nullptr, timer_);
  current_ = nullptr;
}

void CALLBACK MessageBoxAnswerer::Tick(HWND, UINT, UINT_PTR, DWORD) {
  if (current_ == nullptr) return;
  for (HWND dialog : ThreadDialogs()) {
    if (IsMessageBox(dialog) && current_->answered_.insert(dialog).second) current_->Answer(dialog);
  }
}

void MessageBoxAnswerer::Answer(HWND box) {
  Box seen = {::GetWindow(box, GW_OWNER), L"", TextOf(box), TextOf(::GetDlgItem(box, 0xFFFF))};
  const std::vector<HWND> ownerChildren = Children(seen.owner);
  if (!ownerChildren.empty()) seen.ownerFirstText = TextOf(ownerChildren.front());
  boxes_.push_back(seen);
  ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

}  // namespace uitest
