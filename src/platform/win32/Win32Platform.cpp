#include "platform/win32/CeKernel.h"

#include "platform/win32/Win32Platform.h"

#include "platform/DebugFormat.h"

namespace hw {

namespace {

HANDLE H(Handle handle) { return reinterpret_cast<HANDLE>(handle); }
HKEY K(RegKey key) { return reinterpret_cast<HKEY>(key); }

}  // namespace

Handle Win32Platform::CreateFile(const Char* name, UInt32 access, UInt32 shareMode,
                                 const void* securityAttributes, UInt32 creationDisposition,
                                 UInt32 flagsAndAttributes, Handle templateFile) {
  return reinterpret_cast<Handle>(::CreateFileW(
      name, access, shareMode,
      static_cast<LPSECURITY_ATTRIBUTES>(const_cast<void*>(securityAttributes)),
      creationDisposition, flagsAndAttributes, H(templateFile)));
}

int Win32Platform::DeviceIoControl(Handle device, UInt32 ioControlCode, const void* inBuffer,
                                   UInt32 inSize, void* outBuffer, UInt32 outSize,
                                   UInt32* bytesReturned, void* overlapped) {
  return ::DeviceIoControl(H(device), ioControlCode, const_cast<void*>(inBuffer), inSize,
                           outBuffer, outSize, bytesReturned, static_cast<LPOVERLAPPED>(overlapped));
}

int Win32Platform::ReadFile(Handle file, void* buffer, UInt32 bytesToRead, UInt32* bytesRead,
                            void* overlapped) {
  return ::ReadFile(H(file), buffer, bytesToRead, bytesRead, static_cast<LPOVERLAPPED>(overlapped));
}

int Win32Platform::WriteFile(Handle file, const void* buffer, UInt32 bytesToWrite,
                             UInt32* bytesWritten, void* overlapped) {
  return ::WriteFile(H(file), buffer, bytesToWrite, bytesWritten,
                     static_cast<LPOVERLAPPED>(overlapped));
}

int Win32Platform::SetFileAttributes(const Char* path, UInt32 attributes) {
  return ::SetFileAttributesW(path, attributes);
}

int Win32Platform::DeleteFile(const Char* path) { return ::DeleteFileW(path); }

int Win32Platform::FlushFileBuffers(Handle file) {
  return ::FlushFileBuffers(H(file));
}

int Win32Platform::CloseHandle(Handle handle) { return ::CloseHandle(H(handle)); }

long Win32Platform::RegOpenKeyEx(RegKey root, const Char* subKey, UInt32 options,
                                 UInt32 samDesired, RegKey* result) {
  HKEY key = NULL;
  const LONG status = ::RegOpenKeyExW(K(root), subKey, options, samDesired, &key);
  *result = reinterpret_cast<RegKey>(key);
  return status;
}

long Win32Platform::RegSetValueEx(RegKey key, const Char* valueName, UInt32 reserved,
                                  UInt32 type, const UInt8* data, UInt32 dataBytes) {
  return ::RegSetValueExW(K(key), valueName, reserved, type, data, dataBytes);
}

long Win32Platform::RegQueryValueEx(RegKey key, const Char* valueName, UInt32* reserved,
                                    UInt32* type, UInt8* data, UInt32* dataBytes) {
  return ::RegQueryValueExW(K(key), valueName, reserved, type, data, dataBytes);
}

long Win32Platform::RegCloseKey(RegKey key) { return ::RegCloseKey(K(key)); }

long Win32Platform::RegFlushKey(RegKey key) { return ::RegFlushKey(K(key)); }

UInt32 Win32Platform::GetLastError() {
  return ::GetLastError();
}

void Win32Platform::Sleep(UInt32 milliseconds) {
  ::Sleep(milliseconds);
}

UInt32 Win32Platform::SetSystemPowerState(const Char* state, UInt32 stateFlags, UInt32 options) {
#if defined(_WIN32_WCE)
  return ::SetSystemPowerState(state, stateFlags, options);
#else
  // The desktop builds of the device flavour only ever run under Wine, and
  // the desktop's call of this name would suspend the machine.
  (void)state;
  (void)stateFlags;
  (void)options;
  return kErrorNotSupported;
#endif
}

int Win32Platform::KernelIoControl(UInt32 ioControlCode, void* inBuffer, UInt32 inSize,
                                   void* outBuffer, UInt32 outSize, UInt32* bytesReturned) {
#if defined(_WIN32_WCE)
  return ::KernelIoControl(ioControlCode, inBuffer, inSize, outBuffer, outSize, bytesReturned);
#else
  // The desktop has no such call, and the desktop builds of the device
  // flavour only ever run under Wine: they answer as a kernel without the
  // request does.
  (void)ioControlCode;
  (void)inBuffer;
  (void)inSize;
  (void)outBuffer;
  (void)outSize;
  (void)bytesReturned;
  ::SetLastError(ERROR_NOT_SUPPORTED);
  return FALSE;
#endif
}

int Win32Platform::CeFsIoControl(const Char* root, UInt32 ioControlCode, void* inBuffer,
                                 UInt32 inSize, void* outBuffer, UInt32 outSize,
                                 UInt32* bytesReturned, void* overlapped) {
#if defined(_WIN32_WCE)
  return ::CeFsIoControlW(root, ioControlCode, inBuffer, inSize, outBuffer, outSize, bytesReturned,
                          static_cast<LPOVERLAPPED>(overlapped));
#else
  // The desktop has no such call: a file system without the request.
  (void)root;
  (void)ioControlCode;
  (void)inBuffer;
  (void)inSize;
  (void)outBuffer;
  (void)outSize;
  (void)bytesReturned;
  (void)overlapped;
  ::SetLastError(ERROR_NOT_SUPPORTED);
  return FALSE;
#endif
}

void Win32Platform::SignalStarted(UInt32 sequence) {
#if defined(_WIN32_WCE)
  ::SignalStarted(sequence);
#else
  (void)sequence;  // nothing on the desktop starts a program from HKLM\Init
#endif
}

int Win32Platform::CeGenRandom(UInt32 length, UInt8* buffer) {
#if defined(_WIN32_WCE)
  return ::CeGenRandom(length, buffer);
#else
  // The desktop builds run only under Wine: a kernel without the call.
  (void)length;
  (void)buffer;
  return FALSE;
#endif
}

namespace {

#if defined(_WIN32_WCE)
void CopyName(const WCHAR* from, Char* to, size_t capacity, bool* cut) {
  size_t i = 0;
  for (; from[i] != 0 && i + 1 < capacity; ++i) to[i] = from[i];
  to[i] = 0;
  *cut = *cut || from[i] != 0;
}

// One search of Device Manager's list, by device name: "*" finds the
// named devices, "" the unnamed ones. False when it cannot be read.
bool WalkDevices(const WCHAR* pattern, LoadedDriver* drivers, UInt32 capacity, UInt32* count,
                 bool* full) {
  DEVMGR_DEVICE_INFORMATION info;
  info.dwSize = sizeof info;
  const HANDLE search = ::FindFirstDevice(DeviceSearchByDeviceName, pattern, &info);
  if (search == INVALID_HANDLE_VALUE) return ::GetLastError() == ERROR_NO_MORE_FILES;
  do {
    if (*count == capacity) {
      *full = true;
      break;
    }
    LoadedDriver& driver = drivers[(*count)++];
    driver.cut = false;
    CopyName(info.szLegacyName, driver.legacyName, HW_COUNT_OF(driver.legacyName), &driver.cut);
    CopyName(info.szDeviceKey, driver.deviceKey, HW_COUNT_OF(driver.deviceKey), &driver.cut);
    CopyName(info.szDeviceName, driver.deviceName, HW_COUNT_OF(driver.deviceName), &driver.cut);
    info.dwSize = sizeof info;
  } while (::FindNextDevice(search, &info));
  ::FindClose(search);
  return true;
}
#endif

}  // namespace

DriverListResult Win32Platform::ListLoadedDrivers(LoadedDriver* drivers, UInt32 capacity,
                                                  UInt32* count) {
  *count = 0;
#if defined(_WIN32_WCE)
  bool full = false;
  if (!WalkDevices(L"*", drivers, capacity, count, &full) ||
      (!full && !WalkDevices(L"", drivers, capacity, count, &full))) {
    *count = 0;
    return kDriverListNotAvailable;
  }
  return full ? kDriverListFull : kDriverListRead;
#else
  // Neither the desktop nor Wine has Device Manager's search.
  (void)drivers;
  (void)capacity;
  return kDriverListNotAvailable;
#endif
}

namespace {

void CopyTime(const SYSTEMTIME& from, SystemTime* to) {
  to->year = from.wYear;
  to->month = from.wMonth;
  to->dayOfWeek = from.wDayOfWeek;
  to->day = from.wDay;
  to->hour = from.wHour;
  to->minute = from.wMinute;
  to->second = from.wSecond;
  to->milliseconds = from.wMilliseconds;
}

}  // namespace

void Win32Platform::GetLocalTime(SystemTime* time) {
  SYSTEMTIME now;
  ::GetLocalTime(&now);
  CopyTime(now, time);
}

void Win32Platform::GetSystemTime(SystemTime* time) {
  SYSTEMTIME now;
  ::GetSystemTime(&now);
  CopyTime(now, time);
}

void Win32Platform::DebugPrintf(const Char* format, UInt32 value) {
  Char line[kDebugLineCapacity];
  FormatDebugLine(line, kDebugLineCapacity, format, value);
  ::OutputDebugStringW(line);
}

}  // namespace hw
