#include "platform/simulator/terminal/EepromDevice.h"

#include <string>

#include "platform/simulator/AccessRights.h"
#include "platform/simulator/files/FileIo.h"

namespace hw::sim {

namespace {

constexpr std::uint32_t kEepromWrite = 1;
constexpr std::uint32_t kEepromRead = 2;

}  // namespace

bool EepromDevice::ReadImage(EepromImage* cells) const {
  std::string bytes;
  if (ReadWholeFile(image_, &bytes) != ReadResult::kRead || bytes.size() != kEepromSize) {
    return false;
  }
  for (std::size_t i = 0; i < kEepromSize; ++i) (*cells)[i] = static_cast<std::uint8_t>(bytes[i]);
  return true;
}

bool EepromDevice::Present() const {
  EepromImage cells;
  return ReadImage(&cells);
}

int EepromDevice::Control(std::uint32_t access, std::uint32_t code, const void* inBuffer,
                          std::uint32_t inSize, void* outBuffer, std::uint32_t outSize,
                          std::uint32_t* bytesReturned) const {
  if (bytesReturned != nullptr) *bytesReturned = 0;
  const auto* in = static_cast<const std::uint8_t*>(inBuffer);
  const bool canRead = WantsRead(access);
  const bool canWrite = WantsWrite(access);
  if (code == kEepromRead && canRead && in != nullptr && inSize >= 1 && outBuffer != nullptr &&
      outSize >= 1) {
    return ReadCell(in[0], static_cast<std::uint8_t*>(outBuffer), bytesReturned);
  }
  if (code == kEepromWrite && canWrite && in != nullptr && inSize >= 2) {
    return WriteCell(in[0], in[1]);
  }
  return 0;
}

int EepromDevice::ReadCell(std::uint8_t address, std::uint8_t* out,
                           std::uint32_t* bytesReturned) const {
  EepromImage cells;
  if (faults_.failRead.test(address) || !ReadImage(&cells)) return 0;
  if (faults_.readStoresNothing.test(address)) return 1;
  *out = cells[address];
  if (bytesReturned != nullptr) *bytesReturned = 1;
  return 1;
}

int EepromDevice::WriteCell(std::uint8_t address, std::uint8_t value) const {
  EepromImage cells;
  if (faults_.failWrite.test(address) || !ReadImage(&cells)) return 0;
  cells[address] = value;
  const std::string bytes(cells.begin(), cells.end());
  return ReplaceFileAtomically(image_, bytes) ? 1 : 0;
}

}  // namespace hw::sim
