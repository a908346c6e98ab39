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
  line.Append(HW_TEXT(",exit,problems,drivers"));
}

void AppendLogLine(const LogEntry& entry, TrailingColumns last, TextLine& line) {
  if (entry.time != NULL) {
    AppendDateTime(*entry.time, line);
  } else {
    line.Append(HW_TEXT("unknown"));
  }
  line.Append(kComma);
  Char recordId[kMaxRecordId + 1];
  recordId[RecordIdOf(*entry.identity, recordId)] = 0;
  AppendField(recordId, line);
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
  line.Append(kComma);
  if (entry.started) {
    line.Append(HW_TEXT("started"));
  } else {
    line.AppendDecimal(static_cast<UInt32>(entry.exit));
  }
  if (last < kProblemsColumn) return;
  line.Append(kComma);
  TextLine named;
  if (entry.counts != NULL) AppendProblems(*entry.counts, named);
  if (entry.reason != NULL && named.length() > 0) named.Append(HW_TEXT("; "));
  if (entry.reason != NULL) named.Append(entry.reason);
  AppendField(named.text(), line);
  if (last < kDriversColumn) return;
  line.Append(kComma);
  named.Clear();
  if (entry.counts != NULL) AppendDriverNotes(*entry.counts, named);
  AppendField(named.text(), line);
}

namespace {

// The room a reserved line takes at least: the line that completes it
// (counts, problems, drivers) fits in it.
const UInt32 kReservedLineBytes = 256;

// False when the line would be cut short, which could leave a quote open
// and spoil every line after it.
bool MakeLine(const LogEntry& entry, TrailingColumns last, TextLine& line) {
  AppendLogLine(entry, last, line);
  return !line.Full();
}

// Whether the header line, of `size` bytes before its CRLF, ends so.
template <size_t N>
bool HeaderEndsWith(const UInt8* header, UInt32 size, const char (&ending)[N]) {
  const UInt32 length = N - 1;
  if (size < length) return false;
  for (UInt32 i = 0; i < length; ++i) {
    if (header[size - length + i] != static_cast<UInt8>(ending[i])) return false;
  }
  return true;
}

// The last column after `exit` that the log at `path` names: all of them
// for a new log.
TrailingColumns ColumnsOf(ProgramIo& io, const Char* path) {
  UInt8 head[512];
  UInt32 size = 0;
  const ProgramIo::ReadResult read = io.ReadWholeFile(path, head, sizeof head, &size);
  if (read == ProgramIo::kNotFound || (read == ProgramIo::kReadWhole && size == 0)) {
    return kDriversColumn;
  }
  if (read != ProgramIo::kReadWhole && read != ProgramIo::kTooLarge) return kNoTrailingColumns;
  for (UInt32 end = 0; end + 1 < size; ++end) {
    if (head[end] != '\r' || head[end + 1] != '\n') continue;
    if (HeaderEndsWith(head, end, ",problems,drivers")) return kDriversColumn;
    return HeaderEndsWith(head, end, ",problems") ? kProblemsColumn : kNoTrailingColumns;
  }
  return kNoTrailingColumns;
}

}  // namespace

RunLog::~RunLog() {
  if (file_ != ProgramIo::kNoFile) io_.Close(file_);
}

LogResult RunLog::Reserve(const Char* path, const LogEntry& entry) {
  columns_ = ColumnsOf(io_, path);
  TextLine line;
  if (!MakeLine(entry, columns_, line)) return added_ = kLogNotWritten;
  for (size_t room = line.length() + 2; room < kReservedLineBytes; ++room) {
    line.Append(HW_TEXT(" "));
  }
  file_ = io_.OpenForAppending(path);
  if (file_ == ProgramIo::kNoFile) {
    error_ = io_.LastError();
    return added_ = kLogNotOpened;
  }
  added_ = kLogNotWritten;
  bool written = io_.Size(file_, &lineStart_);
  if (written && lineStart_ == 0) {
    TextLine header;
    AppendLogHeader(header);
    written = WriteUtf8Line(io_, file_, header.text()) && io_.Size(file_, &lineStart_);
  }
  UInt8 bytes[kUtf8LineCapacity];
  lineBytes_ = EncodeUtf8Line(line.text(), bytes);
  if (written && io_.Write(file_, bytes, lineBytes_) && io_.Flush(file_)) return added_ = kLogged;
  error_ = io_.LastError();
  return added_;
}

bool RunLog::Flush() {
  return added_ == kLogged && io_.Flush(file_);
}

// In place, over the reserved room: a power loss leaves the one line or the
// other, never a log without the run.
LogResult RunLog::Replace(const LogEntry& entry) {
  TextLine line;
  if (added_ != kLogged) return added_;
  if (!MakeLine(entry, columns_, line)) return kLogNotWritten;
  UInt8 bytes[kUtf8LineCapacity];
  const UInt32 size = EncodeUtf8Line(line.text(), bytes);
  if (!io_.WriteAt(file_, lineStart_, bytes, size)) return kLogNotWritten;
  if (size < lineBytes_ && !io_.Truncate(file_, lineStart_ + size)) return kLogNotWritten;
  return io_.Flush(file_) ? kLogged : kLogNotWritten;
}

}  // namespace hw
