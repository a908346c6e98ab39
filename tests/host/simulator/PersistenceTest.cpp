// What a cold boot (scripts/cold-boot) leaves of the registry with a hive and
// with a RAM registry, and of the object store and the flash cache; the warm
// reset's record.
#include <sys/wait.h>

#include <cstdlib>
#include <regex>

#include "TerminalFixture.h"
#include "platform/simulator/files/FlashCache.h"
#include "platform/simulator/registry/TerminalRegistry.h"

namespace hw::simtest {
namespace {

constexpr char16_t kHcdKey[] = u"Drivers\\BuiltIn\\HCD_HSH1";

class PersistenceTest : public TerminalTest {
 protected:
  int ColdBoot() const {
    const std::string command = std::string("'") + HWSETUP_SOURCE_DIR + "/scripts/cold-boot' '" +
                                folder_.string() + "' >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  // The Dll value of the USB host driver as registry.reg holds it.
  std::string UsbDll() const {
    const std::string text = ReadFile("registry.reg");
    const std::size_t key = text.find("[HKEY_LOCAL_MACHINE\\Drivers\\BuiltIn\\HCD_HSH1]");
    const std::size_t value = text.find("\"Dll\"=\"", key) + 7;
    return text.substr(value, text.find('"', value) - value);
  }
};

TEST_F(PersistenceTest, AColdBootKeepsWhatTheRegistrysStoreKept) {
  const struct {
    const char* persistence;
    bool flushed;      // the program flushed after its set
    bool handEdit;     // and then registry.reg was edited by hand
    long flushResult;  // what RegFlushKey answered
    const char* after;
    bool warmClears = false;  // a warm reset on a board that clears the object store
  } cases[] = {
      {"hive", true, false, 0, "set.dll"},
      {"hive", false, false, 0, "hcd_hsh1.dll"},
      {"hive", true, true, 0, "by-hand.dll"},
      {"ram", true, false, kErrorNotSupported, "hcd_hsh1.dll"},
      {"ram", false, true, 0, "hcd_hsh1.dll"},
      {"hive", false, false, 0, "hcd_hsh1.dll", true},
      {"ram", false, false, 0, "hcd_hsh1.dll", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.persistence) + (c.flushed ? ", flushed" : "") +
                 (c.handEdit ? ", hand edit" : ""));
    TearDown();
    SetUp();
    WriteFile("device.ini",
              std::string("[registry]\npersistence = ") + c.persistence +
                  (c.warmClears ? "\n[boot]\nobject store = cleared at every boot\n" : "\n"));
    {
      auto os = Load();
      ASSERT_EQ(SetString(*os, kHcdKey, u"Dll", u"set.dll"), 0);
      if (c.flushed) {
        EXPECT_EQ(os->RegFlushKey(kHkeyLocalMachine), c.flushResult);
      }
      if (c.warmClears) {
        os->OnRestart([] {});
        ASSERT_EQ(os->SetSystemPowerState(nullptr, kPowerStateReset, kPowerForce), 0u);
        EXPECT_EQ(UsbDll(), c.after) << "the warm reset booted as from cold";
        continue;
      }
    }
    if (c.handEdit) {
      WriteFile("registry.reg",
                ReplacedAfter(ReadFile("registry.reg"), "HCD_HSH1", UsbDll(), "by-hand.dll"));
    }
    ASSERT_EQ(UsbDll(), c.handEdit ? "by-hand.dll" : "set.dll") << "a warm reset keeps it";
    ASSERT_EQ(ColdBoot(), 0);
    EXPECT_EQ(UsbDll(), c.after);
    EXPECT_FALSE(fs::exists(PathOf(sim::kFlushedRegistryName)));
    EXPECT_EQ(ReadFile("eeprom.bin"), std::string(256, '\xFF')) << "the EEPROM survives";
  }
}

TEST_F(PersistenceTest, OnlyTheSetsSinceTheLastFlushAreLost) {
  {
    auto os = Load();
    ASSERT_EQ(SetString(*os, kHcdKey, u"Dll", u"first.dll"), 0);
    ASSERT_EQ(os->RegFlushKey(kHkeyLocalMachine), 0);
    ASSERT_EQ(SetString(*os, kHcdKey, u"Dll", u"second.dll"), 0);
    ASSERT_EQ(SetString(*os, kHcdKey, u"IsrDll", u"second.dll"), 0);
  }
  ASSERT_EQ(ColdBoot(), 0);
  EXPECT_EQ(UsbDll(), "first.dll");
  EXPECT_NE(ReadFile("registry.reg").find("\"IsrDll\"=\"giisr.dll\""), std::string::npos);
}

TEST_F(PersistenceTest, ARamRegistryWithoutTheImagesRegistryIsNotBooted) {
  WriteFile("device.ini", "[registry]\npersistence = ram\n");
  fs::remove(PathOf(sim::kFactoryRegistryName));
  const std::string before = ReadFile("registry.reg");
  EXPECT_EQ(ColdBoot(), 1);
  EXPECT_EQ(ReadFile("registry.reg"), before);
  WriteFile("device.ini", "[registry]\npersistence = flash\n");
  EXPECT_EQ(ColdBoot(), 2) << "neither hive nor ram";
}

// A file written through a handle opened with `flags`, flushed or not, then
// the terminal reset: what the file is afterwards (null: gone).
TEST_F(PersistenceTest, AResetKeepsWhatTheFilesVolumeHolds) {
  const char* const kWriteBack = "[files]\ncache = write-back\n";
  const char* const kCleared = "[boot]\nobject store = cleared at every boot\n";
  const struct {
    const char* what;
    const char16_t* path;
    const char* ini;     // device.ini
    const char* before;  // null: no such file
    bool flush;
    std::uint32_t flags;
    bool cold;
    const char* after;
    int volumeError = -1;  // what a volume flush answers (0: it works); -1: none asked
    bool late = false;     // [power] reset = late: the reset comes at the program's end
  } cases[] = {
      {"object store, warm reset", u"\\o.txt", "", nullptr, false, 0, false, "new"},
      {"object store, cold boot", u"\\o.txt", "", nullptr, false, 0, true, nullptr},
      {"object store on a board that clears it, warm reset", u"\\o.txt", kCleared, nullptr, false,
       0, false, nullptr},
      {"flash on a board that clears the object store", u"\\Flash Disk\\f.txt", kCleared, nullptr,
       false, 0, false, "new"},
      {"flash written through", u"\\Flash Disk\\f.txt", "", nullptr, false, 0, true, "new"},
      {"write-back, a new file unflushed", u"\\Flash Disk\\f.txt", kWriteBack, nullptr, false, 0,
       false, nullptr},
      {"write-back, an old file unflushed", u"\\Flash Disk\\f.txt", kWriteBack, "old", false, 0,
       true, "old"},
      {"write-back, flushed", u"\\Flash Disk\\f.txt", kWriteBack, nullptr, true, 0, false, "new"},
      {"write-back, a write-through handle", u"\\Flash Disk\\f.txt", kWriteBack, "old", false,
       kFileFlagWriteThrough, true, "new"},
      {"write-back, the volume flushed", u"\\Flash Disk\\f.txt", kWriteBack, nullptr, false, 0,
       false, "new", 0},
      {"write-back, a volume without the flush", u"\\Flash Disk\\f.txt",
       "[files]\ncache = write-back\nvolume flush = unsupported\n", nullptr, false, 0, false,
       nullptr, kErrorNotSupported},
      {"write-back, a volume flush that fails", u"\\Flash Disk\\f.txt",
       "[files]\ncache = write-back\nvolume flush = fails\n", nullptr, false, 0, true, nullptr, 29},
      {"write-back, a late reset", u"\\Flash Disk\\f.txt",
       "[files]\ncache = write-back\n[power]\nreset = late\n", nullptr, false, 0, false, nullptr,
       -1, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TearDown();
    SetUp();
    WriteFile("device.ini", c.ini);
    const std::string host = c.path[1] == u'F' ? "Flash Disk/f.txt" : "Object Store/o.txt";
    if (c.before != nullptr) WriteFile(host, c.before);
    auto os = Load();
    const Handle h = os->CreateFile(c.path, kGenericWrite, 0, nullptr, kCreateAlways, c.flags, 0);
    std::uint32_t written = 0;
    ASSERT_NE(os->WriteFile(h, "new", 3, &written, nullptr), 0);
    EXPECT_EQ(c.flush ? os->FlushFileBuffers(h) : 1, 1);
    if (c.volumeError >= 0) {
      const int flushed = os->CeFsIoControl(u"\\Flash Disk", kFsctlFlushBuffers, nullptr, 0,
                                            nullptr, 0, nullptr, nullptr);
      EXPECT_EQ(flushed != 0 ? 0 : static_cast<int>(os->GetLastError()), c.volumeError);
    }
    EXPECT_EQ(os->CloseHandle(h), 1);
    if (c.cold) {
      ASSERT_EQ(ColdBoot(), 0);
    } else {
      os->OnRestart([&] { EXPECT_FALSE(c.late) << "the program goes on"; });
      ASSERT_EQ(os->SetSystemPowerState(nullptr, kPowerStateReset, kPowerForce), 0u);
      EXPECT_EQ(fs::exists(PathOf("restarts.log")), !c.late);
      if (c.late) os.reset();  // the program's end
      EXPECT_TRUE(fs::exists(PathOf("restarts.log")));
    }
    EXPECT_EQ(fs::exists(PathOf(host)) ? ReadFile(host) : "(gone)", c.after ? c.after : "(gone)");
    EXPECT_FALSE(fs::exists(PathOf(sim::kUnflushedFolder)));
  }
}

TEST_F(PersistenceTest, AWarmResetIsRecordedAndEndsTheProgram) {
  for (const auto& [kind, result] : {std::pair{"refused", kErrorAccessDenied}, {"ignored", 0L}}) {
    WriteFile("device.ini", std::string("[power]\nreset = ") + kind + "\n");
    auto refusing = Load();
    refusing->OnRestart([] { FAIL() << "no reset comes"; });
    EXPECT_EQ(refusing->SetSystemPowerState(nullptr, kPowerStateReset, kPowerForce),
              static_cast<UInt32>(result));
    EXPECT_FALSE(fs::exists(PathOf("restarts.log")));
  }
  fs::remove(PathOf("device.ini"));
  auto os = Load();
  int ends = 0;
  os->OnRestart([&] { ++ends; });
  EXPECT_EQ(os->SetSystemPowerState(nullptr, 0x00200000, kPowerForce), kErrorNotSupported)
      << "a suspend is not modelled";
  EXPECT_EQ(ends, 0);
  EXPECT_EQ(os->SetSystemPowerState(nullptr, kPowerStateReset, kPowerForce), 0);
  EXPECT_EQ(os->SetSystemPowerState(nullptr, kPowerStateReset, 0), 0);
  EXPECT_EQ(ends, 2);
  EXPECT_TRUE(
      std::regex_match(ReadFile("restarts.log"),
                       std::regex("(\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d warm reset\r\n){2}")))
      << ReadFile("restarts.log");
}

// A press after the boot changes the registry and not the running driver;
// the next boot, warm or cold, loads from the registry as it then stands (a
// cold boot of a hive: as last flushed, before the press).
TEST_F(PersistenceTest, TheRunningDriverChangesAtTheNextBoot) {
  WriteFile("device.ini", "[sdio]\ncard = none\n");
  const auto loaded = [this] {
    LoadedDriver list[1];
    UInt32 count = 0;
    Load()->ListLoadedDrivers(list, 1, &count);
    return count;
  };
  ASSERT_EQ(loaded(), 1u);
  ASSERT_EQ(SetString(*Load(), kHcdKey, u"Dll", u"xxx"), 0);
  EXPECT_EQ(loaded(), 1u) << "loaded before the press";
  auto os = Load();
  os->OnRestart([] {});
  ASSERT_EQ(os->SetSystemPowerState(nullptr, kPowerStateReset, kPowerForce), 0u);
  EXPECT_EQ(loaded(), 0u) << ReadFile("drivers.txt");
  ASSERT_EQ(ColdBoot(), 0);
  EXPECT_EQ(loaded(), 1u) << ReadFile("drivers.txt");
}

}  // namespace
}  // namespace hw::simtest
