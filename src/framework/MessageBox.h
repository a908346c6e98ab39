#pragma once

#include <windows.h>

namespace fw {

// A modal message box owned by `owner`; a null caption is the application's
// name. Returns the button that closed it.
int ShowMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption = NULL,
                   UINT type = MB_OK);

// What shows the boxes in place of the window system, or null for the
// window system's own. The simulator flavour sets one when a script asks it
// to print its boxes; the device flavour never does.
typedef int (*MessageBoxStandIn)(HWND owner, const wchar_t* text, const wchar_t* caption,
                                 UINT type);
void SetMessageBoxStandIn(MessageBoxStandIn standIn);

}  // namespace fw
