#include <cstdlib>
#include <string>

#include "TerminalFixture.h"
#include "platform/simulator/TextCodec.h"
#include "platform/simulator/terminal/DeviceConfig.h"

namespace hw::simtest {
namespace {

using LoadTest = TerminalTest;

struct Malformed {
  const char* file;
  std::string content;
  int line;
};

const std::string kKeyLine = "[HKEY_LOCAL_MACHINE\\A]\r\n";

const Malformed kMalformed[] = {
    {"device.ini", "[EOM1]\nmax_opens = 1\nbogus = 2\n", 3},
    {"device.ini", "; faults\n[EOM2]\n", 2},
    {"device.ini", "max_opens = 1\n", 1},
    {"device.ini", "[EOM1]\nmax_opens\n", 2},
    {"device.ini", "[EOM1]\nmax_opens = -1\n", 2},
    {"device.ini", "[EOM1]\nmax_opens = 1\n\nMAX_OPENS = 2\n", 4},
    {"device.ini", "[EOM1]\nnull_handle = maybe\n", 2},
    {"device.ini", "[EOM1]\r\nfail_read = 0x100\r\n", 2},
    {"device.ini", "[EOM1]\nfail_read = 91\n", 2},
    {"device.ini", "[EOM1]\nfail_write = 0x11;0x19\n", 2},
    {"device.ini", "[EOM1]\nread_stores_nothing = none\n", 2},
    {"device.ini", "[registry]\ndeny = \"Drivers\\BuiltIn\n", 2},
    {"device.ini", "[registry]\ndeny = Drivers\\\\BuiltIn\n", 2},
    {"device.ini", "[files]\nflash_free_bytes = lots\n", 2},
    {"device.ini", "[registry]\npersistence = flash\n", 2},
    {"device.ini", "[files]\nfail_read = 0x11\n", 2},
    {"device.ini", "[terminal]\nid = 0x0123\n", 2},
    {"device.ini", "[terminal]\nid = ABC\n", 2},
    {"device.ini", "[terminal]\nid = " + std::string(514, '7') + "\n", 2},
    {"device.ini", "[boot]\nobject store = lost\n", 2},
    {"device.ini", "[boot]\nclock after cold boot = 2026-01-01\n", 2},
    {"device.ini", "[terminal]\nuuid = 0123456789ABCDEF\n", 2},
    {"device.ini", "[files]\ncache = lazy\n", 2},
    {"device.ini", "[power]\nreset = later\n", 2},
    {"device.ini", "[files]\nvolume flush = sometimes\n", 2},
    {"device.ini", "[sdio]\ncard = 4339\n", 2},
    {"device.ini", "[drivers]\ninit fails = Drivers\\BuiltIn\\HCD_HSH1\n", 2},
    {"drivers.txt", "booted 2026-12-08 14:02:11.250 UTC\r\nHCD1: loaded\r\n", 2},
    {"device.ini", "[EOM1]\n\n[EOM1\n", 3},
    {"registry.reg", "REGEDIT5\r\n", 1},
    {"registry.reg", "\r\n" + std::string(kRegHeader), 1},
    {"registry.reg", std::string(kRegHeader) + "\"x\"=\"y\"\r\n", 2},
    {"registry.reg", std::string(kRegHeader) + "[HKEY_BOGUS\\A]\r\n", 2},
    {"registry.reg", std::string(kRegHeader) + "[-HKEY_LOCAL_MACHINE\\A]\r\n", 2},
    {"registry.reg", std::string(kRegHeader) + "[HKEY_LOCAL_MACHINE\\A\r\n", 2},
    {"registry.reg", std::string(kRegHeader) + kKeyLine + "\"x\"=dword:123456789\r\n", 3},
    {"registry.reg", std::string(kRegHeader) + kKeyLine + "\"x\"=hex:01,zz\r\n", 3},
    {"registry.reg", std::string(kRegHeader) + kKeyLine + "\"x\"=hex:01,\\\r\n", 3},
    {"registry.reg", std::string(kRegHeader) + kKeyLine + "\"x\"=\"open\r\n", 3},
    {"registry.reg", std::string(kRegHeader) + kKeyLine + "\"x\"=\"a\\b\"\r\n", 3},
    {"registry.reg", std::string(kRegHeader) + kKeyLine + "\"x\"=\"a\" b\r\n", 3},
    {"registry.reg", std::string(kRegHeader) + kKeyLine + "\"x\"=-\r\n", 3},
    {"registry.reg", std::string(kRegHeader) + kKeyLine + "x=1\r\n", 3},
    {"registry.reg", "\xEF\xBB\xBF" + std::string(kRegHeader) + "\r\n\r\n; caf\xC3\x28\r\n", 4},
    {"registry.reg", "\xFE\xFF" + std::string(kRegHeader), 1},
    {"eeprom.bin", std::string(255, '\xFF'), 1},
};

TEST_F(LoadTest, AMalformedFileIsRefusedWithItsNameAndLine) {
  for (const Malformed& m : kMalformed) {
    SCOPED_TRACE(std::string(m.file) + " case line " + std::to_string(m.line));
    TearDown();
    SetUp();
    WriteFile(m.file, m.content);
    std::vector<std::string> files = Listing();
    files.push_back("debug.log");
    std::sort(files.begin(), files.end());

    std::string error;
    testing::internal::CaptureStderr();
    EXPECT_EQ(SimulatedTerminal::Load(folder_.string(), &error), nullptr);
    const std::string stderrText = testing::internal::GetCapturedStderr();

    const std::string where = std::string(m.file) + ":" + std::to_string(m.line) + ": ";
    EXPECT_EQ(error.substr(0, where.size()), where) << error;
    EXPECT_GT(error.size(), where.size()) << "a reason follows";
    EXPECT_EQ(stderrText, "") << "the caller, given the error, tells the user";
    EXPECT_EQ(ReadFile("debug.log"), error + "\r\n");
    EXPECT_EQ(ReadFile(m.file), m.content) << "never rewritten";
    EXPECT_EQ(Listing(), files);
  }
}

TEST_F(LoadTest, AMissingFolderIsRefused) {
  std::string error;
  testing::internal::CaptureStderr();
  EXPECT_EQ(SimulatedTerminal::Load((folder_ / "nowhere").string(), &error), nullptr);
  testing::internal::GetCapturedStderr();
  EXPECT_NE(error.find("nowhere"), std::string::npos) << error;
}

TEST_F(LoadTest, DeviceIniToleratesCaseSpaceAndComments) {
  const std::string text =
      "\xEF\xBB\xBF# faults for the bench\r\n"
      "  [ Eom1 ]  ; the EEPROM\r\n"
      "\tMax_Opens=2\r\n"
      "NULL_HANDLE  =  On   # zero\r\n"
      "[REGISTRY]\n"
      "deny = \"Drivers\\My Key\", HKEY_LOCAL_MACHINE\\Ident\n"
      "Persistence = RAM\n"
      "[files]\n"
      "flash_free_bytes = 0\n";
  sim::DeviceConfig config;
  sim::ParseError error;
  ASSERT_TRUE(sim::ParseDeviceConfig(text, &config, &error)) << error.line << ": " << error.reason;
  EXPECT_EQ(config.maxOpens, 2u);
  EXPECT_TRUE(config.nullHandle);
  EXPECT_EQ(config.deniedKeys, (std::vector<std::string>{"Drivers\\My Key", "Ident"}));
  EXPECT_EQ(config.flashFreeBytes, 0u);
  EXPECT_EQ(config.persistence, sim::RegistryPersistence::kRam);
  EXPECT_TRUE(config.failRead.none());
}

// IOCTL_HAL_GET_DEVICEID as CE's OEM layer answers it: a DEVICE_ID with the
// id as its platform id; a buffer too small for it gets the size it needs.
// And IOCTL_HAL_GET_DEVICE_INFO's SPI_GETUUID, which says that size in the
// count it returns.
TEST_F(LoadTest, TheDeviceIdIsAnsweredAsCeAnswersIt) {
  const char* const kUuid = "[terminal]\nuuid = 00112233445566778899aabbccddeeff\n";
  const struct {
    const char* ini;
    std::uint32_t bufferBytes;
    int answer;
    std::vector<std::uint32_t> words;  // the buffer's first words afterwards
    bool uuid = false;                 // SPI_GETUUID asked
    std::uint32_t returned = 0;        // what it says it returned
  } cases[] = {
      {kUuid, 16, 1, {0x33221100, 0x77665544, 0xBBAA9988, 0xFFEEDDCC, 0}, true, 16},
      {kUuid, 15, 0, {0}, true, 16},
      {"", 16, 0, {0}, true, 0},
      {"", 64, 1, {28, 20, 0, 20, 8, 0x67452301, 0xEFCDAB89, 0}},
      {"[terminal]\nid = a1B2C3d4\n", 24, 1, {24, 20, 0, 20, 4, 0xD4C3B2A1, 0}},
      {"[terminal]\nid = a1B2C3d4\n", 23, 0, {24, 0}},
      {"[terminal]\nid = a1B2C3d4\n", 19, 0, {0}},
      {"[terminal]\nid = none\n", 64, 0, {0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.ini) + " into " + std::to_string(c.bufferBytes) + " bytes");
    WriteFile("device.ini", c.ini);
    auto os = Load();
    std::uint32_t buffer[16] = {};
    UInt32 returned = 0;
    std::uint32_t spi = kSpiGetUuid;
    EXPECT_EQ(os->KernelIoControl(c.uuid ? kIoctlHalGetDeviceInfo : kIoctlHalGetDeviceId,
                                  c.uuid ? &spi : nullptr, c.uuid ? 4 : 0, buffer, c.bufferBytes,
                                  &returned),
              c.answer);
    EXPECT_EQ(std::vector<std::uint32_t>(buffer, buffer + c.words.size()), c.words);
    EXPECT_EQ(returned, c.uuid ? c.returned : c.answer ? c.words[0] : 0u);
  }
}

// The first load after a boot loads its drivers; FindFirstDevice then lists
// them, here as "legacy name|device key|device name".
TEST_F(LoadTest, ABootLoadsTheDriversWhoseDllIsThereAndWhoseInitSucceeds) {
  const std::string now = "[sdio]\nload delay ms = 0\n";
  const std::string hcd = "HCD1:|Drivers\\BuiltIn\\HCD_HSH1|$device\\HCD1";
  const std::string card = "SSI1:|\\Drivers\\SDCARD\\ClientDrivers\\Custom\\MANF-02D0-CARDID-";
  const std::string sd4329 = card + "4329-FUNC-1|$device\\SSI1";
  const struct {
    std::string ini;
    const char* dll;  // a file of Windows/, renamed `to`, or removed
    const char* to;
    std::vector<std::string> listed;
    DriverListResult result = kDriverListRead;
    UInt32 capacity = kMaxLoadedDrivers;
  } cases[] = {
      {now, nullptr, nullptr, {hcd, sd4329}},
      {now + "card = 4319\n", nullptr, nullptr, {hcd, card + "4319-FUNC-1|$device\\SSI1"}},
      {now + "card = none\n", nullptr, nullptr, {hcd}},
      {"[sdio]\nload delay ms = 60000\n", nullptr, nullptr, {hcd}},
      {now, "hcd_hsh1.dll", nullptr, {sd4329}},
      {now, "sdcsd40n.dll", "SDCSD40N.DLL", {hcd, sd4329}},
      {now, "sdcsd40n.dll", nullptr, {hcd}},
      {now + "[drivers]\ninit fails = hcd_hsh1\n", nullptr, nullptr, {sd4329}},
      {now + "[drivers]\nlist = unavailable\n", nullptr, nullptr, {}, kDriverListNotAvailable},
      {now, nullptr, nullptr, {hcd}, kDriverListFull, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.ini + (c.dll ? c.dll : "") + " to " + (c.to ? c.to : "(none)"));
    TearDown();
    SetUp();
    WriteFile("device.ini", c.ini);
    if (c.dll != nullptr && c.to != nullptr)
      fs::rename(PathOf("Windows") / c.dll, PathOf("Windows") / c.to);
    if (c.dll != nullptr && c.to == nullptr) fs::remove(PathOf("Windows") / c.dll);
    LoadedDriver list[kMaxLoadedDrivers];
    UInt32 count = 99;
    EXPECT_EQ(Load()->ListLoadedDrivers(list, c.capacity, &count), c.result);
    std::vector<std::string> listed(count);
    for (UInt32 i = 0; i < count; ++i) {
      sim::Utf16ToUtf8(
          std::u16string(list[i].legacyName) + u"|" + list[i].deviceKey + u"|" + list[i].deviceName,
          &listed[i]);
    }
    EXPECT_EQ(listed, c.listed);
  }
}

TEST_F(LoadTest, DebugLinesAreAppendedAsUtf8) {
  auto os = Load();
  os->DebugPrintf(u"Korva_HWSetupDlg: EEPROM[0x%X] = 0x%X\r\n", 0x1F);
  os->DebugPrintf(u"打开Flash设备失败！\r\n", 0);
  os->SignalStarted(90);
  EXPECT_EQ(ReadFile("debug.log"),
            "Korva_HWSetupDlg: EEPROM[0x1F] = 0x1F\r\n"
            "\xE6\x89\x93\xE5\xBC\x80"
            "Flash"
            "\xE8\xAE\xBE\xE5\xA4\x87\xE5\xA4\xB1\xE8\xB4\xA5"
            "\xEF\xBC\x81\r\n"
            "SignalStarted(90)\r\n");
}

TEST(FindTerminalFolderTest, TheEnvironmentWinsWhenSet) {
  struct Case {
    const char* environment;  // null: unset
    const char* exeDir;
    const char* expected;
  };
  const Case cases[] = {
      {"/srv/t1", "/opt/hw", "/srv/t1"},
      {"", "/opt/hw", "/opt/hw/terminal"},
      {nullptr, "/opt/hw", "/opt/hw/terminal"},
      {nullptr, "/opt/hw/", "/opt/hw/terminal"},
      {nullptr, "Z:\\work\\sim", "Z:\\work\\sim\\terminal"},  // one kind of slash
  };
  for (const Case& c : cases) {
    if (c.environment != nullptr) {
      setenv("HWSETUP_TERMINAL", c.environment, 1);
    } else {
      unsetenv("HWSETUP_TERMINAL");
    }
    EXPECT_EQ(FindTerminalFolder(c.exeDir), c.expected)
        << (c.environment ? c.environment : "(unset)") << ", " << c.exeDir;
  }
  unsetenv("HWSETUP_TERMINAL");
}

}  // namespace
}  // namespace hw::simtest
