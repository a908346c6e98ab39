#pragma once

#include <windows.h>

namespace fw {

// A modal message box owned by `owner`; a null caption is the application's
// name. Returns the button that closed it.
int ShowMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption = NULL,
                   UINT type = MB_OK);

}  // namespace fw
