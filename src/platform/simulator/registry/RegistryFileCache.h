#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>

#include "platform/simulator/ParseError.h"
#include "platform/simulator/files/FileIo.h"
#include "platform/simulator/registry/RegistryFile.h"

namespace hw::sim {

// registry.reg as the simulator last read or wrote it. A real terminal's file
// runs to megabytes, so it is parsed again only when its bytes changed since
// the last call; an edit by another program between two calls is always seen.
//
// How a change is told: the file system's stamp (size, modification and
// status-change times in ns, volume and file id) alone cannot be trusted
// for a file written moments ago, since two writes within one tick of the
// file system's clock leave equal stamps; a rename into place, an in-place
// overwrite of the same length and a time set back all show, but not always
// within that tick. So the stamp is trusted only once the file had been left
// alone for kSettledNanoseconds when it was read: any later write comes after
// the stamp's times and changes them. Until then every call reads the file
// again and compares its bytes with the file in memory, a piece at a time,
// which costs a read and a memcmp (about 1 ms for 4 MB), not a parse.
class RegistryFileCache {
 public:
  enum class State { kCurrent, kAbsent, kUnreadable, kMalformed };

  // Longer than any file system's tick, FAT's two seconds included.
  static constexpr std::int64_t kSettledNanoseconds = 3'000'000'000;

  using StampReader = ReadResult (*)(const std::filesystem::path&, FileStamp*);

  // Other margins and stamps than the file system's only in tests, which
  // cannot wait for a file to settle nor stop its clock.
  explicit RegistryFileCache(std::filesystem::path path,
                             std::int64_t settledNanoseconds = kSettledNanoseconds,
                             StampReader stampReader = StampFile)
      : path_(std::move(path)),
        settledNanoseconds_(settledNanoseconds),
        stampReader_(stampReader) {}

  // Brings file() up to the file as it is now. kMalformed sets *error: its
  // line is the first refused one, and its reason goes on, a line each, with
  // the others and what would make the file load (DescribeRefusal). A file
  // that is absent, unreadable or malformed is not kept.
  State Refresh(ParseError* error);
  // The file as of the last Refresh that returned kCurrent, with any changes
  // made to it since.
  RegistryFile& file() { return *file_; }
  // Writes file() over registry.reg, atomically but left to the file system's
  // cache: TerminalRegistry::Flush forces it to the disk. On failure the file
  // is forgotten, so the next call reads the one on the disk again.
  bool Store();

 private:
  bool StampShowsNoChange() const;
  // Whether registry.reg holds exactly file(); *read says how its read went.
  bool HoldsTheFileInMemory(ReadResult* read);
  // The file in memory is the one with `stamp`, read at `readAt`.
  void Trust(const FileStamp& stamp, std::int64_t readAt);
  void Forget();

  std::filesystem::path path_;
  std::int64_t settledNanoseconds_;
  StampReader stampReader_;
  std::optional<RegistryFile> file_;
  std::string buffer_;  // the last read; kept so that the next reuses its memory
  static constexpr std::size_t kPieceBytes = 256 * 1024;
  std::string piece_;  // a piece of a comparison's read
  FileStamp stamp_;
  bool settled_ = false;  // stamp_ is enough to tell a change
};

}  // namespace hw::sim
