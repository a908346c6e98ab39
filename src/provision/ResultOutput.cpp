#include "provision/ResultOutput.h"

#include "provision/Utf8.h"

namespace hw {

ResultOutput::~ResultOutput() {
  for (int i = 0; i < fileCount_; ++i) io_.Close(files_[i]);
}

bool ResultOutput::OpenFile(const Char* path) {
  if (fileCount_ == kMaxFiles) return false;
  const ProgramIo::File file = io_.CreateForWriting(path);
  if (file == ProgramIo::kNoFile) return false;
  files_[fileCount_++] = file;
  return true;
}

bool ResultOutput::Flush() {
  bool flushed = true;
  for (int i = 0; i < fileCount_; ++i) flushed = io_.Flush(files_[i]) && flushed;
  return flushed;
}

void ResultOutput::Line(const Char* text) {
  io_.PrintLine(text);
  for (int i = 0; i < fileCount_; ++i) {
    if (!WriteUtf8Line(io_, files_[i], text)) fileFailed_ = true;
  }
}

void ResultOutput::Result(const TextLine& line) {
  Line(line);
  result_.Clear().Append(line.text());
}

UInt32 EncodeUtf8Line(const Char* text, UInt8 (&bytes)[kUtf8LineCapacity]) {
  size_t length = TextLength(text);
  if (length > TextLine::kCapacity) length = TextLine::kCapacity;
  size_t size = EncodeUtf8(text, length, bytes);
  bytes[size++] = '\r';
  bytes[size++] = '\n';
  return static_cast<UInt32>(size);
}

bool WriteUtf8Line(ProgramIo& io, ProgramIo::File file, const Char* text) {
  UInt8 bytes[kUtf8LineCapacity];
  return io.Write(file, bytes, EncodeUtf8Line(text, bytes));
}

}  // namespace hw
