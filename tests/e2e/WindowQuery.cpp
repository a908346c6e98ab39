#include "WindowQuery.h"

#include <commctrl.h>

#include <cstdio>

#include "Text.h"

namespace e2e {

std::string ClassOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return Utf8(name);
}

std::string TextOf(HWND window) {
  wchar_t text[512] = {};
  GetWindowTextW(window, text, 512);
  return Utf8(text);
}

std::string ItemText(HWND dialog, int id) {
  wchar_t text[512] = {};
  GetDlgItemTextW(dialog, id, text, 512);
  return Utf8(text);
}

bool IsTopmost(HWND window) {
  return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

RECT WindowRect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

RECT ClientRect(HWND window) {
  RECT rect{};
  GetClientRect(window, &rect);
  return rect;
}

std::string Describe(const RECT& rect) {
  char text[96];
  std::snprintf(text, sizeof text, "(%ld,%ld)-(%ld,%ld)", rect.left, rect.top, rect.right,
                rect.bottom);
  return text;
}

bool SameRect(const RECT& a, const RECT& b) {
  return EqualRect(&a, &b) != FALSE;
}

bool InFrontOf(HWND window, HWND other) {
  for (HWND next = GetWindow(window, GW_HWNDNEXT); next != nullptr;
       next = GetWindow(next, GW_HWNDNEXT)) {
    if (next == other) return true;
  }
  return false;
}

namespace {

struct WindowSearch {
  DWORD processId;
  std::vector<HWND> found;
};

// A callback of the window system's own calling convention, which a lambda
// does not have on 32-bit Windows.
BOOL CALLBACK CollectWindowOf(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<WindowSearch*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search->processId) search->found.push_back(window);
  return TRUE;
}

}  // namespace

std::vector<HWND> TopLevelWindowsOf(DWORD processId) {
  WindowSearch search{processId, {}};
  EnumWindows(CollectWindowOf, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool IsMessageBox(HWND window) {
  // Pages hold their fixed titles as statics with id 0xFFFF (-1) too.
  HWND text = GetDlgItem(window, 0xFFFF);
  return ClassOf(window) == "#32770" && text != nullptr && ClassOf(text) == "Static" &&
         PageNumberOf(window) == 0 && GetDlgItem(window, 1008) == nullptr;
}

MessageBoxView ViewOf(HWND box) {
  MessageBoxView view;
  view.caption = TextOf(box);
  view.text = ItemText(box, 0xFFFF);
  view.owner = GetWindow(box, GW_OWNER);
  for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child)) continue;
    std::string kind = ClassOf(child);
    if (kind == "Button") view.visibleButtons.push_back(GetDlgCtrlID(child));
    if (kind == "Static" && (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
      view.hasIcon = view.hasIcon || SendMessageW(child, STM_GETICON, 0, 0) != 0;
    }
  }
  return view;
}

int PageNumberOf(HWND dialog) {
  if (ClassOf(dialog) != "#32770") return 0;
  if (GetDlgItem(dialog, 1000) != nullptr && GetDlgItem(dialog, 1001) != nullptr) return 1;
  if (GetDlgItem(dialog, 1023) != nullptr && GetDlgItem(dialog, 1026) != nullptr) return 2;
  return 0;
}

std::vector<std::string> TabItemTexts(HANDLE process, HWND tab) {
  std::vector<std::string> texts;
  const int count = static_cast<int>(SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0));
  constexpr SIZE_T kTextChars = 128;
  const SIZE_T size = sizeof(TCITEMW) + kTextChars * sizeof(wchar_t);
  auto* remote =
      static_cast<BYTE*>(VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE));
  if (remote == nullptr) return texts;
  for (int i = 0; i < count; ++i) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = reinterpret_cast<wchar_t*>(remote + sizeof(TCITEMW));
    item.cchTextMax = kTextChars;
    wchar_t text[kTextChars] = {};
    WriteProcessMemory(process, remote, &item, sizeof item, nullptr);
    WriteProcessMemory(process, remote + sizeof(TCITEMW), text, sizeof text, nullptr);
    DWORD_PTR ok = 0;
    SendMessageTimeoutW(tab, TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(remote),
                        SMTO_NORMAL, 5000, &ok);
    ReadProcessMemory(process, remote + sizeof(TCITEMW), text, sizeof text, nullptr);
    text[kTextChars - 1] = L'\0';
    texts.push_back(ok ? Utf8(text) : std::string("<TCM_GETITEM failed>"));
  }
  VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  return texts;
}

}  // namespace e2e
