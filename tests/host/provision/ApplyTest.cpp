// Apply on a simulated terminal made by scripts/new-terminal, checked against
// the terminal's files and the result lines.
#include <gtest/gtest.h>

#include "FakeProgramIo.h"
#include "TerminalFixture.h"

namespace hw::simtest {
namespace {

using test::CrlfLines;
using test::FakeProgramIo;
using Lines = std::vector<std::string>;

const char kAllNine[] =
    "; every module, as a factory line sets them\n[modules]\n"
    "keypad = Simple\nfingerprint = EM02\n3G = SIMCOM_CDMA2K\nLF = 0x01\n"
    "handle key = multi message\nBluetooth = 46LCS3\nWiFi = muRate 8XQF\n"
    "serial chip = 74HC4052\npower chip = None\n";

// A result line of one item: module, button and code, outcome.
std::string Item(const std::string& module, const std::string& button, const std::string& outcome) {
  std::string line = module + std::string(13 - module.size(), ' ') + button;
  return line + std::string(37 - line.size(), ' ') + outcome;
}

// The lines of the registry file's section for `key`, header excluded.
std::string Section(const std::string& registry, const std::string& key) {
  const std::size_t header = registry.find("[HKEY_LOCAL_MACHINE\\" + key + "]");
  EXPECT_NE(header, std::string::npos) << key;
  const std::size_t start = registry.find('\n', header) + 1;
  return registry.substr(start, registry.find("\n[", start) - start);
}

const char kUsb[] = "Drivers\\BuiltIn\\HCD_HSH1";
const char kCard4319[] = "Drivers\\SDCARD\\ClientDrivers\\Custom\\MANF-02D0-CARDID-4319-FUNC-1";
const char kCard4329[] = "Drivers\\SDCARD\\ClientDrivers\\Custom\\MANF-02D0-CARDID-4329-FUNC-1";

// What scripts/new-terminal names the terminal, and the simulator's default id.
const char kIdentity[] = "terminal: HT-CE6 0123456789ABCDEF";

class ApplyTest : public TerminalTest {
 protected:
  // Runs HWProvision on the terminal with the profile as p.ini.
  // Every output begins with the terminal's identity: checked here, and
  // taken off so that the cases read the command's own lines.
  int Run(std::vector<std::u16string> arguments, const std::string& profile = "") {
    io_.files[u"p.ini"] = profile;
    io_.console.clear();
    auto os = Load();
    const int exit = os ? test::RunProgram(std::move(arguments), os.get(), io_) : -1;
    EXPECT_EQ(io_.console.at(0), kIdentity);
    io_.console.erase(io_.console.begin());
    return exit;
  }
  std::uint8_t Cell(std::size_t address) const {
    return static_cast<std::uint8_t>(ReadFile("eeprom.bin").at(address));
  }
  FakeProgramIo io_;
};

TEST_F(ApplyTest, AProfileOfAllNineModulesIsPressedAndReadBack) {
  ASSERT_EQ(Run({u"apply", u"p.ini", u"--out", u"r.txt"}, kAllNine), 0);
  const Lines expected = {Item("keypad", "Simple (0x32)", "applied"),
                          Item("fingerprint", "EM02 (0x01)", "applied"),
                          Item("3G", "SIMCOM_CDMA2K (0x12)", "applied"),
                          Item("LF", "Inside (0x01)", "applied"),
                          Item("handle key", "Multi Message (0x01)", "applied"),
                          Item("Bluetooth", "46LCS3 (0x01)", "applied"),
                          Item("WiFi", "muRate 8XQF (0x10)", "applied"),
                          Item("serial chip", "74HC4052 (0x01)", "applied"),
                          Item("power chip", "None (0x00)", "applied"),
                          "result: 9 applied, 0 unchanged, 0 FAILED (exit 0)"};
  EXPECT_EQ(io_.console, expected);
  Lines file = {kIdentity};
  file.insert(file.end(), expected.begin(), expected.end());
  EXPECT_EQ(CrlfLines(io_.files[u"r.txt"]), file);

  const struct {
    std::size_t address;
    std::uint8_t code;
  } cells[] = {{0x69, 0x32}, {0x81, 0x01}, {0x91, 0x12}, {0x99, 0x01}, {0xA1, 0x01},
               {0x19, 0x01}, {0x11, 0x10}, {0xB1, 0x01}, {0xA9, 0x00}};
  for (const auto& cell : cells) EXPECT_EQ(Cell(cell.address), cell.code) << cell.address;
  const std::string registry = ReadFile("registry.reg");
  EXPECT_NE(Section(registry, kUsb).find("\"Dll\"=\"hcd_hsh1.dll\""), std::string::npos);
  for (const char* card : {kCard4319, kCard4329}) {
    const std::string section = Section(registry, card);
    for (const char* value :
         {"\"Dll\"=\"GarnetSDN.dll\"", "\"Prefix\"=\"NDL\"",
          "\"Instance0\"=\"GarnetSDN:GarnetSDN1\"", "\"Instance1\"=\"GarnetSDN:GarnetSDN1\""}) {
      EXPECT_NE(section.find(value), std::string::npos) << card << " " << value;
    }
  }
  EXPECT_EQ(ReadFile("Flash Disk/PSconfig.psr"), ReadFile("Windows/PSconfig1.psr"));
  // Each press traces its refresh, in page order, as the dialog's buttons do.
  const std::string trace = ReadFile("debug.log");
  const char* const inOrder[] = {
      "KeyPad Type: 0x32", "FingerPrint Type: 0x01", "3G Type: 0x12",
      "LF Type: 0x01",     "HandleKey Type: 0x01",   "BT Type: 0x01",
      "WiFi Type: 0x10",   "Serial Chip Type: 0x01", "Power Chip Type: 0x00"};
  std::size_t at = 0;
  for (const char* line : inOrder) {
    at = trace.find(line, at);
    EXPECT_NE(at, std::string::npos) << line << " missing or out of order in\n" << trace;
  }
  EXPECT_EQ(Count(trace, "\r\n"), 18u) << "two lines a press";

  ASSERT_EQ(Run({u"report"}), 0);
  // What runs is information beside it: the drivers from the boot before.
  EXPECT_EQ(io_.console.back().rfind("result: consistent", 0), 0u) << io_.console.back();
}

TEST_F(ApplyTest, AFailing3GWriteLeavesTheRegistryAndFailsTheItemAlone) {
  WriteFile("device.ini", "[EOM1]\nfail_write = 0x91\n");
  const std::string registry = ReadFile("registry.reg");
  EXPECT_EQ(Run({u"apply", u"p.ini"}, "[modules]\n3G = None\nkeypad = Turkey\n"), 1);
  EXPECT_EQ(io_.console,
            (Lines{Item("keypad", "Turkey (0x33)", "applied"),
                   Item("3G", "None (0xFF)",
                        "FAILED: HCD_HSH1 Dll is \"hcd_hsh1.dll\", wants \"xxx\"; HCD_HSH1 IsrDll "
                        "is \"giisr.dll\", wants \"xxx\"; nothing was changed"),
                   "result: 1 applied, 0 unchanged, 1 FAILED (exit 1)"}));
  EXPECT_EQ(ReadFile("registry.reg"), registry);
  EXPECT_EQ(Cell(0x69), 0x33);
  EXPECT_NE(ReadFile("debug.log")
                .find("Korva_HWSetupDlg: DeviceIoControl() Failed 001!\r\n"
                      "Korva_HWSetupDlg: 3G main version: 0xFF \r\n"),
            std::string::npos);

  ASSERT_EQ(Run({u"apply", u"p.ini"}, "[modules]\n3G = SIMCOM_WCDMA\n"), 1);
  EXPECT_EQ(io_.console[0], Item("3G", "SIMCOM_WCDMA (0x11)",
                                 "FAILED: cell 0x91 holds 0xFF, wants 0x11; nothing was changed"));
}

TEST_F(ApplyTest, AMissingBluetoothSourceFailsWithTheDialogsMessage) {
  std::filesystem::remove(PathOf("Windows/PSconfig1.psr"));
  EXPECT_EQ(Run({u"apply", u"p.ini"}, "[modules]\nBluetooth = 46LCS3\n"), 1);
  EXPECT_EQ(io_.console[0],
            Item("Bluetooth", "46LCS3 (0x01)",
                 "FAILED: the press showed \"Setup Failed!\"; "
                 "\\Windows\\PSconfig1.psr is missing; the cell was written (0x01)"));
  EXPECT_EQ(Cell(0x19), 0x01) << "the cell is written before the install, as in the dialog";
  EXPECT_FALSE(std::filesystem::exists(PathOf("Flash Disk/PSconfig.psr")));
}

TEST_F(ApplyTest, ADeniedCardKeyFailsWhatItDenies) {
  WriteFile("device.ini", std::string("[registry]\ndeny = ") + kCard4329 + "\n");
  EXPECT_EQ(Run({u"apply", u"p.ini"}, "[modules]\nWiFi = muRate 8XQF\n"), 1);
  EXPECT_EQ(io_.console[0],
            Item("WiFi", "muRate 8XQF (0x10)",
                 "FAILED: card 4329 key: access denied; the cell was written (0x10); 4 of the 8 "
                 "driver values were set for muRate 8XQF"));
  const std::string registry = ReadFile("registry.reg");
  EXPECT_NE(Section(registry, kCard4319).find("\"Dll\"=\"GarnetSDN.dll\""), std::string::npos);
  EXPECT_NE(Section(registry, kCard4329).find("\"Dll\"=\"sdcsd40n.dll\""), std::string::npos);
  EXPECT_EQ(Cell(0x11), 0x10);
}

TEST_F(ApplyTest, AProfileJustSavedAppliesUnchanged) {
  ASSERT_EQ(Run({u"apply", u"p.ini"}, kAllNine), 0);
  ASSERT_EQ(Run({u"save", u"saved.ini"}), 0);
  const std::string files[] = {"eeprom.bin", "registry.reg", "Flash Disk/PSconfig.psr",
                               "debug.log"};
  std::vector<std::string> before;
  for (const auto& file : files) before.push_back(ReadFile(file));

  io_.files[u"p.ini"] = io_.files[u"saved.ini"];
  ASSERT_EQ(Run({u"apply", u"p.ini"}, io_.files[u"saved.ini"]), 0);
  ASSERT_EQ(io_.console.size(), 10u);
  for (std::size_t i = 0; i < 9; ++i) {
    EXPECT_EQ(io_.console[i].substr(37), "unchanged") << io_.console[i];
  }
  EXPECT_EQ(io_.console[9], "result: 0 applied, 9 unchanged, 0 FAILED (exit 0)");
  for (std::size_t i = 0; i < before.size(); ++i)
    EXPECT_EQ(ReadFile(files[i]), before[i]) << files[i];
}

TEST_F(ApplyTest, ADryRunSaysWhatWouldChangeAndChangesNothing) {
  const std::vector<std::string> listing = Listing();
  const std::string eeprom = ReadFile("eeprom.bin");
  const std::string registry = ReadFile("registry.reg");
  ASSERT_EQ(Run({u"apply", u"p.ini", u"--dry-run"},
                "[modules]\nkeypad = All Func\n3G = 0x11\nBluetooth = 2to1\nWiFi = 0x10\n"),
            0);
  EXPECT_EQ(
      io_.console,
      (Lines{Item("keypad", "All Func (0xFF)", "unchanged"),
             Item("3G", "SIMCOM_WCDMA (0x11)", "would apply: cell 0x91 holds 0xFF, wants 0x11"),
             Item("Bluetooth", "2to1 (0xFF)",
                  "would apply: \\Flash Disk\\PSconfig.psr is missing, wants a copy of "
                  "\\Windows\\PSconfig.psr"),
             Item("WiFi", "muRate 8XQF (0x10)",
                  "would apply: cell 0x11 holds 0xFF, wants 0x10; card 4319 holds the USI "
                  "SD40 set, wants muRate 8XQF; card 4329 holds the USI SD40 set, wants "
                  "muRate 8XQF"),
             "result: 3 would apply, 1 unchanged (dry run: nothing was changed) (exit 0)"}));
  EXPECT_EQ(Listing(), listing) << "no debug.log, no flash file";
  EXPECT_EQ(ReadFile("eeprom.bin"), eeprom);
  EXPECT_EQ(ReadFile("registry.reg"), registry);
}

// A press keeps its button's order: whatever part of it failed, the FAILED
// line says what it changed all the same. A dry run foretells the failures it
// can see, exits as the apply would and writes nothing.
TEST_F(ApplyTest, FailuresSayWhatChangedAnywayAndADryRunForetellsThem) {
  const struct {
    const char* faults;
    const char* profile;
    bool dryRun;
    const char* line;
  } cases[] = {
      {"[EOM1]\nfail_write = 0x11\n", "[modules]\nWiFi = muRate 8XQF\n", false,
       "FAILED: cell 0x11 holds 0xFF, wants 0x10; the driver values were set for muRate 8XQF"},
      {"[registry]\ndeny = Drivers\\BuiltIn\\HCD_HSH1\n", "[modules]\n3G = SIMCOM_WCDMA\n", false,
       "FAILED: HCD_HSH1 key: access denied; the cell was written (0x11)"},
      {"[registry]\ndeny = Drivers\\BuiltIn\\HCD_HSH1\n", "[modules]\n3G = SIMCOM_WCDMA\n", true,
       "would fail: HCD_HSH1 key: access denied"},
      {"[EOM1]\nfail_read = 0x11\n", "[modules]\nWiFi = muRate 8XQF\n", true,
       "would fail: cell 0x11 cannot be read"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    TearDown();
    SetUp();
    WriteFile("device.ini", c.faults);
    const std::string registry = ReadFile("registry.reg");
    const std::string eeprom = ReadFile("eeprom.bin");
    std::vector<std::u16string> arguments = {u"apply", u"p.ini"};
    if (c.dryRun) arguments.push_back(u"--dry-run");
    EXPECT_EQ(Run(arguments, c.profile), 1);
    ASSERT_EQ(io_.console.size(), 2u);
    EXPECT_EQ(io_.console[0].substr(37), c.line);
    if (!c.dryRun) continue;
    EXPECT_EQ(io_.console[1],
              "result: 0 would apply, 0 unchanged, 1 would fail (dry run: nothing was changed) "
              "(exit 1)");
    EXPECT_EQ(ReadFile("registry.reg"), registry);
    EXPECT_EQ(ReadFile("eeprom.bin"), eeprom);
  }
}

TEST_F(ApplyTest, AFreshTerminalsReportShowsTheFactoryImageDisagreeing) {
  EXPECT_EQ(Run({u"report"}), 4);
  ASSERT_EQ(io_.console.size(), 12u) << "with a driver line for 3G and WiFi";
  EXPECT_NE(io_.console[2].find("| INCONSISTENT: HCD_HSH1 Dll is \"hcd_hsh1.dll\", wants \"xxx\""),
            std::string::npos)
      << io_.console[2];
  EXPECT_NE(io_.console[6].find("| INCONSISTENT: \\Flash Disk\\PSconfig.psr is missing"),
            std::string::npos)
      << io_.console[6];
  EXPECT_NE(io_.console[7].find("| not managed"), std::string::npos) << io_.console[7];
  EXPECT_EQ(io_.console[11], "result: 2 INCONSISTENT (exit 4)");
}

}  // namespace
}  // namespace hw::simtest
