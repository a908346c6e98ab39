#pragma once

#include "eeprom/EepromChannel.h"
#include "eeprom/Label.h"
#include "eeprom/ModuleCells.h"
#include "platform/Platform.h"
#include "setup/MessageBoxOwner.h"

namespace hw {

extern const Char kOpenFailedLine[];
extern const Char kOpenFailedText[];

// What a module page's window offers the core: its labels by control id and
// itself as the owner of message boxes.
class PageView : public MessageBoxOwner {
 public:
  virtual Label& LabelFor(int labelControl) = 0;

 protected:
  ~PageView() {}
};

// The working part of a module page, free of any window: its channel, its
// start-up and its buttons.
class ModulePage {
 public:
  ModulePage(Platform& os, Page page, PageView& view)
      : os_(os), page_(page), view_(view), channel_(os) {}

  // Opens the channel and refreshes the page's cells in table order. When the
  // device does not open: traces it, shows the message box and returns false;
  // the page then ends itself.
  bool Initialise();
  // Runs the row of the button `control`; false when the page has none.
  bool Click(int control);

  Page page() const { return page_; }
  bool IsOpen() const { return channel_.IsOpen(); }

 private:
  ModulePage(const ModulePage&);
  ModulePage& operator=(const ModulePage&);

  Platform& os_;
  Page page_;
  PageView& view_;
  EepromChannel channel_;
};

}  // namespace hw
