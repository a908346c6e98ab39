#pragma once

#include "eeprom/Label.h"
#include "framework/Window.h"

namespace fw {

// A static text control; as a hw::Label the core can rewrite it.
class Static final : public Window, public hw::Label {
 public:
  using Window::SetText;
  void SetText(const char16_t* text) override {
    Window::SetText(reinterpret_cast<const wchar_t*>(text));
  }
};

}  // namespace fw
