#pragma once

#include "provision/ProgramIo.h"
#include "provision/Text.h"
#include "provision/Utf8.h"

namespace hw {

// Where the program's result lines go: standard output and, once result
// files are open, those too (UTF-8, CRLF), which is how a script on the
// terminal, where there is no console, reads them. A staging run keeps two:
// the last run's and the terminal's own.
class ResultOutput {
 public:
  enum { kMaxFiles = 2 };

  explicit ResultOutput(ProgramIo& io) : io_(io), fileCount_(0), fileFailed_(false) {}
  ~ResultOutput();

  // Creates (or empties) one more result file; false when it cannot.
  bool OpenFile(const Char* path);
  // Puts the result files on their volume, as they must be before the
  // terminal restarts; true when there is none.
  bool Flush();
  void Line(const Char* text);
  void Line(const TextLine& line) { Line(line.text()); }
  // The run's last line, which says how it ended; kept for its message box.
  void Result(const TextLine& line);
  const Char* result() const { return result_.text(); }
  // True when a line could not be written to a result file.
  bool FileFailed() const { return fileFailed_; }

 private:
  ResultOutput(const ResultOutput&);
  ResultOutput& operator=(const ResultOutput&);

  ProgramIo& io_;
  ProgramIo::File files_[kMaxFiles];
  int fileCount_;
  bool fileFailed_;
  TextLine result_;
};

// `text`, up to a TextLine's capacity, as UTF-8 followed by CRLF; its size.
const size_t kUtf8LineCapacity = TextLine::kCapacity * kUtf8BytesPerUnit + 2;
UInt32 EncodeUtf8Line(const Char* text, UInt8 (&bytes)[kUtf8LineCapacity]);
// Writes `text` to `file` as UTF-8 followed by CRLF; false when it was not all written.
bool WriteUtf8Line(ProgramIo& io, ProgramIo::File file, const Char* text);

}  // namespace hw
