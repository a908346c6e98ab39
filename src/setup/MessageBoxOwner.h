#pragma once

#include "platform/Types.h"

namespace hw {

// What the core needs of the window that owns its message boxes: a modal box
// with one OK button and no icon. A null caption means the application's name.
class MessageBoxOwner {
 public:
  virtual void ShowMessage(const Char* text, const Char* caption) = 0;

 protected:
  ~MessageBoxOwner() {}
};

}  // namespace hw
