#include "platform/simulator/registry/RegistryFileCache.h"

#include <algorithm>
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
  if (read == ReadResult::kRead && file_ && HoldsTheFileInMemory(&read)) {
    Trust(stamp, readAt);
    return State::kCurrent;
  }
  // Room beyond the file: its bytes become the text in memory, which a set
  // then grows in place instead of copying megabytes at the first press.
  if (read == ReadResult::kRead) buffer_.reserve(stamp.size + stamp.size / 64 + 4096);
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
  Trust(stamp, readAt);
  return State::kCurrent;
}

// Most often the file is the one in memory, as the last set wrote it. It is
// compared a piece at a time, without a buffer of its size to allocate (the
// first press would pay for that), and read whole only when it differs.
bool RegistryFileCache::HoldsTheFileInMemory(ReadResult* read) {
  std::string scratch;
  const EncodedText expected = file_->Bytes(&scratch);
  const std::string_view bom = expected.bom;
  const std::string_view body = expected.body;
  std::size_t offset = 0;  // of the piece in the file
  bool same = true;
  piece_.resize(kPieceBytes);
  *read = ReadInPieces(path_, &piece_, [&](std::string_view piece) {
    same = offset + piece.size() <= bom.size() + body.size();
    const std::size_t overBom =
        offset < bom.size() ? std::min(piece.size(), bom.size() - offset) : 0;
    same = same && piece.substr(0, overBom) == bom.substr(std::min(offset, bom.size()), overBom);
    if (same && overBom < piece.size()) {
      same = piece.substr(overBom) ==
             body.substr(offset + overBom - bom.size(), piece.size() - overBom);
    }
    offset += piece.size();
    return same;
  });
  return *read == ReadResult::kRead && same && offset == bom.size() + body.size();
}

void RegistryFileCache::Trust(const FileStamp& stamp, std::int64_t readAt) {
  stamp_ = stamp;
  settled_ =
      stamp.modified < readAt - settledNanoseconds_ && stamp.changed < readAt - settledNanoseconds_;
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
