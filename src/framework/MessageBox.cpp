#include "framework/MessageBox.h"

#include "framework/App.h"

namespace fw {

int ShowMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type) {
  return ::MessageBoxW(owner, text, caption != NULL ? caption : AppName(), type);
}

}  // namespace fw
