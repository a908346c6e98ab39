#include "eeprom/EepromChannel.h"

namespace hw {

const Char kEepromDeviceName[] = HW_TEXT("EOM1:");

namespace {
// The driver is handed only the lengths it needs; the buffers are the size the
// driver's interface was designed around.
const UInt32 kRequestBufferSize = 10;
}  // namespace

bool EepromChannel::Open() {
  handle_ = os_.CreateFile(kEepromDeviceName, kGenericRead | kGenericWrite,
                           kFileShareRead | kFileShareWrite, NULL, kOpenExisting, 0, 0);
  return IsOpen();
}

bool EepromChannel::ReadCell(UInt8 address, UInt8* value) {
  UInt8 in[kRequestBufferSize] = {0};
  UInt8 out[kRequestBufferSize] = {0};
  in[0] = address;
  const bool ok = os_.DeviceIoControl(handle_, kEepromRead, in, 1, out, 1, NULL, NULL) != 0;
  if (ok) *value = out[0];
  return ok;
}

bool EepromChannel::WriteCell(UInt8 address, UInt8 value) {
  UInt8 in[kRequestBufferSize] = {0};
  in[0] = address;
  in[1] = value;
  return os_.DeviceIoControl(handle_, kEepromWrite, in, 2, NULL, 0, NULL, NULL) != 0;
}

}  // namespace hw
