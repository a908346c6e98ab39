#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

// Reading another process's windows from outside, as a technician's eyes
// would: class, caption, control texts, visibility, rectangles.

std::string ClassOf(HWND window);
std::string TextOf(HWND window);
std::string ItemText(HWND dialog, int id);
bool IsTopmost(HWND window);
RECT WindowRect(HWND window);
RECT ClientRect(HWND window);
std::string Describe(const RECT& rect);  // "(left,top)-(right,bottom)"
bool SameRect(const RECT& a, const RECT& b);

// Whether `window` comes before `other` in z order (both top-level).
bool InFrontOf(HWND window, HWND other);

// Top-level windows of one process, in z order.
std::vector<HWND> TopLevelWindowsOf(DWORD processId);

// A message box: a dialog with the message text in static 0xFFFF that is
// neither the main window nor a page.
bool IsMessageBox(HWND window);

struct MessageBoxView {
  std::string caption;
  std::string text;
  HWND owner = nullptr;
  std::vector<int> visibleButtons;  // ids of the visible push buttons
  bool hasIcon = false;
};
MessageBoxView ViewOf(HWND box);

// Which module page a dialog is, told by the controls it holds: 1, 2, or 0.
int PageNumberOf(HWND dialog);

// The texts of a tab control's items. The item structure has to live in the
// tab control's process, so it is placed there and read back.
std::vector<std::string> TabItemTexts(HANDLE process, HWND tab);

}  // namespace e2e
