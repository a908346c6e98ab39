// A file the simulator rewrites is renamed into place whole. The EEPROM's
// bytes reach the disk before the rename and the folder after it, so that a
// power cut leaves the old file or the new one whole; a registry set stays in
// the file system's cache, as CE's sets stay in RAM, and only a hive's
// RegFlushKey forces registry.reg and its folder. fsync and rename are
// interposed here, in this executable of its own, to see the calls the
// simulator makes and in what order.
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

void SetName(Platform& os) {
  EXPECT_EQ(SetString(os, u"Ident", u"Name", u"renamed"), 0);
}

TEST_F(DurableWriteTest, OnlyTheEepromAndAHivesFlushForceAFileToTheDisk) {
  struct Case {
    const char* what;
    const char* file;
    const char* persistence;
    std::function<void(Platform&)> rewrite;
    int forcedBeforeRename;  // fsyncs of the whole new file under its temporary name
    int forcedAfterRename;   // fsyncs of the file in place
  };
  const Case cases[] = {
      {"a cell write", "eeprom.bin", "hive",
       [](Platform& os) {
         const Handle eeprom = OpenEeprom(os);
         const std::uint8_t write[] = {0x91, 0x11};
         EXPECT_NE(os.DeviceIoControl(eeprom, 1, write, 2, nullptr, 0, nullptr, nullptr), 0);
         os.CloseHandle(eeprom);
       },
       1, 0},
      {"a set, kept by a warm reset", "registry.reg", "hive",
       [](Platform& os) {
         SetName(os);
         auto& terminal = static_cast<SimulatedTerminal&>(os);
         terminal.OnRestart([] {});
         EXPECT_EQ(terminal.SetSystemPowerState(nullptr, kPowerStateReset, kPowerForce), 0u);
       },
       0, 0},
      {"a set, a flush and a flush with nothing pending", "registry.reg", "hive",
       [](Platform& os) {
         SetName(os);
         EXPECT_EQ(os.RegFlushKey(kHkeyLocalMachine), 0);
         EXPECT_EQ(os.RegFlushKey(kHkeyLocalMachine), 0);
       },
       0, 1},
      {"a set and a refused flush", "registry.reg", "ram",
       [](Platform& os) {
         SetName(os);
         EXPECT_EQ(os.RegFlushKey(kHkeyLocalMachine), kErrorNotSupported);
       },
       0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.what) + ", " + c.persistence);
    WriteFile("device.ini", std::string("[registry]\npersistence = ") + c.persistence + "\n");
    auto os = Load();
    std::vector<Call> calls;
    recording = &calls;
    c.rewrite(*os);
    recording = nullptr;

    const std::string target = fs::canonical(PathOf(c.file)).string();
    const std::string temporary = target + ".tmp";
    const std::string folder = fs::path(target).parent_path().string();
    const long long size = static_cast<long long>(fs::file_size(target));
    int before = 0;
    int after = 0;
    std::size_t renamed = calls.size();
    std::size_t folderForced = calls.size();
    for (std::size_t i = 0; i < calls.size(); ++i) {
      const Call& call = calls[i];
      if (call.name == "rename" && call.from == temporary && call.path == target) renamed = i;
      if (call.name != "fsync") continue;
      before += call.path == temporary && call.size == size && i < renamed;
      after += call.path == target && call.size == size && i > renamed;
      if (call.path == folder && i > renamed) folderForced = i;
    }
    ASSERT_LT(renamed, calls.size()) << "no rename of " << temporary;
    EXPECT_EQ(before, c.forcedBeforeRename);
    EXPECT_EQ(after, c.forcedAfterRename);
    EXPECT_EQ(folderForced < calls.size(), before + after > 0) << "the folder follows its file";
  }
}

}  // namespace
}  // namespace hw::simtest
