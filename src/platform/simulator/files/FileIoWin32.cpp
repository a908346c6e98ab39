// The simulator's whole-file reads and writes in the Windows build, which the
// simulator flavour runs under Wine. Win32 calls rather than the C runtime's:
// its stat() has whole seconds and no file identity, and only the Win32 file
// handle can be flushed to the disk.
#ifdef _WIN32

#include <windows.h>
// After <windows.h>, which it needs.
#include <winternl.h>

#include <algorithm>
#include <cstdint>

#include "platform/simulator/files/FileIo.h"

namespace hw::sim {

namespace fs = std::filesystem;

namespace {

// FILETIME counts 100 ns from 1601; the stamps count ns from 1970.
constexpr std::int64_t kFileTimeAt1970 = 116444736000000000;

std::int64_t Nanoseconds(std::int64_t fileTime) {
  return (fileTime - kFileTimeAt1970) * 100;
}

std::int64_t Nanoseconds(const FILETIME& time) {
  return Nanoseconds(static_cast<std::int64_t>(
      (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime));
}

class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() {
    if (valid()) ::CloseHandle(handle_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  bool Close() {
    const HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    return ::CloseHandle(handle) != FALSE;
  }

 private:
  HANDLE handle_;
};

// Open for reading while others go on reading, writing, renaming or deleting.
HANDLE OpenShared(const fs::path& path, DWORD access) {
  return ::CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

ReadResult Missing() {
  const DWORD error = ::GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? ReadResult::kAbsent
                                                                        : ReadResult::kFailed;
}

// Three queries that Wine answers from the file's own status. The file's
// volume is left out: the terminal's files share one, and Wine asks another
// process for a volume's serial (GetFileInformationByHandle does), which
// costs more than the rest of the stamp.
bool StampOf(HANDLE file, FileStamp* stamp) {
  FILE_STANDARD_INFO standard{};
  FILE_BASIC_INFO basic{};
  FILE_INTERNAL_INFORMATION internal{};
  IO_STATUS_BLOCK io{};
  if (!::GetFileInformationByHandleEx(file, FileStandardInfo, &standard, sizeof standard) ||
      standard.Directory ||
      !::GetFileInformationByHandleEx(file, FileBasicInfo, &basic, sizeof basic) ||
      ::NtQueryInformationFile(file, &io, &internal, sizeof internal, FileInternalInformation) !=
          0) {
    return false;
  }
  stamp->size = static_cast<std::uint64_t>(standard.EndOfFile.QuadPart);
  stamp->modified = Nanoseconds(basic.LastWriteTime.QuadPart);
  stamp->changed = Nanoseconds(basic.ChangeTime.QuadPart);
  stamp->volume = 0;
  stamp->fileId = static_cast<std::uint64_t>(internal.IndexNumber.QuadPart);
  return true;
}

// Has the file system allocate all `size` bytes of a new file before they are
// written. ext4 writes a file out at once when it is renamed over another,
// unless its blocks are allocated already: without this, every cached set
// would cost a disk write after all. Wine makes SetFileValidData an
// fallocate(); Windows grants it only with a privilege a program seldom
// holds, and the write goes on without it.
void Preallocate(HANDLE file, std::uint64_t size) {
  LARGE_INTEGER end{};
  end.QuadPart = static_cast<LONGLONG>(size);
  const LARGE_INTEGER start{};
  if (size == 0 || !::SetFilePointerEx(file, end, nullptr, FILE_BEGIN)) return;
  if (::SetEndOfFile(file)) ::SetFileValidData(file, end.QuadPart);
  ::SetFilePointerEx(file, start, nullptr, FILE_BEGIN);
}

}  // namespace

std::int64_t FileClockNow() {
  FILETIME now{};
  ::GetSystemTimePreciseAsFileTime(&now);
  return Nanoseconds(now);
}

ReadResult StampFile(const fs::path& path, FileStamp* stamp) {
  FileHandle file(OpenShared(path, FILE_READ_ATTRIBUTES));
  if (!file.valid()) return Missing();
  return StampOf(file.get(), stamp) ? ReadResult::kRead : ReadResult::kFailed;
}

ReadResult ReadWholeFile(const fs::path& path, std::string* bytes) {
  FileHandle file(OpenShared(path, GENERIC_READ));
  if (!file.valid()) return Missing();
  // The size alone: under Wine the full file information costs a volume
  // query, several times the read of a small file. (A folder does not open
  // without backup semantics, so what opened is a file.)
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size)) return ReadResult::kFailed;
  if (static_cast<std::uint64_t>(size.QuadPart) >= bytes->max_size()) return ReadResult::kFailed;
  // One byte more than the size, so that the end shows without another call;
  // a file that grows meanwhile is read to its new end.
  bytes->resize(static_cast<std::size_t>(size.QuadPart) + 1);
  std::size_t got = 0;
  for (;;) {
    if (got == bytes->size()) bytes->resize(got + got / 2 + 4096);
    DWORD read = 0;
    const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(bytes->size() - got, 1u << 30));
    if (!::ReadFile(file.get(), bytes->data() + got, wanted, &read, nullptr)) {
      return ReadResult::kFailed;
    }
    if (read == 0) break;
    got += read;
  }
  bytes->resize(got);
  return ReadResult::kRead;
}

ReadResult ReadInPieces(const fs::path& path, std::string* buffer,
                        const std::function<bool(std::string_view)>& each) {
  FileHandle file(OpenShared(path, GENERIC_READ));
  if (!file.valid()) return Missing();
  const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(buffer->size(), 1u << 30));
  for (;;) {
    DWORD read = 0;
    if (!::ReadFile(file.get(), buffer->data(), wanted, &read, nullptr)) {
      return ReadResult::kFailed;
    }
    if (read == 0 || !each(std::string_view(buffer->data(), read))) return ReadResult::kRead;
  }
}

bool ReplaceFileAtomically(const fs::path& target, std::initializer_list<std::string_view> pieces,
                           Durability durability) {
  const bool forced = durability == Durability::kForced;
  fs::path temporary = target;
  temporary += ".tmp";
  FileHandle file(::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  bool written = file.valid();
  if (written && !forced) {
    std::uint64_t size = 0;
    for (std::string_view bytes : pieces) size += bytes.size();
    Preallocate(file.get(), size);
  }
  for (std::string_view bytes : pieces) {
    while (written && !bytes.empty()) {
      DWORD done = 0;
      const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
      written = ::WriteFile(file.get(), bytes.data(), chunk, &done, nullptr) && done != 0;
      bytes.remove_prefix(done);
    }
  }
  // Wine flushes with fsync(); on Windows it is the file system's own flush.
  written = written && (!forced || ::FlushFileBuffers(file.get()));
  written = file.valid() && file.Close() && written;
  const DWORD move = MOVEFILE_REPLACE_EXISTING | (forced ? MOVEFILE_WRITE_THROUGH : 0);
  if (written && ::MoveFileExW(temporary.c_str(), target.c_str(), move)) return true;
  ::DeleteFileW(temporary.c_str());
  return false;
}

bool ForceToDisk(const fs::path& file) {
  // FlushFileBuffers needs a handle that may write.
  FileHandle forced(OpenShared(file, GENERIC_WRITE));
  return forced.valid() && ::FlushFileBuffers(forced.get());
}

bool AppendToFile(const fs::path& path, std::string_view bytes) {
  FileHandle file(::CreateFileW(path.c_str(), FILE_APPEND_DATA,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD done = 0;
  return file.valid() &&
         ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) &&
         done == bytes.size();
}

}  // namespace hw::sim

#endif  // _WIN32
