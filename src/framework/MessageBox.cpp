#include "framework/MessageBox.h"

#include "framework/App.h"

namespace fw {

namespace {
MessageBoxStandIn standIn = NULL;
}  // namespace

int ShowMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type) {
  if (caption == NULL) caption = AppName();
  if (standIn != NULL) return standIn(owner, text, caption, type);
  return ::MessageBoxW(owner, text, caption, type);
}

void SetMessageBoxStandIn(MessageBoxStandIn boxes) {
  standIn = boxes;
}

}  // namespace fw
