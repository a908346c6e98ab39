#include <windows.h>

#include "platform/win32/Win32Platform.h"

#include "platform/DebugFormat.h"

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 text is handed to the W functions as is");

namespace hw {

namespace {

LPCWSTR W(const char16_t* text) { return reinterpret_cast<LPCWSTR>(text); }
HANDLE H(Handle handle) { return reinterpret_cast<HANDLE>(handle); }
HKEY K(RegKey key) { return reinterpret_cast<HKEY>(key); }
DWORD* D(std::uint32_t* count) {
  static_assert(sizeof(DWORD) == sizeof(std::uint32_t), "counts are DWORDs");
  return reinterpret_cast<DWORD*>(count);
}

}  // namespace

Handle Win32Platform::CreateFile(const char16_t* name, std::uint32_t access,
                                 std::uint32_t shareMode, const void* securityAttributes,
                                 std::uint32_t creationDisposition,
                                 std::uint32_t flagsAndAttributes, Handle templateFile) {
  return reinterpret_cast<Handle>(::CreateFileW(
      W(name), access, shareMode,
      static_cast<LPSECURITY_ATTRIBUTES>(const_cast<void*>(securityAttributes)),
      creationDisposition, flagsAndAttributes, H(templateFile)));
}

int Win32Platform::DeviceIoControl(Handle device, std::uint32_t ioControlCode,
                                   const void* inBuffer, std::uint32_t inSize, void* outBuffer,
                                   std::uint32_t outSize, std::uint32_t* bytesReturned,
                                   void* overlapped) {
  return ::DeviceIoControl(H(device), ioControlCode, const_cast<void*>(inBuffer), inSize,
                           outBuffer, outSize, D(bytesReturned),
                           static_cast<LPOVERLAPPED>(overlapped));
}

int Win32Platform::ReadFile(Handle file, void* buffer, std::uint32_t bytesToRead,
                            std::uint32_t* bytesRead, void* overlapped) {
  return ::ReadFile(H(file), buffer, bytesToRead, D(bytesRead),
                    static_cast<LPOVERLAPPED>(overlapped));
}

int Win32Platform::WriteFile(Handle file, const void* buffer, std::uint32_t bytesToWrite,
                             std::uint32_t* bytesWritten, void* overlapped) {
  return ::WriteFile(H(file), buffer, bytesToWrite, D(bytesWritten),
                     static_cast<LPOVERLAPPED>(overlapped));
}

int Win32Platform::SetFileAttributes(const char16_t* path, std::uint32_t attributes) {
  return ::SetFileAttributesW(W(path), attributes);
}

int Win32Platform::CloseHandle(Handle handle) { return ::CloseHandle(H(handle)); }

long Win32Platform::RegOpenKeyEx(RegKey root, const char16_t* subKey, std::uint32_t options,
                                 std::uint32_t samDesired, RegKey* result) {
  HKEY key = nullptr;
  const LONG status = ::RegOpenKeyExW(K(root), W(subKey), options, samDesired, &key);
  *result = reinterpret_cast<RegKey>(key);
  return status;
}

long Win32Platform::RegSetValueEx(RegKey key, const char16_t* valueName, std::uint32_t reserved,
                                  std::uint32_t type, const std::uint8_t* data,
                                  std::uint32_t dataBytes) {
  return ::RegSetValueExW(K(key), W(valueName), reserved, type, data, dataBytes);
}

long Win32Platform::RegCloseKey(RegKey key) { return ::RegCloseKey(K(key)); }

void Win32Platform::DebugPrintf(const char16_t* format, std::uint32_t value) {
  char16_t line[kDebugLineCapacity];
  FormatDebugLine(line, kDebugLineCapacity, format, value);
  ::OutputDebugStringW(W(line));
}

}  // namespace hw
