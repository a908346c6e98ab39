#pragma once

#include "platform/Types.h"

namespace hw {

// What the core needs of a label control on a module page: replace its text.
class Label {
 public:
  virtual ~Label() {}
  virtual void SetText(const Char* text) = 0;
};

}  // namespace hw
