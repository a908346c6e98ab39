#include "platform/simulator/terminal/TerminalKernel.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace hw::sim {

namespace {

// SPI_GETUUID alone: a too small buffer gets the size it needs in
// *bytesReturned, as CE's OEM layers answer it.
int AnswerDeviceInfo(const std::vector<std::uint8_t>& uuid, const void* inBuffer, UInt32 inSize,
                     void* outBuffer, UInt32 outSize, UInt32* bytesReturned) {
  std::uint32_t spi = 0;
  if (inBuffer == nullptr || inSize != sizeof spi) return 0;
  std::memcpy(&spi, inBuffer, sizeof spi);
  if (spi != kSpiGetUuid || uuid.empty()) return 0;
  if (bytesReturned != nullptr) *bytesReturned = static_cast<UInt32>(uuid.size());
  if (outBuffer == nullptr || outSize < uuid.size()) return 0;
  std::memcpy(outBuffer, uuid.data(), uuid.size());
  return 1;
}

// A DEVICE_ID: the header, the preset id, then the platform id.
int AnswerDeviceId(const DeviceConfig& config, void* outBuffer, UInt32 outSize,
                   UInt32* bytesReturned) {
  const std::vector<std::uint8_t>& preset = config.presetId;
  const std::vector<std::uint8_t>& platform = config.deviceId;
  DeviceId header{};
  if (platform.empty() || outBuffer == nullptr || outSize < sizeof header) return 0;
  header.size = static_cast<UInt32>(sizeof header + preset.size() + platform.size());
  // Too small: only the size it takes is answered, for the caller to try again.
  if (outSize < header.size) {
    std::memcpy(outBuffer, &header.size, sizeof header.size);
    return 0;
  }
  header.presetIdOffset = sizeof header;
  header.presetIdBytes = static_cast<UInt32>(preset.size());
  header.platformIdOffset = static_cast<UInt32>(sizeof header + preset.size());
  header.platformIdBytes = static_cast<UInt32>(platform.size());
  auto* out = static_cast<std::uint8_t*>(outBuffer);
  std::memcpy(out, &header, sizeof header);
  if (!preset.empty()) std::memcpy(out + header.presetIdOffset, preset.data(), preset.size());
  std::memcpy(out + header.platformIdOffset, platform.data(), platform.size());
  if (bytesReturned != nullptr) *bytesReturned = header.size;
  return 1;
}

}  // namespace

int AnswerKernelIoControl(const DeviceConfig& config, UInt32 ioControlCode, const void* inBuffer,
                          UInt32 inSize, void* outBuffer, UInt32 outSize, UInt32* bytesReturned) {
  if (ioControlCode == kIoctlHalGetDeviceInfo) {
    return AnswerDeviceInfo(config.uuid, inBuffer, inSize, outBuffer, outSize, bytesReturned);
  }
  if (ioControlCode == kIoctlHalGetDeviceId) {
    return AnswerDeviceId(config, outBuffer, outSize, bytesReturned);
  }
  return 0;
}

}  // namespace hw::sim
