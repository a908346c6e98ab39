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
