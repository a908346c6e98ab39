#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace hw::sim {

// Folder and file names are UTF-8 everywhere in the simulator.
std::filesystem::path PathFromUtf8(std::string_view utf8);
std::string PathToUtf8(const std::filesystem::path& path);

// What the file system says about one state of a file, without reading it:
// any write moves the size, the times or (for a file renamed into place) the
// identity. Times are nanoseconds since 1970 on the file system's own clock,
// which ticks more coarsely than its unit: two writes within one tick can
// leave equal stamps.
struct FileStamp {
  std::uint64_t size = 0;
  std::int64_t modified = 0;
  std::int64_t changed = 0;  // the status change time: setting `modified` back moves it
  std::uint64_t volume = 0;
  std::uint64_t fileId = 0;

  bool operator==(const FileStamp& other) const {
    return size == other.size && modified == other.modified && changed == other.changed &&
           volume == other.volume && fileId == other.fileId;
  }
};

// The clock the file system stamps files with, in the same unit.
std::int64_t FileClockNow();

enum class ReadResult { kRead, kAbsent, kFailed };
ReadResult ReadWholeFile(const std::filesystem::path& path, std::string* bytes);
ReadResult StampFile(const std::filesystem::path& path, FileStamp* stamp);

// Writes `bytes` beside `target` under a temporary name, flushes them to the
// disk and only then renames the file over `target`: a reader, and a crash or
// a power cut at any moment, leaves the old file or the new one, whole. No
// temporary file is left behind, whatever happens.
bool ReplaceFileAtomically(const std::filesystem::path& target, std::string_view bytes);

// Adds `bytes` at the end of the file, which is made when absent; the file is
// opened for each call, so one deleted meanwhile starts afresh.
bool AppendToFile(const std::filesystem::path& path, std::string_view bytes);

}  // namespace hw::sim
