#include "platform/simulator/files/TerminalFiles.h"

#include <algorithm>
#include <system_error>
#include <utility>

#include "platform/simulator/AccessRights.h"

namespace hw::sim {

namespace fs = std::filesystem;

namespace {

constexpr std::uint32_t kCreateNew = 1;
constexpr std::uint32_t kTruncateExisting = 5;
constexpr std::uint32_t kFileAttributeReadOnly = 1;

bool IsReadOnly(const fs::file_status& status) {
  return (status.permissions() & fs::perms::owner_write) == fs::perms::none;
}

}  // namespace

bool TerminalFiles::Map(std::u16string_view path, TerminalPath* mapped) const {
  return MapTerminalPath(folder_, path, mapped);
}

std::unique_ptr<OpenFile> TerminalFiles::Open(const TerminalPath& path, std::uint32_t access,
                                              std::uint32_t disposition,
                                              std::uint32_t flags) const {
  auto file = std::make_unique<OpenFile>();
  file->path = path;
  file->canRead = WantsRead(access);
  file->canWrite = WantsWrite(access);
  file->writeThrough = (flags & kFileFlagWriteThrough) != 0;

  std::error_code ec;
  const fs::file_status status = fs::status(path.host, ec);
  const bool exists = status.type() != fs::file_type::not_found;
  if (exists && status.type() != fs::file_type::regular) return nullptr;
  if (disposition < kCreateNew || disposition > kTruncateExisting) return nullptr;
  const bool mustExist = disposition == kOpenExisting || disposition == kTruncateExisting;
  if ((mustExist && !exists) || (disposition == kCreateNew && exists)) return nullptr;
  if (disposition == kTruncateExisting && !file->canWrite) return nullptr;
  const bool create = !exists;
  const bool truncate =
      exists && (disposition == kCreateAlways || disposition == kTruncateExisting);
  if (exists && IsReadOnly(status) && (file->canWrite || truncate)) return nullptr;
  if (create && path.inObjectStore) fs::create_directories(folder_ / kObjectStoreFolder, ec);
  if (create && !fs::is_directory(path.host.parent_path(), ec)) return nullptr;
  if (create || truncate) {
    if (!file->writeThrough && !cache_.BeforeWrite(path)) return nullptr;
    std::ofstream made(path.host, std::ios::binary | std::ios::trunc);
    if (!made) return nullptr;
    if (file->writeThrough) cache_.OnVolume(path);
  }
  if (!file->canRead && !file->canWrite) return file;
  std::ios::openmode mode = std::ios::binary;
  if (file->canRead) mode |= std::ios::in;
  // in|out opens without truncating; the disposition already did what it asked.
  if (file->canWrite) mode |= std::ios::in | std::ios::out;
  file->stream.open(path.host, mode);
  if (!file->stream.is_open()) return nullptr;
  return file;
}

int TerminalFiles::Read(OpenFile& file, void* buffer, std::uint32_t bytesToRead,
                        std::uint32_t* bytesRead) {
  if (bytesRead != nullptr) *bytesRead = 0;
  if (!file.canRead || (buffer == nullptr && bytesToRead != 0)) return 0;
  file.stream.seekg(0, std::ios::cur);  // a read after a write must reposition
  file.stream.read(static_cast<char*>(buffer), bytesToRead);
  const auto got = static_cast<std::uint32_t>(file.stream.gcount());
  if (file.stream.bad()) return 0;
  file.stream.clear();  // the end of the file is not an error for ReadFile
  if (bytesRead != nullptr) *bytesRead = got;
  return 1;
}

int TerminalFiles::Write(OpenFile& file, const void* buffer, std::uint32_t bytesToWrite,
                         std::uint32_t* bytesWritten) {
  if (bytesWritten != nullptr) *bytesWritten = 0;
  if (!file.canWrite || (buffer == nullptr && bytesToWrite != 0)) return 0;
  const bool inFlashDisk = file.path.inFlashDisk;
  std::uint32_t fits = bytesToWrite;
  if (inFlashDisk && flashLeft_) {
    fits = static_cast<std::uint32_t>(std::min<std::uint64_t>(fits, *flashLeft_));
  }
  if (!file.writeThrough && !cache_.BeforeWrite(file.path)) return 0;
  file.stream.seekp(0, std::ios::cur);
  file.stream.write(static_cast<const char*>(buffer), fits);
  file.stream.flush();  // outside tools read the file while the handle is open
  if (!file.stream) {
    file.stream.clear();
    return 0;
  }
  if (file.writeThrough) cache_.OnVolume(file.path);
  if (inFlashDisk && flashLeft_) *flashLeft_ -= fits;
  if (bytesWritten != nullptr) *bytesWritten = fits;
  return fits == bytesToWrite ? 1 : 0;
}

int TerminalFiles::Flush(OpenFile& file) const {
  if (!file.canWrite) return 0;
  cache_.OnVolume(file.path);
  return 1;
}

int TerminalFiles::SetAttributes(std::u16string_view path, std::uint32_t attributes) const {
  TerminalPath mapped;
  std::error_code ec;
  if (!Map(path, &mapped) || !fs::exists(mapped.host, ec)) return 0;
  const auto options =
      (attributes & kFileAttributeReadOnly) != 0 ? fs::perm_options::remove : fs::perm_options::add;
  fs::permissions(mapped.host, fs::perms::owner_write, options, ec);
  return ec ? 0 : 1;
}

int TerminalFiles::Remove(std::u16string_view path) const {
  TerminalPath mapped;
  std::error_code ec;
  if (!Map(path, &mapped)) return 0;
  const fs::file_status status = fs::status(mapped.host, ec);
  if (status.type() != fs::file_type::regular || IsReadOnly(status)) return 0;
  if (!fs::remove(mapped.host, ec)) return 0;
  cache_.OnVolume(mapped);  // the deletion is kept, whatever was cached of the file
  return 1;
}

}  // namespace hw::sim
