#pragma once

#include <cstdint>

// <windows.h> maps these names to their W forms. The interface keeps the plain
// Win32 names, so a file that needs both includes <windows.h> first.
#undef CreateFile
#undef SetFileAttributes
#undef RegOpenKeyEx
#undef RegSetValueEx

namespace hw {

// Opaque OS handles. They carry the same bits as HANDLE and HKEY, so the Win32
// backend converts them back with a cast and nothing else.
using Handle = std::intptr_t;
using RegKey = std::intptr_t;

inline constexpr Handle kInvalidHandleValue = -1;
// HKEY_LOCAL_MACHINE is (HKEY)(LONG)0x80000002: sign-extended on 64-bit hosts.
inline constexpr RegKey kHkeyLocalMachine = static_cast<RegKey>(static_cast<std::int32_t>(0x80000002u));

// The Win32 constants the tool passes, with their Win32 values.
inline constexpr std::uint32_t kGenericRead = 0x80000000u;
inline constexpr std::uint32_t kGenericWrite = 0x40000000u;
inline constexpr std::uint32_t kFileShareRead = 1;
inline constexpr std::uint32_t kFileShareWrite = 2;
inline constexpr std::uint32_t kCreateAlways = 2;
inline constexpr std::uint32_t kOpenExisting = 3;
inline constexpr std::uint32_t kFileAttributeNormal = 0x80;
inline constexpr std::uint32_t kKeyAllAccess = 0xF003F;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr long kErrorSuccess = 0;
inline constexpr long kErrorFileNotFound = 2;
inline constexpr long kErrorAccessDenied = 5;

// The operating-system calls of the tool, one virtual per Win32 call with the
// same arguments and results. All text is zero-terminated UTF-16. BOOL results
// are int: nonzero is success. Registry results are Win32 error codes: 0 is
// success.
class Platform {
 public:
  virtual ~Platform() = default;

  // Stream devices and files.
  virtual Handle CreateFile(const char16_t* name, std::uint32_t access, std::uint32_t shareMode,
                            const void* securityAttributes, std::uint32_t creationDisposition,
                            std::uint32_t flagsAndAttributes, Handle templateFile) = 0;
  virtual int DeviceIoControl(Handle device, std::uint32_t ioControlCode, const void* inBuffer,
                              std::uint32_t inSize, void* outBuffer, std::uint32_t outSize,
                              std::uint32_t* bytesReturned, void* overlapped) = 0;
  virtual int ReadFile(Handle file, void* buffer, std::uint32_t bytesToRead,
                       std::uint32_t* bytesRead, void* overlapped) = 0;
  virtual int WriteFile(Handle file, const void* buffer, std::uint32_t bytesToWrite,
                        std::uint32_t* bytesWritten, void* overlapped) = 0;
  virtual int SetFileAttributes(const char16_t* path, std::uint32_t attributes) = 0;
  virtual int CloseHandle(Handle handle) = 0;

  // Registry.
  virtual long RegOpenKeyEx(RegKey root, const char16_t* subKey, std::uint32_t options,
                            std::uint32_t samDesired, RegKey* result) = 0;
  virtual long RegSetValueEx(RegKey key, const char16_t* valueName, std::uint32_t reserved,
                             std::uint32_t type, const std::uint8_t* data,
                             std::uint32_t dataBytes) = 0;
  virtual long RegCloseKey(RegKey key) = 0;

  // Formatted debug print. Every trace line of the tool has at most one "%X"
  // placeholder, which takes `value`; lines without one ignore it.
  virtual void DebugPrintf(const char16_t* format, std::uint32_t value) = 0;
};

}  // namespace hw
