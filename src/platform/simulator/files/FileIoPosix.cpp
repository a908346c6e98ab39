// The simulator's whole-file reads and writes on POSIX systems (the native
// tests). The Windows build, which the simulator flavour runs under Wine, has
// its own in FileIoWin32.cpp.
#ifndef _WIN32

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

#include "platform/simulator/files/FileIo.h"

namespace hw::sim {

namespace fs = std::filesystem;

namespace {

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

std::int64_t Nanoseconds(const timespec& time) {
  return static_cast<std::int64_t>(time.tv_sec) * 1000000000 + time.tv_nsec;
}

FileStamp StampOf(const struct stat& status) {
  return {static_cast<std::uint64_t>(status.st_size), Nanoseconds(status.st_mtim),
          Nanoseconds(status.st_ctim), static_cast<std::uint64_t>(status.st_dev),
          static_cast<std::uint64_t>(status.st_ino)};
}

ReadResult Missing() {
  return errno == ENOENT || errno == ENOTDIR ? ReadResult::kAbsent : ReadResult::kFailed;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// Has the file system allocate all `size` bytes of a new file before they are
// written. ext4 writes a file out at once when it is renamed over another,
// unless its blocks are allocated already: without this, every cached set
// would cost a disk write after all. Where it cannot, the write goes on.
void Preallocate(int fd, std::uint64_t size) {
#ifdef __linux__
  if (size != 0) ::fallocate(fd, 0, 0, static_cast<off_t>(size));
#else
  (void)fd;
  (void)size;
#endif
}

// The new name lasts once the folder is on the disk too. Should that flush
// fail, the file in place is still whole, old or new.
void ForceFolderOf(const fs::path& file) {
  const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
  Descriptor directory(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (directory.get() >= 0) ::fsync(directory.get());
}

}  // namespace

std::int64_t FileClockNow() {
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  return Nanoseconds(now);
}

ReadResult StampFile(const fs::path& path, FileStamp* stamp) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) return Missing();
  if (!S_ISREG(status.st_mode)) return ReadResult::kFailed;
  *stamp = StampOf(status);
  return ReadResult::kRead;
}

ReadResult ReadWholeFile(const fs::path& path, std::string* bytes) {
  // Non-blocking, so that a FIFO in the file's place fails instead of waiting.
  Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (file.get() < 0) return Missing();
  struct stat status {};
  if (::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode)) return ReadResult::kFailed;
  // One byte more than the size, so that the end shows without another call;
  // a file that grows meanwhile is read to its new end.
  bytes->resize(static_cast<std::size_t>(status.st_size) + 1);
  std::size_t got = 0;
  for (;;) {
    if (got == bytes->size()) bytes->resize(got + got / 2 + 4096);
    const ssize_t read = ::read(file.get(), bytes->data() + got, bytes->size() - got);
    if (read < 0 && errno == EINTR) continue;
    if (read < 0) return ReadResult::kFailed;
    if (read == 0) break;
    got += static_cast<std::size_t>(read);
  }
  bytes->resize(got);
  return ReadResult::kRead;
}

ReadResult ReadInPieces(const fs::path& path, std::string* buffer,
                        const std::function<bool(std::string_view)>& each) {
  Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (file.get() < 0) return Missing();
  struct stat status {};
  if (::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode)) return ReadResult::kFailed;
  for (;;) {
    const ssize_t read = ::read(file.get(), buffer->data(), buffer->size());
    if (read < 0 && errno == EINTR) continue;
    if (read < 0) return ReadResult::kFailed;
    if (read == 0 || !each(std::string_view(buffer->data(), static_cast<std::size_t>(read)))) {
      return ReadResult::kRead;
    }
  }
}

bool ReplaceFileAtomically(const fs::path& target, std::initializer_list<std::string_view> pieces,
                           Durability durability) {
  const bool forced = durability == Durability::kForced;
  fs::path temporary = target;
  temporary += ".tmp";
  Descriptor file(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
  bool written = file.get() >= 0;
  if (written && !forced) {
    std::uint64_t size = 0;
    for (std::string_view piece : pieces) size += piece.size();
    Preallocate(file.get(), size);
  }
  for (std::string_view piece : pieces) written = written && WriteAll(file.get(), piece);
  written = written && (!forced || ::fsync(file.get()) == 0);
  written = file.get() >= 0 && file.Close() && written;
  if (!written || ::rename(temporary.c_str(), target.c_str()) != 0) {
    ::unlink(temporary.c_str());
    return false;
  }
  if (forced) ForceFolderOf(target);
  return true;
}

bool ForceToDisk(const fs::path& file) {
  Descriptor forced(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
  if (forced.get() < 0 || ::fsync(forced.get()) != 0) return false;
  ForceFolderOf(file);
  return true;
}

bool AppendToFile(const fs::path& path, std::string_view bytes) {
  Descriptor file(::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666));
  return file.get() >= 0 && WriteAll(file.get(), bytes) && file.Close();
}

}  // namespace hw::sim

#endif  // !_WIN32
