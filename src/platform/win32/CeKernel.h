#pragma once

// <windows.h> with CE's power manager call, which the desktop's headers
// declare otherwise: their SetSystemPowerState(BOOL, BOOL) suspends the
// machine. The ARM check compiles with the desktop's headers, so their
// declaration is put out of the way; CE's own headers have none beside
// pm.h's, which matches the one below.
#if defined(_WIN32_WCE)
#define SetSystemPowerState DesktopSetSystemPowerState
#endif
#include <windows.h>
#if defined(_WIN32_WCE)
#undef SetSystemPowerState
extern "C" WINBASEAPI DWORD WINAPI SetSystemPowerState(LPCWSTR state, DWORD stateFlags,
                                                       DWORD options);
#endif
