#pragma once

#include "eeprom/Label.h"
#include "provision/Text.h"
#include "setup/MessageBoxOwner.h"
#include "setup/SelectionTable.h"

namespace hw {

// The page a press runs on, without a window: the label's text is not
// needed (the cell is read back instead), and a message box the dialog
// would show becomes the item's failure reason.
class PressWitness : public Label, public MessageBoxOwner {
 public:
  PressWitness() { message_[0] = 0; }
  void SetText(const Char*) HW_OVERRIDE {}
  void ShowMessage(const Char* text, const Char*) HW_OVERRIDE;
  const Char* message() const { return message_[0] != 0 ? message_ : NULL; }

 private:
  Char message_[64];
};

// "; not made permanent: RegFlushKey failed with error N" after the line of
// an item whose registry group a flush did not commit (a RAM registry
// without a store always refuses), "FlushFileBuffers" for an installed file
// that did not reach its volume. Nothing when it did: true then.
bool AppendFlushResult(Provisioning step, long flushed, TextLine& line);
// ", N not made permanent" in a result line; nothing when N is 0.
void AppendNotPermanentCount(UInt32 count, TextLine& line);

}  // namespace hw
