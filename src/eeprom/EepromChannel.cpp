#include "eeprom/EepromChannel.h"

namespace hw {

namespace {
// The driver is handed only the lengths it needs; the buffers are the size the
// driver's interface was designed around.
constexpr std::uint32_t kRequestBufferSize = 10;
}  // namespace

bool EepromChannel::Open() {
  handle_ = os_.CreateFile(kEepromDeviceName, kGenericRead | kGenericWrite,
                           kFileShareRead | kFileShareWrite, nullptr, kOpenExisting, 0, 0);
  return IsOpen();
}

bool EepromChannel::ReadCell(std::uint8_t address, std::uint8_t* value) {
  std::uint8_t in[kRequestBufferSize] = {};
  std::uint8_t out[kRequestBufferSize] = {};
  in[0] = address;
  const bool ok = os_.DeviceIoControl(handle_, kEepromRead, in, 1, out, 1, nullptr, nullptr) != 0;
  if (ok) *value = out[0];
  return ok;
}

bool EepromChannel::WriteCell(std::uint8_t address, std::uint8_t value) {
  std::uint8_t in[kRequestBufferSize] = {};
  in[0] = address;
  in[1] = value;
  return os_.DeviceIoControl(handle_, kEepromWrite, in, 2, nullptr, 0, nullptr, nullptr) != 0;
}

}  // namespace hw
