#pragma once

namespace hw {

// What the core needs of the window that owns its message boxes: a modal box
// with one OK button and no icon. A null caption means the application's name.
class MessageBoxOwner {
 public:
  virtual void ShowMessage(const char16_t* text, const char16_t* caption) = 0;

 protected:
  ~MessageBoxOwner() = default;
};

}  // namespace hw
