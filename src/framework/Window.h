#pragma once

#include <windows.h>

#include "platform/Types.h"

namespace fw {

// A view of one window handle. It never destroys what it holds; dialogs do
// that for their own window.
class Window {
 public:
  Window() : hwnd_(NULL) {}

  HWND hwnd() const { return hwnd_; }
  void Attach(HWND hwnd) { hwnd_ = hwnd; }
  bool IsWindow() const { return hwnd_ != NULL && ::IsWindow(hwnd_) != FALSE; }

  bool Show(int command) { return ::ShowWindow(hwnd_, command) != FALSE; }
  bool Move(int x, int y, int width, int height, bool repaint) {
    return ::MoveWindow(hwnd_, x, y, width, height, repaint ? TRUE : FALSE) != FALSE;
  }
  bool SetPos(HWND insertAfter, int x, int y, int width, int height, UINT flags) {
    return ::SetWindowPos(hwnd_, insertAfter, x, y, width, height, flags) != FALSE;
  }
  // <windows.h> turns the name into SendMessageW here and at every call site
  // alike, so it stays one member.
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return ::SendMessageW(hwnd_, message, wParam, lParam);
  }
  bool GetClientRect(RECT* rect) const { return ::GetClientRect(hwnd_, rect) != FALSE; }
  bool SetTimer(UINT_PTR id, UINT milliseconds) {
    return ::SetTimer(hwnd_, id, milliseconds, NULL) != 0;
  }
  bool KillTimer(UINT_PTR id) { return ::KillTimer(hwnd_, id) != FALSE; }
  bool SetText(const wchar_t* text) { return ::SetWindowTextW(hwnd_, text) != FALSE; }

 protected:
  ~Window() {}

  HWND hwnd_;

 private:
  Window(const Window&);
  Window& operator=(const Window&);
};

}  // namespace fw
