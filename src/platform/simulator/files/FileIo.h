#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <initializer_list>
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
// Reads the file from its start in pieces of up to buffer->size() bytes, one
// after another into `buffer`, and hands each to `each` until the end or
// until `each` returns false: a file of megabytes is compared with another
// copy without a buffer of its size.
ReadResult ReadInPieces(const std::filesystem::path& path, std::string* buffer,
                        const std::function<bool(std::string_view)>& each);

// How a replaced file reaches the disk. kForced: its bytes, then its new
// name, are there when the call returns, as a device's own memory keeps a
// write. kCached: left to the file system's cache, as CE keeps a registry set
// in RAM until RegFlushKey; ForceToDisk is what puts it on the disk.
enum class Durability { kForced, kCached };

// Writes `bytes` beside `target` under a temporary name and only then renames
// the file over `target`: a reader at any moment finds the old file or the
// new one, whole, and so does a crash or a power cut once the new file is
// forced to the disk. No temporary file is left behind, whatever happens.
bool ReplaceFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                           Durability durability = Durability::kForced);
// The same with the bytes in pieces, written one after another.
bool ReplaceFileAtomically(const std::filesystem::path& target,
                           std::initializer_list<std::string_view> pieces, Durability durability);
// Forces what was written to `file`, and its name in its folder, to the disk.
bool ForceToDisk(const std::filesystem::path& file);

// Adds `bytes` at the end of the file, which is made when absent; the file is
// opened for each call, so one deleted meanwhile starts afresh.
bool AppendToFile(const std::filesystem::path& path, std::string_view bytes);

}  // namespace hw::sim
