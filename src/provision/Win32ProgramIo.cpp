#include "provision/Win32ProgramIo.h"

#include <stdio.h>
#include <windows.h>

namespace hw {

namespace {

HANDLE H(ProgramIo::File file) {
  return reinterpret_cast<HANDLE>(file);
}

// SetFilePointer answers INVALID_SET_FILE_POINTER for an offset of 4 GB less
// one byte too: only the error code tells.
bool MoveTo(HANDLE file, UInt32 offset) {
  ::SetLastError(NO_ERROR);
  const DWORD moved = ::SetFilePointer(file, static_cast<LONG>(offset), NULL, FILE_BEGIN);
  return moved != INVALID_SET_FILE_POINTER || ::GetLastError() == NO_ERROR;
}

}  // namespace

bool Win32ProgramIo::Failed() {
  lastError_ = ::GetLastError();
  return false;
}

ProgramIo::ReadResult Win32ProgramIo::ReadWholeFile(const Char* path, UInt8* buffer,
                                                    UInt32 capacity, UInt32* size) {
  *size = 0;
  const HANDLE file = ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, NULL);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? kNotFound
                                                                          : kCannotOpen;
  }
  ReadResult result = kReadWhole;
  for (;;) {
    DWORD read = 0;
    if (*size == capacity) {
      // Full: one byte more says whether the file goes on.
      UInt8 probe = 0;
      if (!::ReadFile(file, &probe, 1, &read, NULL))
        result = kReadFailed;
      else if (read != 0)
        result = kTooLarge;
      break;
    }
    if (!::ReadFile(file, buffer + *size, capacity - *size, &read, NULL)) {
      result = kReadFailed;
      break;
    }
    if (read == 0) break;
    *size += read;
  }
  ::CloseHandle(file);
  return result;
}

ProgramIo::File Win32ProgramIo::CreateForWriting(const Char* path) {
  const HANDLE file = ::CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ, NULL, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, NULL);
  if (file == INVALID_HANDLE_VALUE) {
    Failed();
    return kNoFile;
  }
  return reinterpret_cast<File>(file);
}

ProgramIo::File Win32ProgramIo::OpenForAppending(const Char* path) {
  const HANDLE file = ::CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ, NULL, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, NULL);
  if (file == INVALID_HANDLE_VALUE) {
    Failed();
    return kNoFile;
  }
  if (::SetFilePointer(file, 0, NULL, FILE_END) == INVALID_SET_FILE_POINTER &&
      ::GetLastError() != NO_ERROR) {
    Failed();
    ::CloseHandle(file);
    return kNoFile;
  }
  return reinterpret_cast<File>(file);
}

bool Win32ProgramIo::Size(File file, UInt32* size) {
  ::SetLastError(NO_ERROR);  // a file of 4 GB less one byte answers INVALID_FILE_SIZE too
  *size = ::GetFileSize(H(file), NULL);
  return *size != INVALID_FILE_SIZE || ::GetLastError() == NO_ERROR;
}

bool Win32ProgramIo::Write(File file, const UInt8* data, UInt32 size) {
  DWORD written = 0;
  if (!::WriteFile(H(file), data, size, &written, NULL)) return Failed();
  if (written == size) return true;
  lastError_ = ERROR_DISK_FULL;  // a short count without an error: no room for the rest
  return false;
}

bool Win32ProgramIo::WriteAt(File file, UInt32 offset, const UInt8* data, UInt32 size) {
  return MoveTo(H(file), offset) && Write(file, data, size);
}

bool Win32ProgramIo::Truncate(File file, UInt32 size) {
  return MoveTo(H(file), size) && ::SetEndOfFile(H(file)) != FALSE;
}

bool Win32ProgramIo::Flush(File file) {
  return ::FlushFileBuffers(H(file)) != FALSE || Failed();
}

void Win32ProgramIo::Close(File file) {
  ::CloseHandle(H(file));
}

// CE has no GetStdHandle; its C runtime's _putws writes a line to standard
// output, as msvcrt's does. No printf: mingw-w64 swaps in its own, which
// calls what CE does not export.
void Win32ProgramIo::PrintLine(const Char* line) {
  _putws(line);
}

// GetModuleFileNameW of the process's own module: CE takes NULL for it too.
size_t Win32ProgramIo::ProgramFolder(Char* folder, size_t capacity) {
  // CE cuts a path that does not fit and answers the length it copied.
  const DWORD length = ::GetModuleFileNameW(NULL, folder, static_cast<DWORD>(capacity));
  if (length == 0 || length + 1 >= capacity) return 0;
  size_t end = 0;
  for (size_t i = 0; i < length; ++i) {
    if (folder[i] == L'\\' || folder[i] == L'/') end = i + 1;
  }
  folder[end] = 0;
  return end;
}

// Straight to the window system: HWProvision has no window of its own, and
// the framework's ShowMessageBox would bring the application object and the
// common controls into a console program with it. MB_SETFOREGROUND, so that
// the box comes up in front of the file explorer the program was tapped in.
void Win32ProgramIo::ShowMessage(const Char* text, const Char* caption, bool warning) {
  ::MessageBoxW(NULL, text, caption,
                MB_OK | MB_SETFOREGROUND | (warning ? MB_ICONWARNING : MB_ICONINFORMATION));
}

}  // namespace hw
