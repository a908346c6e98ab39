#pragma once

// <windows.h> with CE's power manager call, which the desktop's headers
// declare otherwise: their SetSystemPowerState(BOOL, BOOL) suspends the
// machine. The ARM check compiles with the desktop's headers, so their
// declaration is put out of the way; CE's own headers have none beside
// pm.h's, which matches the one below.
//
// KernelIoControl is CE's alone. <windows.h> does not declare it on CE
// either (pkfuncs.h does, an OEM header an application's SDK may lack), so
// it is declared here, a coredll import like the call above.
#if defined(_WIN32_WCE)
#define SetSystemPowerState DesktopSetSystemPowerState
#endif
#include <windows.h>
#if defined(_WIN32_WCE)
#undef SetSystemPowerState
extern "C" WINBASEAPI DWORD WINAPI SetSystemPowerState(LPCWSTR state, DWORD stateFlags,
                                                       DWORD options);
extern "C" WINBASEAPI BOOL KernelIoControl(DWORD ioControlCode, LPVOID inBuffer, DWORD inSize,
                                           LPVOID outBuffer, DWORD outSize,
                                           LPDWORD bytesReturned);
#endif

// CE's winbase.h declares Device Manager's search, the file system's
// requests, SignalStarted and CeGenRandom (all coredll exports of CE 6.0).
// The ARM check compiles with mingw-w64's desktop headers, which have none
// of them: there they are declared here, as CE's winbase.h has them.
#if defined(_WIN32_WCE) && defined(__MINGW32__)
typedef enum {
  DeviceSearchByLegacyName,
  DeviceSearchByDeviceName,
  DeviceSearchByBusName,
  DeviceSearchByGuid,
  DeviceSearchByParent
} DeviceSearchType;
typedef struct _DevmgrDeviceInformation_tag {
  DWORD dwSize;
  HANDLE hDevice;
  HANDLE hParentDevice;
  WCHAR szLegacyName[6];
  WCHAR szDeviceKey[MAX_PATH];
  WCHAR szDeviceName[MAX_PATH];
  WCHAR szBusName[MAX_PATH];
} DEVMGR_DEVICE_INFORMATION, *PDEVMGR_DEVICE_INFORMATION;
extern "C" WINBASEAPI HANDLE WINAPI FindFirstDevice(DeviceSearchType searchType,
                                                    LPCVOID searchParam,
                                                    PDEVMGR_DEVICE_INFORMATION information);
extern "C" WINBASEAPI BOOL WINAPI FindNextDevice(HANDLE search,
                                                 PDEVMGR_DEVICE_INFORMATION information);
extern "C" WINBASEAPI BOOL WINAPI CeFsIoControlW(LPCWSTR root, DWORD ioControlCode, LPVOID inBuffer,
                                                 DWORD inSize, LPVOID outBuffer, DWORD outSize,
                                                 LPDWORD bytesReturned, LPOVERLAPPED overlapped);
extern "C" WINBASEAPI VOID WINAPI SignalStarted(DWORD sequence);
extern "C" WINBASEAPI BOOL WINAPI CeGenRandom(DWORD length, PBYTE buffer);
#endif
