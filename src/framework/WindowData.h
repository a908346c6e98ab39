#pragma once

#include <windows.h>

namespace fw {

// The dialog's extra window slots. Windows CE has only SetWindowLong with the
// DWL_ indexes; 64-bit desktop Windows needs the pointer-sized Ptr forms (on
// 32-bit desktop headers they are the same calls). This is the one place that
// knows both.
#ifdef _WIN32_WCE
const int kUserSlot = DWL_USER;
const int kResultSlot = DWL_MSGRESULT;
inline LONG_PTR GetDialogData(HWND hwnd, int slot) {
  return ::GetWindowLongW(hwnd, slot);
}
inline void SetDialogData(HWND hwnd, int slot, LONG_PTR value) {
  ::SetWindowLongW(hwnd, slot, static_cast<LONG>(value));
}
#else
const int kUserSlot = DWLP_USER;
const int kResultSlot = DWLP_MSGRESULT;
inline LONG_PTR GetDialogData(HWND hwnd, int slot) {
  return ::GetWindowLongPtrW(hwnd, slot);
}
inline void SetDialogData(HWND hwnd, int slot, LONG_PTR value) {
  ::SetWindowLongPtrW(hwnd, slot, value);
}
#endif

}  // namespace fw
