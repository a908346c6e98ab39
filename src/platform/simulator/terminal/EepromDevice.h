#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <utility>

#include "platform/simulator/terminal/DeviceConfig.h"

namespace hw::sim {

inline constexpr std::size_t kEepromSize = 256;
using EepromImage = std::array<std::uint8_t, kEepromSize>;

// The "EOM1:" stream driver over eeprom.bin. The file is read for every
// request and each write is renamed into place, so tools outside the process
// see the chip as it is and can change it between presses.
class EepromDevice {
 public:
  EepromDevice(std::filesystem::path image, const DeviceConfig& faults)
      : image_(std::move(image)), faults_(faults) {}

  // The chip answers when eeprom.bin is there and has one byte per cell.
  bool Present() const;

  // One request on a handle opened with `access`. Read (code 2): in[0] the
  // address, out[0] the value. Write (code 1): in[0] the address, in[1] the
  // value. Nonzero is success; anything else the driver does not know is 0.
  int Control(std::uint32_t access, std::uint32_t code, const void* inBuffer, std::uint32_t inSize,
              void* outBuffer, std::uint32_t outSize, std::uint32_t* bytesReturned) const;

 private:
  bool ReadImage(EepromImage* cells) const;
  int ReadCell(std::uint8_t address, std::uint8_t* out, std::uint32_t* bytesReturned) const;
  int WriteCell(std::uint8_t address, std::uint8_t value) const;

  std::filesystem::path image_;
  DeviceConfig faults_;
};

}  // namespace hw::sim
