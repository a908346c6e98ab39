#pragma once

#include "provision/ProgramIo.h"

namespace hw {

// The program's files and standard output through Win32 and the C runtime,
// as CE 6.0 has them: both flavours are Windows programs, so both use this.
class Win32ProgramIo : public ProgramIo {
 public:
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
  void ShowMessage(const Char* text, const Char* caption, bool warning) HW_OVERRIDE;
};

}  // namespace hw
