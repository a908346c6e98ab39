#include "provision/ResultOutput.h"

#include "provision/Utf8.h"

namespace hw {

ResultOutput::~ResultOutput() { CloseFile(); }

bool ResultOutput::OpenFile(const Char* path) {
  file_ = io_.CreateForWriting(path);
  return file_ != ProgramIo::kNoFile;
}

void ResultOutput::CloseFile() {
  if (file_ != ProgramIo::kNoFile) io_.Close(file_);
  file_ = ProgramIo::kNoFile;
}

bool ResultOutput::Flush() {
  return file_ == ProgramIo::kNoFile || io_.Flush(file_);
}

void ResultOutput::Line(const Char* text) {
  io_.PrintLine(text);
  if (file_ != ProgramIo::kNoFile && !WriteUtf8Line(io_, file_, text)) fileFailed_ = true;
}

void ResultOutput::Result(const TextLine& line) {
  Line(line);
  result_.Clear().Append(line.text());
}

bool WriteUtf8Line(ProgramIo& io, ProgramIo::File file, const Char* text) {
  UInt8 bytes[TextLine::kCapacity * kUtf8BytesPerUnit + 2];
  size_t length = TextLength(text);
  if (length > TextLine::kCapacity) length = TextLine::kCapacity;
  size_t size = EncodeUtf8(text, length, bytes);
  bytes[size++] = '\r';
  bytes[size++] = '\n';
  return io.Write(file, bytes, static_cast<UInt32>(size));
}

}  // namespace hw
