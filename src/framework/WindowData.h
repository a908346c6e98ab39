#pragma once

#include <windows.h>

namespace fw {

// The dialog's extra window slots. Windows CE has only SetWindowLong with the
// DWL_ indexes; 64-bit desktop Windows needs the pointer-sized Ptr forms. This
// is the one place that knows both.
#ifdef _WIN32_WCE
inline constexpr int kUserSlot = DWL_USER;
inline constexpr int kResultSlot = DWL_MSGRESULT;
inline LONG_PTR GetDialogData(HWND hwnd, int slot) {
  return ::GetWindowLongW(hwnd, slot);
}
inline void SetDialogData(HWND hwnd, int slot, LONG_PTR value) {
  ::SetWindowLongW(hwnd, slot, static_cast<LONG>(value));
}
#else
inline constexpr int kUserSlot = DWLP_USER;
inline constexpr int kResultSlot = DWLP_MSGRESULT;
inline LONG_PTR GetDialogData(HWND hwnd, int slot) {
  return ::GetWindowLongPtrW(hwnd, slot);
}
inline void SetDialogData(HWND hwnd, int slot, LONG_PTR value) {
  ::SetWindowLongPtrW(hwnd, slot, value);
}
#endif

}  // namespace fw
