#include "framework/TabControl.h"

#include <commctrl.h>

namespace fw {

bool TabControl::LoadClass() {
  INITCOMMONCONTROLSEX controls;
  controls.dwSize = sizeof controls;
  controls.dwICC = ICC_TAB_CLASSES;
  return ::InitCommonControlsEx(&controls) != FALSE;
}

int TabControl::InsertItem(int index, const wchar_t* text) {
  TCITEMW item = TCITEMW();
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<wchar_t*>(text);
  item.iImage = 0;
  item.lParam = 0;
  return static_cast<int>(
      SendMessage(TCM_INSERTITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
}

int TabControl::GetCurSel() {
  return static_cast<int>(SendMessage(TCM_GETCURSEL));
}

}  // namespace fw
