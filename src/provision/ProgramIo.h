#pragma once

#include "platform/Types.h"

namespace hw {

// The program's own input and output, apart from the terminal it works on:
// the files named on its command line or beside the program, its standard
// output and its message box. Paths are the program's own (the desktop's in
// the simulator flavour), not the terminal's.
class ProgramIo {
 public:
  typedef IntPtr File;
  enum { kNoFile = -1 };
  enum ReadResult { kReadWhole, kCannotOpen, kTooLarge, kReadFailed, kNotFound };

  // Reads the whole file into `buffer`; kTooLarge when it holds more than
  // `capacity` bytes (the buffer then holds its first `capacity` bytes),
  // kNotFound when there is no such file.
  virtual ReadResult ReadWholeFile(const Char* path, UInt8* buffer, UInt32 capacity,
                                   UInt32* size) = 0;
  // Creates the file, or empties it; kNoFile when it cannot be.
  virtual File CreateForWriting(const Char* path) = 0;
  // Opens the file, made when absent, to add to its end; kNoFile when it
  // cannot be.
  virtual File OpenForAppending(const Char* path) = 0;
  // The file's size in bytes; false when it cannot be had.
  virtual bool Size(File file, UInt32* size) = 0;
  // True when every byte was written.
  virtual bool Write(File file, const UInt8* data, UInt32 size) = 0;
  // Writes over the file's bytes from `offset` on; the next write goes after
  // them. True when every byte was written.
  virtual bool WriteAt(File file, UInt32 offset, const UInt8* data, UInt32 size) = 0;
  // Ends the file after its first `size` bytes; the next write goes there.
  virtual bool Truncate(File file, UInt32 size) = 0;
  // Writes what the file system still caches of the file to its volume
  // (FlushFileBuffers): before a restart, which would lose it.
  virtual bool Flush(File file) = 0;
  virtual void Close(File file) = 0;
  // One line on standard output; the line carries no end-of-line.
  virtual void PrintLine(const Char* line) = 0;
  // The folder the program's executable is in, with its final separator,
  // into `folder`; its length, or 0 when it cannot be had or does not fit.
  virtual size_t ProgramFolder(Char* folder, size_t capacity) = 0;
  // The error code of the last call above that failed (GetLastError as it
  // answered then): what makes a file that cannot be written say why.
  virtual UInt32 LastError() = 0;
  // A modal box with an OK button, with the information icon, or the
  // warning icon when `warning`.
  virtual void ShowMessage(const Char* text, const Char* caption, bool warning) = 0;

  virtual ~ProgramIo() {}
};

}  // namespace hw
