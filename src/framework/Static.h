#pragma once

#include "eeprom/Label.h"
#include "framework/Window.h"

namespace fw {

// A static text control; as a hw::Label the core can rewrite it. hw::Char is
// the system's wchar_t in Windows builds, so this one SetText serves both.
class Static : public Window, public hw::Label {
 public:
  void SetText(const wchar_t* text) HW_OVERRIDE { Window::SetText(text); }
};

}  // namespace fw
