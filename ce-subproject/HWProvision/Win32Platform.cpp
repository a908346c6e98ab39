// Compiled here: build.exe takes a sources file's own folder and its parent only.
#include "platform/win32/Win32Platform.cpp"
