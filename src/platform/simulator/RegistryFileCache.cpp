#include "platform/simulator/RegistryFileCache.h"

#include <utility>

namespace hw::sim {

bool RegistryFileCache::StampShowsNoChange() const {
  FileStamp now;
  return file_ && settled_ && stampReader_(path_, &now) == ReadResult::kRead && now == stamp_;
}

RegistryFileCache::State RegistryFileCache::Refresh(ParseError* error) {
  if (StampShowsNoChange()) return State::kCurrent;
  // Taken before the read: a file older than this by the margin when it is
  // read cannot be written again without its stamp moving.
  const std::int64_t readAt = FileClockNow();
  // The stamp before the bytes: a write between the two shows in the next stamp.
  FileStamp stamp;
  ReadResult read = stampReader_(path_, &stamp);
  if (read == ReadResult::kRead) read = ReadWholeFile(path_, &buffer_);
  if (read != ReadResult::kRead) {
    Forget();
    return read == ReadResult::kAbsent ? State::kAbsent : State::kUnreadable;
  }
  if (!file_ || !file_->SerializesTo(buffer_)) {
    RegistryFile parsed;
    std::vector<ParseError> refused;
    if (!RegistryFile::Parse(std::move(buffer_), &parsed, &refused)) {
      // The first line and, after it, the rest of the refusal.
      const std::string name = PathToUtf8(path_.filename());
      const std::string prefix = name + ":" + std::to_string(refused.front().line) + ": ";
      error->line = refused.front().line;
      error->reason = DescribeRefusal(name, refused).substr(prefix.size());
      Forget();
      return State::kMalformed;
    }
    file_ = std::move(parsed);
    buffer_ = std::string();
  }
  stamp_ = stamp;
  settled_ =
      stamp.modified < readAt - settledNanoseconds_ && stamp.changed < readAt - settledNanoseconds_;
  return State::kCurrent;
}

bool RegistryFileCache::Store() {
  std::string scratch;
  const EncodedText bytes = file_->Bytes(&scratch);
  if (!ReplaceFileAtomically(path_, {bytes.bom, bytes.body}, Durability::kCached)) {
    Forget();
    return false;
  }
  // Written just now, so not settled: the next call compares the bytes.
  settled_ = false;
  return true;
}

void RegistryFileCache::Forget() {
  file_.reset();
  settled_ = false;
}

}  // namespace hw::sim
