#pragma once

#include <cstdint>

#include "platform/Platform.h"

namespace hw {

inline constexpr char16_t kEepromDeviceName[] = u"EOM1:";
inline constexpr std::uint32_t kEepromWrite = 1;
inline constexpr std::uint32_t kEepromRead = 2;

// One handle to the EEPROM stream driver "EOM1:". Closed until Open succeeds;
// nothing ever closes it: the OS releases it at process exit.
class EepromChannel {
 public:
  explicit EepromChannel(Platform& os) : os_(os) {}
  EepromChannel(const EepromChannel&) = delete;
  EepromChannel& operator=(const EepromChannel&) = delete;

  bool Open();
  bool IsOpen() const { return handle_ != kInvalidHandleValue; }
  // Callers ask IsOpen first; both requests assume an open channel.
  bool ReadCell(std::uint8_t address, std::uint8_t* value);
  bool WriteCell(std::uint8_t address, std::uint8_t value);

 private:
  Platform& os_;
  Handle handle_ = kInvalidHandleValue;
};

}  // namespace hw
