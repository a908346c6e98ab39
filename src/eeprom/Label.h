#pragma once

namespace hw {

// What the core needs of a label control on a module page: replace its text.
class Label {
 public:
  virtual void SetText(const char16_t* text) = 0;

 protected:
  ~Label() = default;
};

}  // namespace hw
