#pragma once

#include "platform/Platform.h"

namespace hw {

extern const Char kEepromDeviceName[];  // "EOM1:"
const UInt32 kEepromWrite = 1;
const UInt32 kEepromRead = 2;

// One handle to the EEPROM stream driver "EOM1:". Closed until Open succeeds;
// nothing ever closes it: the OS releases it at process exit.
class EepromChannel {
 public:
  explicit EepromChannel(Platform& os) : os_(os), handle_(kInvalidHandleValue) {}

  bool Open();
  bool IsOpen() const { return handle_ != kInvalidHandleValue; }
  // Callers ask IsOpen first; both requests assume an open channel.
  bool ReadCell(UInt8 address, UInt8* value);
  bool WriteCell(UInt8 address, UInt8 value);

 private:
  EepromChannel(const EepromChannel&);
  EepromChannel& operator=(const EepromChannel&);

  Platform& os_;
  Handle handle_;
};

}  // namespace hw
