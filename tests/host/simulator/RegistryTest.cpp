#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>

#include "TerminalFixture.h"
#include "platform/simulator/TextCodec.h"

namespace hw::simtest {
namespace {

constexpr char16_t kHcdKey[] = u"Drivers\\BuiltIn\\HCD_HSH1";
constexpr char16_t kCard4319[] =
    u"Drivers\\SDCARD\\ClientDrivers\\Custom\\MANF-02D0-CARDID-4319-FUNC-1";
constexpr std::uint32_t kKeyRead = 0x20019;

std::string Utf16LeWithBom(const std::string& utf8) {
  std::u16string units;
  EXPECT_TRUE(sim::Utf8ToUtf16(utf8, &units));
  std::string bytes = "\xFF\xFE";
  for (char16_t u : units) bytes += {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
  return bytes;
}

using RegistryTest = TerminalTest;

TEST_F(RegistryTest, OpensExistingKeysInAnyCase) {
  auto os = Load();
  for (const char16_t* key : {kHcdKey, u"drivers\\builtin\\hcd_hsh1", u"Drivers\\BuiltIn"}) {
    RegKey handle = 0;
    ASSERT_EQ(os->RegOpenKeyEx(kHkeyLocalMachine, key, 0, kKeyAllAccess, &handle), 0);
    EXPECT_NE(handle, 0);
    EXPECT_EQ(os->RegCloseKey(handle), 0);
    EXPECT_NE(os->RegCloseKey(handle), 0) << "closed twice";
  }
}

TEST_F(RegistryTest, AnAbsentKeyIsNotFoundAndNotCreated) {
  const std::string before = ReadFile("registry.reg");
  auto os = Load();
  RegKey handle = 0;
  EXPECT_EQ(
      os->RegOpenKeyEx(kHkeyLocalMachine, u"Drivers\\BuiltIn\\HCD_HSH2", 0, kKeyAllAccess, &handle),
      kErrorFileNotFound);
  EXPECT_EQ(SetString(*os, u"Drivers\\Nowhere", u"Dll", u"x"), kErrorFileNotFound);
  EXPECT_EQ(ReadFile("registry.reg"), before);
}

TEST_F(RegistryTest, OnlyHkeyLocalMachineIsARoot) {
  auto os = Load();
  RegKey handle = 0;
  const RegKey hkeyCurrentUser = static_cast<RegKey>(static_cast<std::int32_t>(0x80000001u));
  EXPECT_NE(os->RegOpenKeyEx(hkeyCurrentUser, kHcdKey, 0, kKeyAllAccess, &handle), 0);
}

TEST_F(RegistryTest, DenyRefusesTheListedKeysOnly) {
  struct Case {
    const char* deny;
    const char16_t* key;
    long expected;
  };
  const Case cases[] = {
      {"Drivers\\BuiltIn\\HCD_HSH1", kHcdKey, kErrorAccessDenied},
      {"drivers\\builtin\\hcd_hsh1", kHcdKey, kErrorAccessDenied},
      {"HKEY_LOCAL_MACHINE\\Drivers\\BuiltIn\\HCD_HSH1", kHcdKey, kErrorAccessDenied},
      {"Ident, Drivers\\BuiltIn\\HCD_HSH1", kHcdKey, kErrorAccessDenied},
      {"Ident Drivers\\BuiltIn\\HCD_HSH1", u"Ident", kErrorAccessDenied},
      {"Drivers\\BuiltIn", kHcdKey, kErrorSuccess},
      {"Drivers\\BuiltIn\\HCD_HSH1", kCard4319, kErrorSuccess},
      {"\"Drivers\\My Key\"", kHcdKey, kErrorSuccess},
  };
  for (const Case& c : cases) {
    WriteFile("device.ini", std::string("[registry]\ndeny = ") + c.deny + "\n");
    auto os = Load();
    ASSERT_NE(os, nullptr) << c.deny;
    RegKey handle = 0;
    EXPECT_EQ(os->RegOpenKeyEx(kHkeyLocalMachine, c.key, 0, kKeyAllAccess, &handle), c.expected)
        << "deny = " << c.deny;
  }
}

TEST_F(RegistryTest, SettingAValueRewritesOnlyItsLine) {
  const std::string before = ReadFile("registry.reg");
  auto os = Load();
  ASSERT_EQ(SetString(*os, kHcdKey, u"dll", u"xxx"), 0);
  ASSERT_EQ(os->RegFlushKey(kHkeyLocalMachine), 0);  // as each press ends
  EXPECT_EQ(ReadFile("registry.reg"),
            ReplacedAfter(before, "HCD_HSH1]", "\"Dll\"=\"hcd_hsh1.dll\"", "\"Dll\"=\"xxx\""));
}

TEST_F(RegistryTest, ANewValueGoesAtTheEndOfItsKeysSection) {
  const std::string before = ReadFile("registry.reg");
  auto os = Load();
  ASSERT_EQ(SetString(*os, kCard4319, u"Path", u"C:\\a \"b\""), 0);
  ASSERT_EQ(os->RegFlushKey(kHkeyLocalMachine), 0);  // as each press ends
  const std::string last = "\"MemoryWindowSize\"=dword:00008000\r\n";
  EXPECT_EQ(ReadFile("registry.reg"), ReplacedAfter(before, "4319-FUNC-1]", last,
                                                    last + "\"Path\"=\"C:\\\\a \\\"b\\\"\"\r\n"));
}

TEST_F(RegistryTest, AUtf16FileIsWrittenBackAsUtf16) {
  const std::string text = std::string(kRegHeader) +
                           "\r\n[HKEY_LOCAL_MACHINE\\Drivers\\BuiltIn\\HCD_HSH1]\r\n"
                           "\"Dll\"=\"hcd_hsh1.dll\"\r\n\"Name\"=\"终端 ✓\"\r\n";
  WriteFile("registry.reg", Utf16LeWithBom(text));
  auto os = Load();
  ASSERT_EQ(SetString(*os, kHcdKey, u"Dll", u"模块.dll"), 0);
  ASSERT_EQ(os->RegFlushKey(kHkeyLocalMachine), 0);  // as each press ends
  EXPECT_EQ(ReadFile("registry.reg"),
            Utf16LeWithBom(ReplacedAfter(text, "HCD", "hcd_hsh1.dll", "模块.dll")));
}

TEST_F(RegistryTest, AUtf8BomStaysAtTheStart) {
  const std::string text = std::string(kRegHeader) + "[HKEY_LOCAL_MACHINE\\A]\n\"x\"=\"1\"";
  WriteFile("registry.reg", "\xEF\xBB\xBF" + text);
  auto os = Load();
  ASSERT_EQ(SetString(*os, u"A", u"y", u"2"), 0);
  ASSERT_EQ(os->RegFlushKey(kHkeyLocalMachine), 0);  // as each press ends
  EXPECT_EQ(ReadFile("registry.reg"), "\xEF\xBB\xBF" + text + "\n\"y\"=\"2\"")
      << "the new line joins the file's own endings and it still ends without one";
}

TEST_F(RegistryTest, TheFileIsReplacedWholeAndNoTemporaryFileStays) {
  const std::vector<std::string> files = Listing();
  const std::string before = ReadFile("registry.reg");
  std::ifstream reader(PathOf("registry.reg"), std::ios::binary);  // opened before the set
  auto os = Load();
  ASSERT_EQ(SetString(*os, kHcdKey, u"IsrDll", u"xxx"), 0);
  ASSERT_EQ(os->RegFlushKey(kHkeyLocalMachine), 0);  // as each press ends
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(reader), std::istreambuf_iterator<char>()),
            before)
      << "a reader of the old file sees all of it";
  EXPECT_NE(ReadFile("registry.reg"), before);
  ASSERT_EQ(os->RegFlushKey(kHkeyLocalMachine), 0);
  EXPECT_EQ(Listing(), files);
}

TEST_F(RegistryTest, AFileSpoiledWhileRunningIsRefusedAndLeftAlone) {
  auto os = Load();
  RegKey handle = 0;
  ASSERT_EQ(os->RegOpenKeyEx(kHkeyLocalMachine, kHcdKey, 0, kKeyAllAccess, &handle), 0);
  const std::string spoiled = ReadFile("registry.reg") + "not a registry line\r\n";
  WriteFile("registry.reg", spoiled);
  const std::u16string text = u"xxx";
  testing::internal::CaptureStderr();
  EXPECT_NE(os->RegSetValueEx(handle, u"Dll", 0, kRegSz,
                              reinterpret_cast<const std::uint8_t*>(text.c_str()), 8),
            0);
  EXPECT_NE(SetString(*os, kHcdKey, u"Dll", u"xxx"), 0);
  const std::string report = testing::internal::GetCapturedStderr();
  EXPECT_EQ(ReadFile("registry.reg"), spoiled);
  const std::string line = std::to_string(Count(spoiled, "\n"));
  EXPECT_NE(report.find("registry.reg:" + line + ": "), std::string::npos) << report;
  EXPECT_NE(ReadFile("debug.log").find("registry.reg:" + line + ": "), std::string::npos);
}

TEST_F(RegistryTest, AKeyOpenedForReadingCannotBeSet) {
  const std::string before = ReadFile("registry.reg");
  auto os = Load();
  EXPECT_EQ(SetString(*os, kHcdKey, u"Dll", u"xxx", kKeyRead), kErrorAccessDenied);
  EXPECT_EQ(ReadFile("registry.reg"), before);
}

TEST_F(RegistryTest, KeyAndFileHandlesAreNotInterchangeable) {
  auto os = Load();
  RegKey key = 0;
  ASSERT_EQ(os->RegOpenKeyEx(kHkeyLocalMachine, kHcdKey, 0, kKeyAllAccess, &key), 0);
  const Handle file = OpenForRead(*os, u"\\Windows\\PSconfig.psr");
  EXPECT_EQ(os->CloseHandle(key), 0);
  EXPECT_NE(os->RegCloseKey(file), 0);
  EXPECT_NE(os->RegCloseKey(0x7777), 0) << "a key never given out";
  EXPECT_EQ(os->RegCloseKey(key), 0);
  EXPECT_EQ(os->CloseHandle(file), 1);
}

// What one query answered: its status, type, size and the data it stored.
struct Queried {
  long status = -1;
  std::uint32_t type = 0;
  std::uint32_t bytes = 0;
  std::vector<std::uint8_t> data;
};

Queried Query(Platform& os, const char16_t* key, const char16_t* name, std::uint32_t room,
              bool withData = true) {
  RegKey handle = 0;
  Queried q;
  q.status = os.RegOpenKeyEx(kHkeyLocalMachine, key, 0, kKeyQueryValue, &handle);
  if (q.status != kErrorSuccess) return q;
  std::vector<std::uint8_t> buffer(room, 0xEE);
  q.bytes = room;
  q.status = os.RegQueryValueEx(handle, name, nullptr, &q.type,
                                withData ? buffer.data() : nullptr, &q.bytes);
  if (withData) q.data.assign(buffer.begin(), buffer.begin() + std::min(room, q.bytes));
  EXPECT_EQ(os.RegCloseKey(handle), 0);
  return q;
}

std::vector<std::uint8_t> Utf16Bytes(const std::u16string& text) {
  std::vector<std::uint8_t> bytes;
  for (char16_t unit : text) {
    bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
  }
  bytes.push_back(0);
  bytes.push_back(0);
  return bytes;
}

TEST_F(RegistryTest, QueryAnswersAsWin32Does) {
  const struct {
    const char* what;
    const char16_t* name;
    std::uint32_t room;
    bool withData;
    long status;
    std::uint32_t type;
    std::uint32_t bytes;
    std::vector<std::uint8_t> data;
  } cases[] = {
      {"a string with its terminator", u"Dll", 64, true, kErrorSuccess, kRegSz, 26,
       Utf16Bytes(u"hcd_hsh1.dll")},
      {"names compare without case", u"ISRDLL", 64, true, kErrorSuccess, kRegSz, 20,
       Utf16Bytes(u"giisr.dll")},
      {"exactly room enough", u"Dll", 26, true, kErrorSuccess, kRegSz, 26,
       Utf16Bytes(u"hcd_hsh1.dll")},
      {"a buffer too small", u"Dll", 25, true, kErrorMoreData, kRegSz, 26, {}},
      {"the size alone", u"Dll", 0, false, kErrorSuccess, kRegSz, 26, {}},
      {"a dword", u"Order", 64, true, kErrorSuccess, 4, 4, {0x32, 0, 0, 0}},
      {"no such value", u"Path", 64, true, kErrorFileNotFound, 0, 64, {}},
  };
  auto os = Load();
  for (const auto& c : cases) {
    const Queried q = Query(*os, kHcdKey, c.name, c.room, c.withData);
    EXPECT_EQ(q.status, c.status) << c.what;
    EXPECT_EQ(q.type, c.type) << c.what;
    EXPECT_EQ(q.bytes, c.bytes) << c.what;
    if (c.status == kErrorSuccess && c.withData) {
      EXPECT_EQ(q.data, c.data) << c.what;
    }
    if (c.status == kErrorMoreData) {
      EXPECT_EQ(q.data, std::vector<std::uint8_t>(25, 0xEE)) << c.what << ": nothing stored";
    }
  }
}

TEST_F(RegistryTest, QueryReadsWhatASetWroteAndTextBeyondAscii) {
  WriteFile("registry.reg", Utf16LeWithBom(std::string(kRegHeader) +
                                           "[HKEY_LOCAL_MACHINE\\Drivers\\BuiltIn\\HCD_HSH1]\r\n"
                                           "\"Name\"=\"终端 ✓\"\r\n"));
  auto os = Load();
  EXPECT_EQ(Query(*os, kHcdKey, u"Name", 64).data, Utf16Bytes(u"终端 ✓"));
  ASSERT_EQ(SetString(*os, kHcdKey, u"Dll", u"xxx"), 0);
  ASSERT_EQ(os->RegFlushKey(kHkeyLocalMachine), 0);  // as each press ends
  EXPECT_EQ(Query(*os, kHcdKey, u"Dll", 64).data, Utf16Bytes(u"xxx"));
  EXPECT_EQ(Query(*Load(), kHcdKey, u"dll", 64).data, Utf16Bytes(u"xxx")) << "from the file";
}

TEST_F(RegistryTest, QueryNeedsAnOpenKey) {
  auto os = Load();
  RegKey handle = 0;
  ASSERT_EQ(os->RegOpenKeyEx(kHkeyLocalMachine, kHcdKey, 0, kKeyQueryValue, &handle), 0);
  ASSERT_EQ(os->RegCloseKey(handle), 0);
  std::uint8_t data[64];
  std::uint32_t bytes = sizeof data;
  EXPECT_NE(os->RegQueryValueEx(handle, u"Dll", nullptr, nullptr, data, &bytes), kErrorSuccess);
  EXPECT_EQ(Query(*os, u"Drivers\\BuiltIn\\HCD_HSH2", u"Dll", 64).status, kErrorFileNotFound);
  WriteFile("device.ini", "[registry]\ndeny = Drivers\\BuiltIn\\HCD_HSH1\n");
  EXPECT_EQ(Query(*Load(), kHcdKey, u"Dll", 64).status, kErrorAccessDenied);
}

}  // namespace
}  // namespace hw::simtest
