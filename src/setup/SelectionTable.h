#pragma once

#include "eeprom/ModuleCells.h"

namespace hw {

enum Provisioning {
  kNone,
  kUsbHostOff,
  kUsbHostOn,
  kWifiUsiSd40,
  kWifiMurata8Xqf,
  kPsConfig,   // install "\Windows\PSconfig.psr"
  kPsConfig1   // install "\Windows\PSconfig1.psr"
};

enum Order {
  kPlain,         // write, refresh
  kGated,         // write; provision only if it succeeded, else trace; refresh
  kAfterRefresh  // write, refresh, provision whatever the write did
};

// One button of a module page.
struct SelectionAction {
  Page page;
  int control;
  const Char* caption;
  Module cell;
  UInt8 code;
  Provisioning step;
  Order order;
  const Char* writeFailureLine;  // gated rows only
};

const size_t kSelectionCount = 24;
extern const SelectionAction kSelectionTable[kSelectionCount];

// The row of a page's button, or null when the page has no such button.
const SelectionAction* FindSelection(Page page, int control);
size_t SelectionCount(Page page);

}  // namespace hw
