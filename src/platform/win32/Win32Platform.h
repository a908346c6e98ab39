#pragma once

#include "platform/Platform.h"

namespace hw {

// The real OS: each call goes to the W function of the same name.
class Win32Platform final : public Platform {
 public:
  Handle CreateFile(const char16_t* name, std::uint32_t access, std::uint32_t shareMode,
                    const void* securityAttributes, std::uint32_t creationDisposition,
                    std::uint32_t flagsAndAttributes, Handle templateFile) override;
  int DeviceIoControl(Handle device, std::uint32_t ioControlCode, const void* inBuffer,
                      std::uint32_t inSize, void* outBuffer, std::uint32_t outSize,
                      std::uint32_t* bytesReturned, void* overlapped) override;
  int ReadFile(Handle file, void* buffer, std::uint32_t bytesToRead, std::uint32_t* bytesRead,
               void* overlapped) override;
  int WriteFile(Handle file, const void* buffer, std::uint32_t bytesToWrite,
                std::uint32_t* bytesWritten, void* overlapped) override;
  int SetFileAttributes(const char16_t* path, std::uint32_t attributes) override;
  int CloseHandle(Handle handle) override;
  long RegOpenKeyEx(RegKey root, const char16_t* subKey, std::uint32_t options,
                    std::uint32_t samDesired, RegKey* result) override;
  long RegSetValueEx(RegKey key, const char16_t* valueName, std::uint32_t reserved,
                     std::uint32_t type, const std::uint8_t* data,
                     std::uint32_t dataBytes) override;
  long RegCloseKey(RegKey key) override;
  void DebugPrintf(const char16_t* format, std::uint32_t value) override;
};

}  // namespace hw
