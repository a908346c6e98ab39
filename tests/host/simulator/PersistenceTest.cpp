// What a cold boot (scripts/cold-boot) leaves of the registry with a hive and
// with a RAM registry, and the warm reset's record.
#include <sys/wait.h>

#include <cstdlib>
#include <regex>

#include "TerminalFixture.h"
#include "platform/simulator/TerminalRegistry.h"

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
  } cases[] = {
      {"hive", true, false, 0, "set.dll"},
      {"hive", false, false, 0, "hcd_hsh1.dll"},
      {"hive", true, true, 0, "by-hand.dll"},
      {"ram", true, false, kErrorNotSupported, "hcd_hsh1.dll"},
      {"ram", false, true, 0, "hcd_hsh1.dll"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.persistence) + (c.flushed ? ", flushed" : "") +
                 (c.handEdit ? ", hand edit" : ""));
    TearDown();
    SetUp();
    WriteFile("device.ini", std::string("[registry]\npersistence = ") + c.persistence + "\n");
    {
      auto os = Load();
      ASSERT_EQ(SetString(*os, kHcdKey, u"Dll", u"set.dll"), 0);
      if (c.flushed) {
        EXPECT_EQ(os->RegFlushKey(kHkeyLocalMachine), c.flushResult);
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

TEST_F(PersistenceTest, AWarmResetIsRecordedAndEndsTheProgram) {
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

}  // namespace
}  // namespace hw::simtest
