#pragma once

#include "provision/ProgramIo.h"

namespace hw {

// The program's files and standard output through Win32 and the C runtime,
// as CE 6.0 has them: both flavours are Windows programs, so both use this.
class Win32ProgramIo : public ProgramIo {
 public:
  Win32ProgramIo() : lastError_(0) {}
  ReadResult ReadWholeFile(const Char* path, UInt8* buffer, UInt32 capacity,
                           UInt32* size) HW_OVERRIDE;
  File CreateForWriting(const Char* path) HW_OVERRIDE;
  File OpenForAppending(const Char* path) HW_OVERRIDE;
  bool Size(File file, UInt32* size) HW_OVERRIDE;
  bool Write(File file, const UInt8* data, UInt32 size) HW_OVERRIDE;
  bool WriteAt(File file, UInt32 offset, const UInt8* data, UInt32 size) HW_OVERRIDE;
  bool Truncate(File file, UInt32 size) HW_OVERRIDE;
  bool Flush(File file) HW_OVERRIDE;
  void Close(File file) HW_OVERRIDE;
  void PrintLine(const Char* line) HW_OVERRIDE;
  size_t ProgramFolder(Char* folder, size_t capacity) HW_OVERRIDE;
  UInt32 LastError() HW_OVERRIDE { return lastError_; }
  void ShowMessage(const Char* text, const Char* caption, bool warning) HW_OVERRIDE;

 protected:
  // What LastError answers, for a call refused before Win32 was asked.
  void KeepError(UInt32 error) { lastError_ = error; }

 private:
  // Keeps GetLastError of a call that failed; returns false.
  bool Failed();
  UInt32 lastError_;
};

}  // namespace hw
