#pragma once

#include "framework/Window.h"

namespace fw {

// The common controls' "SysTabControl32".
class TabControl : public Window {
 public:
  // Registers the class with the common controls; templates that name it can
  // be created only afterwards.
  static bool LoadClass();

  // Inserts a text-only item at `index`; the index it got, or -1.
  int InsertItem(int index, const wchar_t* text);
  // The selected item, or -1 when none is.
  int GetCurSel();
};

}  // namespace fw
