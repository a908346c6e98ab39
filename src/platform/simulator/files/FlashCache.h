#pragma once

#include <filesystem>

#include "platform/simulator/files/TerminalPath.h"

namespace hw::sim {

// The folder in the terminal's that holds, while writes under "\Flash Disk"
// are cached, each such file as its volume has it:
//   was/PATH  the file's bytes when it was last flushed
//   new/PATH  an empty file: there was no such file then
// A warm reset and scripts/cold-boot put those back, as a FAT volume whose
// cache was never written out comes back.
inline constexpr char kUnflushedFolder[] = "flash.unflushed";

// The flash file system's cache, written back (device.ini [files] cache):
// a write reaches the volume only when its file is flushed (FlushFileBuffers,
// or a handle opened with FILE_FLAG_WRITE_THROUGH). Written through, the
// default, everything is on the volume at once and this does nothing.
class FlashCache {
 public:
  FlashCache(std::filesystem::path folder, bool writeBack)
      : folder_(std::move(folder)), writeBack_(writeBack) {}

  // Before the file under "\Flash Disk" is created, truncated or written:
  // keeps it as its volume has it, once between two flushes. False when
  // that cannot be kept.
  bool BeforeWrite(const TerminalPath& path) const;
  // The file is on its volume as it stands: flushed, written through or
  // deleted.
  void OnVolume(const TerminalPath& path) const;
  // The volume flushed (FSCTL_FLUSH_BUFFERS): every file is on it as it stands.
  void OnVolumeAll() const;
  // A reset: every write not on the volume is lost.
  void LoseUnflushed() const;

 private:
  std::filesystem::path folder_;
  bool writeBack_;
};

}  // namespace hw::sim
