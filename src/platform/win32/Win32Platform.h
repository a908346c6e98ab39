#pragma once

#include "platform/Platform.h"

namespace hw {

// The real OS: each call goes to the W function of the same name.
class Win32Platform : public Platform {
 public:
  Handle CreateFile(const Char* name, UInt32 access, UInt32 shareMode,
                    const void* securityAttributes, UInt32 creationDisposition,
                    UInt32 flagsAndAttributes, Handle templateFile) HW_OVERRIDE;
  int DeviceIoControl(Handle device, UInt32 ioControlCode, const void* inBuffer, UInt32 inSize,
                      void* outBuffer, UInt32 outSize, UInt32* bytesReturned,
                      void* overlapped) HW_OVERRIDE;
  int ReadFile(Handle file, void* buffer, UInt32 bytesToRead, UInt32* bytesRead,
               void* overlapped) HW_OVERRIDE;
  int WriteFile(Handle file, const void* buffer, UInt32 bytesToWrite, UInt32* bytesWritten,
                void* overlapped) HW_OVERRIDE;
  int SetFileAttributes(const Char* path, UInt32 attributes) HW_OVERRIDE;
  int DeleteFile(const Char* path) HW_OVERRIDE;
  int FlushFileBuffers(Handle file) HW_OVERRIDE;
  int CloseHandle(Handle handle) HW_OVERRIDE;
  long RegOpenKeyEx(RegKey root, const Char* subKey, UInt32 options, UInt32 samDesired,
                    RegKey* result) HW_OVERRIDE;
  long RegSetValueEx(RegKey key, const Char* valueName, UInt32 reserved, UInt32 type,
                     const UInt8* data, UInt32 dataBytes) HW_OVERRIDE;
  long RegQueryValueEx(RegKey key, const Char* valueName, UInt32* reserved, UInt32* type,
                       UInt8* data, UInt32* dataBytes) HW_OVERRIDE;
  long RegCloseKey(RegKey key) HW_OVERRIDE;
  long RegFlushKey(RegKey key) HW_OVERRIDE;
  UInt32 GetLastError() HW_OVERRIDE;
  UInt32 SetSystemPowerState(const Char* state, UInt32 stateFlags, UInt32 options) HW_OVERRIDE;
  void Sleep(UInt32 milliseconds) HW_OVERRIDE;
  int KernelIoControl(UInt32 ioControlCode, void* inBuffer, UInt32 inSize, void* outBuffer,
                      UInt32 outSize, UInt32* bytesReturned) HW_OVERRIDE;
  void GetLocalTime(SystemTime* time) HW_OVERRIDE;
  void GetSystemTime(SystemTime* time) HW_OVERRIDE;
  int CeFsIoControl(const Char* root, UInt32 ioControlCode, void* inBuffer, UInt32 inSize,
                    void* outBuffer, UInt32 outSize, UInt32* bytesReturned,
                    void* overlapped) HW_OVERRIDE;
  void SignalStarted(UInt32 sequence) HW_OVERRIDE;
  int CeGenRandom(UInt32 length, UInt8* buffer) HW_OVERRIDE;
  DriverListResult ListLoadedDrivers(LoadedDriver* drivers, UInt32 capacity,
                                     UInt32* count) HW_OVERRIDE;
  void DebugPrintf(const Char* format, UInt32 value) HW_OVERRIDE;
};

}  // namespace hw
