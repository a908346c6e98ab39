#include "provision/Log.h"

#include "provision/ResultOutput.h"

namespace hw {

namespace {

const Char kComma[] = HW_TEXT(",");
const Char kQuote[] = HW_TEXT("\"");

// A field as RFC 4180 has it: quoted when it holds a comma, a quote or a
// line break, with each quote doubled.
void AppendField(const Char* text, TextLine& line) {
  bool quoted = false;
  for (const Char* c = text; *c != 0; ++c) {
    quoted = quoted || *c == ',' || *c == '"' || *c == '\r' || *c == '\n';
  }
  if (!quoted) {
    line.Append(text);
    return;
  }
  line.Append(kQuote);
  for (const Char* c = text; *c != 0; ++c) {
    if (*c == '"') line.Append(kQuote);
    line.Append(c, 1);
  }
  line.Append(kQuote);
}

void AppendDigits(UInt32 value, size_t digits, TextLine& line) {
  Char text[10];
  for (size_t i = digits; i > 0; --i) {
    text[i - 1] = static_cast<Char>('0' + value % 10);
    value /= 10;
  }
  line.Append(text, digits);
}

}  // namespace

void AppendDateTime(const SystemTime& time, TextLine& line) {
  AppendDigits(time.year, 4, line);
  line.Append(HW_TEXT("-"));
  AppendDigits(time.month, 2, line);
  line.Append(HW_TEXT("-"));
  AppendDigits(time.day, 2, line);
  line.Append(HW_TEXT(" "));
  AppendDigits(time.hour, 2, line);
  line.Append(HW_TEXT(":"));
  AppendDigits(time.minute, 2, line);
  line.Append(HW_TEXT(":"));
  AppendDigits(time.second, 2, line);
}

void AppendLogHeader(TextLine& line) {
  line.Append(HW_TEXT("local time,id,name,command,profile"));
  for (int i = 0; i < ResultCounts::kCountKinds; ++i) {
    line.Append(kComma).Append(CountName(static_cast<ResultCounts::Count>(i)));
  }
  line.Append(HW_TEXT(",exit,problems"));
}

void AppendLogLine(const LogEntry& entry, bool problems, TextLine& line) {
  if (entry.time != NULL) {
    AppendDateTime(*entry.time, line);
  } else {
    line.Append(HW_TEXT("unknown"));
  }
  line.Append(kComma);
  AppendField(KnownOrUnknown(entry.identity->id), line);
  line.Append(kComma);
  AppendField(KnownOrUnknown(entry.identity->name), line);
  line.Append(kComma).Append(entry.command).Append(kComma);
  if (entry.profile != NULL) AppendField(FileNameOf(entry.profile), line);
  for (int i = 0; i < ResultCounts::kCountKinds; ++i) {
    const ResultCounts::Count count = static_cast<ResultCounts::Count>(i);
    line.Append(kComma);
    if (entry.counts != NULL && Stated(entry.counts->kind, count)) {
      line.AppendDecimal(entry.counts->count[count]);
    }
  }
  line.Append(kComma).AppendDecimal(static_cast<UInt32>(entry.exit));
  if (!problems) return;
  line.Append(kComma);
  if (entry.counts == NULL) return;
  TextLine named;
  AppendProblems(*entry.counts, named);
  AppendField(named.text(), line);
}

namespace {

// False when the line would be cut short, which could leave a quote open
// and spoil every line after it.
bool MakeLine(const LogEntry& entry, bool problems, TextLine& line) {
  AppendLogLine(entry, problems, line);
  return !line.Full();
}

// Whether the log at `path` is new, or its header names the problems column.
bool HasProblemsColumn(ProgramIo& io, const Char* path) {
  UInt8 head[256];
  UInt32 size = 0;
  const ProgramIo::ReadResult read = io.ReadWholeFile(path, head, sizeof head, &size);
  if (read == ProgramIo::kNotFound || (read == ProgramIo::kReadWhole && size == 0)) return true;
  if (read != ProgramIo::kReadWhole && read != ProgramIo::kTooLarge) return false;
  static const char kColumn[] = ",problems\r\n";
  const UInt32 columnSize = sizeof kColumn - 1;
  for (UInt32 end = 0; end + 1 < size; ++end) {
    if (head[end] != '\r' || head[end + 1] != '\n') continue;
    if (end + 2 < columnSize) return false;
    const UInt8* tail = head + end + 2 - columnSize;
    for (UInt32 i = 0; i < columnSize; ++i) {
      if (tail[i] != static_cast<UInt8>(kColumn[i])) return false;
    }
    return true;
  }
  return false;
}

}  // namespace

RunLog::~RunLog() {
  if (file_ != ProgramIo::kNoFile) io_.Close(file_);
}

LogResult RunLog::Add(const Char* path, const LogEntry& entry) {
  problems_ = HasProblemsColumn(io_, path);
  TextLine line;
  if (!MakeLine(entry, problems_, line)) return added_ = kLogNotWritten;
  file_ = io_.OpenForAppending(path);
  if (file_ == ProgramIo::kNoFile) return added_ = kLogNotOpened;
  added_ = kLogNotWritten;
  if (!io_.Size(file_, &lineStart_)) return added_;
  if (lineStart_ == 0) {
    TextLine header;
    AppendLogHeader(header);
    if (!WriteUtf8Line(io_, file_, header.text()) || !io_.Size(file_, &lineStart_)) return added_;
  }
  UInt8 bytes[kUtf8LineCapacity];
  lineBytes_ = EncodeUtf8Line(line.text(), bytes);
  if (io_.Write(file_, bytes, lineBytes_)) added_ = kLogged;
  return added_;
}

bool RunLog::Flush() {
  return added_ == kLogged && io_.Flush(file_);
}

// In place: the new line differs from the old in its exit code alone, so a
// power loss leaves the one or the other, never a log without the run.
LogResult RunLog::Replace(const LogEntry& entry) {
  TextLine line;
  if (added_ != kLogged) return added_;
  if (!MakeLine(entry, problems_, line)) return kLogNotWritten;
  UInt8 bytes[kUtf8LineCapacity];
  const UInt32 size = EncodeUtf8Line(line.text(), bytes);
  if (!io_.WriteAt(file_, lineStart_, bytes, size)) return kLogNotWritten;
  if (size < lineBytes_ && !io_.Truncate(file_, lineStart_ + size)) return kLogNotWritten;
  return io_.Flush(file_) ? kLogged : kLogNotWritten;
}

}  // namespace hw
