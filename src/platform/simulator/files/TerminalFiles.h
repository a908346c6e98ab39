#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>

#include "platform/simulator/files/FlashCache.h"
#include "platform/simulator/files/TerminalPath.h"

namespace hw::sim {

struct OpenFile {
  std::fstream stream;  // not open when the handle has neither access
  TerminalPath path;
  bool canRead = false;
  bool canWrite = false;
  bool writeThrough = false;  // FILE_FLAG_WRITE_THROUGH
};

// The terminal's file system in the folder. A file whose owner-write bit is
// clear has the read-only attribute; the simulator checks it itself because
// the tests run as root, which the bit does not stop.
class TerminalFiles {
 public:
  TerminalFiles(std::filesystem::path folder, std::optional<std::uint64_t> flashFreeBytes,
                bool writeBack)
      : folder_(std::move(folder)), flashLeft_(flashFreeBytes), cache_(folder_, writeBack) {}

  bool Map(std::u16string_view path, TerminalPath* mapped) const;
  // CreateFile's dispositions 1 to 5 on a regular file: CREATE_ALWAYS creates
  // or truncates, OPEN_EXISTING needs the file, and so on. Null when Win32
  // would fail: no such file, no parent folder, a folder, write access or
  // truncation on a read-only file. The object store's root is always there.
  std::unique_ptr<OpenFile> Open(const TerminalPath& path, std::uint32_t access,
                                 std::uint32_t disposition, std::uint32_t flags) const;
  int Read(OpenFile& file, void* buffer, std::uint32_t bytesToRead, std::uint32_t* bytesRead);
  // Writes under "\Flash Disk" spend one budget for the whole run; a write
  // that does not fit stores what does, reports that count and fails.
  int Write(OpenFile& file, const void* buffer, std::uint32_t bytesToWrite,
            std::uint32_t* bytesWritten);
  // FlushFileBuffers: 0 on a handle without write access.
  int Flush(OpenFile& file) const;
  // FILE_ATTRIBUTE_READONLY clears the owner-write bit; any other value sets
  // it. 0 when the file is not there.
  int SetAttributes(std::u16string_view path, std::uint32_t attributes) const;
  // DeleteFile: 0 for a file that is not there, a folder or a read-only file.
  int Remove(std::u16string_view path) const;
  // CeFsIoControl's FSCTL_FLUSH_BUFFERS on "\Flash Disk": every write the
  // flash cache holds reaches the volume.
  void FlushVolume() const { cache_.OnVolumeAll(); }
  // A warm reset: what the flash cache held is lost; the object store stays.
  void Reset() const { cache_.LoseUnflushed(); }

 private:
  std::filesystem::path folder_;
  std::optional<std::uint64_t> flashLeft_;
  FlashCache cache_;
};

}  // namespace hw::sim
