// Every file the simulator rewrites reaches the disk before it is renamed
// into place, and the folder after it, so that a power cut leaves the old
// file or the new one whole. fsync and rename are interposed here, in this
// executable of its own, to see the calls the simulator makes and in what
// order.
#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <functional>

#include "TerminalFixture.h"

namespace {

struct Call {
  std::string name;  // "fsync" or "rename"
  std::string path;  // what was flushed, or the rename's target
  std::string from;  // the rename's source
  long long size;    // the flushed file's size, -1 for a folder
};

std::vector<Call>* recording = nullptr;

std::string PathOfDescriptor(int fd) {
  char target[4096] = {};
  const std::string name = "/proc/self/fd/" + std::to_string(fd);
  const ssize_t length = ::readlink(name.c_str(), target, sizeof target - 1);
  return length > 0 ? std::string(target, static_cast<std::size_t>(length)) : std::string();
}

}  // namespace

extern "C" int fsync(int fd) {
  using Real = int (*)(int);
  static const auto real = reinterpret_cast<Real>(::dlsym(RTLD_NEXT, "fsync"));
  if (recording != nullptr) {
    struct stat status {};
    ::fstat(fd, &status);
    recording->push_back({"fsync",
                          PathOfDescriptor(fd),
                          {},
                          S_ISREG(status.st_mode) ? static_cast<long long>(status.st_size) : -1});
  }
  return real(fd);
}

extern "C" int rename(const char* from, const char* to) noexcept {
  using Real = int (*)(const char*, const char*);
  static const auto real = reinterpret_cast<Real>(::dlsym(RTLD_NEXT, "rename"));
  if (recording != nullptr) recording->push_back({"rename", to, from, -1});
  return real(from, to);
}

namespace hw::simtest {
namespace {

using DurableWriteTest = TerminalTest;

TEST_F(DurableWriteTest, EachRewrittenFileIsFlushedThenRenamedThenItsFolderFlushed) {
  struct Case {
    const char* file;
    std::function<void(Platform&)> rewrite;
  };
  const Case cases[] = {
      {"registry.reg",
       [](Platform& os) {
         RegKey key = 0;
         ASSERT_EQ(os.RegOpenKeyEx(kHkeyLocalMachine, u"Ident", 0, kKeyAllAccess, &key), 0);
         const std::u16string text = u"renamed";
         EXPECT_EQ(os.RegSetValueEx(key, u"Name", 0, kRegSz,
                                    reinterpret_cast<const std::uint8_t*>(text.c_str()),
                                    static_cast<std::uint32_t>((text.size() + 1) * 2)),
                   0);
         os.RegCloseKey(key);
       }},
      {"eeprom.bin",
       [](Platform& os) {
         const Handle eeprom = OpenEeprom(os);
         const std::uint8_t write[] = {0x91, 0x11};
         EXPECT_NE(os.DeviceIoControl(eeprom, 1, write, 2, nullptr, 0, nullptr, nullptr), 0);
         os.CloseHandle(eeprom);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    auto os = Load();
    std::vector<Call> calls;
    recording = &calls;
    c.rewrite(*os);
    recording = nullptr;

    const std::string target = fs::canonical(PathOf(c.file)).string();
    const std::string temporary = target + ".tmp";
    const long long size = static_cast<long long>(fs::file_size(target));
    std::size_t flushed = calls.size();
    std::size_t renamed = calls.size();
    std::size_t folderFlushed = calls.size();
    for (std::size_t i = 0; i < calls.size(); ++i) {
      const Call& call = calls[i];
      if (call.name == "fsync" && call.path == temporary && call.size == size) flushed = i;
      if (call.name == "rename" && call.from == temporary && call.path == target) renamed = i;
      if (call.name == "fsync" && call.path == fs::path(target).parent_path().string()) {
        folderFlushed = i;
      }
    }
    ASSERT_LT(renamed, calls.size()) << "no rename of " << temporary;
    EXPECT_LT(flushed, renamed) << "the whole new file is flushed before the rename";
    EXPECT_LT(renamed, folderFlushed) << "the folder is flushed after the rename";
  }
}

}  // namespace
}  // namespace hw::simtest
