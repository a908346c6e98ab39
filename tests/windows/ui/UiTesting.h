#pragma once

#include <windows.h>

#include <set>
#include <string>
#include <vector>

namespace uitest {

std::wstring TextOf(HWND window);
std::wstring ClassOf(HWND window);
// The window's rectangle in the client coordinates of `parent`.
RECT RectIn(HWND window, HWND parent);
// A control's rectangle of a template, in the dialog's pixels.
RECT DialogUnits(HWND dialog, int x, int y, int width, int height);

// The child windows in z order, which for a dialog is template order.
std::vector<HWND> Children(HWND parent);
// This thread's top-level dialogs (class #32770) owned by `owner`.
std::vector<HWND> OwnedDialogs(HWND owner);
// The owned dialog that has a control with this text, or null.
HWND OwnedDialogWith(HWND owner, const wchar_t* text);

// While it lives, answers every message box of this thread with OK and keeps
// what each one showed.
class MessageBoxAnswerer {
 public:
  struct Box {
    HWND owner;
    std::wstring ownerFirstText;  // the text of the owner's first control
    std::wstring caption;
    std::wstring text;
  };

  MessageBoxAnswerer();
  ~MessageBoxAnswerer();
  MessageBoxAnswerer(const MessageBoxAnswerer&) = delete;
  MessageBoxAnswerer& operator=(const MessageBoxAnswerer&) = delete;

  const std::vector<Box>& boxes() const { return boxes_; }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
  void Answer(HWND box);

  static MessageBoxAnswerer* current_;
  UINT_PTR timer_;
  std::set<HWND> answered_;
  std::vector<Box> boxes_;
};

}  // namespace uitest
