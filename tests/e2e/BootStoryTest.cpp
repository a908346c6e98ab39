// A terminal's life across boots: presses in HWSetup, then scripts/boot --cold,
// which cold-boots the terminal and runs its image's start-up (the boot
// shortcut's sync --restart) at every boot until one asks for no reset, with
// the registry kept by a hive and by a RAM registry.
#include <algorithm>
#include <fstream>
#include <iterator>

#include "Config.h"
#include "E2eCase.h"
#include "Text.h"

namespace e2e {
namespace {

constexpr int kWifi8Xqf = 1022;       // page 2
constexpr int kBluetooth2To1 = 1009;  // page 2
constexpr int k3GNone = 1011;         // page 1

class BootStory : public E2eCase {
 protected:
  // Presses WiFi "muRate 8XQF", Bluetooth "2to1" and 3G "None" in HWSetup:
  // the WiFi and 3G values differ from what the factory registry holds.
  void PressWifiBluetoothAnd3G(const Where& where) {
    Start(where);
    Tool().SelectTab(where, 1);
    Press(where, Tool().Page(2), kWifi8Xqf, 2);
    Press(where, Tool().Page(2), kBluetooth2To1, 2);
    Tool().SelectTab(where, 0);
    Press(where, Tool().Page(1), k3GNone, 2);
    Close(where);
  }

  // scripts/boot DIR --cold, a host program beside scripts/cold-boot, on the
  // simulator flavour under test. Wine starts it but gives no process to wait
  // for: the shell leaves the exit status in a file when done. Its lines, and
  // the exit code (-1 when it did not end).
  int BootCold(const Where& where, std::vector<std::string>* lines) {
    const std::filesystem::path done = CaseDir() / L"boot.status";
    const std::filesystem::path out = CaseDir() / L"boot.txt";
    std::filesystem::remove(done);
    const std::string tree = UnixPath(TheConfig().simulatorExe.parent_path().parent_path());
    std::wstring command = Wide("/bin/sh -c \"HWSETUP_BUILD_TREE='" + tree + "' '" +
                                UnixPath(TheConfig().coldBoot.parent_path() / L"boot") + "' '" +
                                UnixPath(Terminal().Root()) + "' --cold >'" + UnixPath(out) +
                                "' 2>&1; echo $? >'" + UnixPath(done) + ".part' && mv '" +
                                UnixPath(done) + ".part' '" + UnixPath(done) + "'\"");
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(L"/bin/sh", command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
      E2E_FAIL_AT(where) << "cannot start scripts/boot: error " << GetLastError();
      return -1;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (!PollUntil([&] { return std::filesystem::exists(done); }, 6 * kStartTimeout)) {
      E2E_FAIL_AT(where) << "scripts/boot did not end";
      return -1;
    }
    std::ifstream file(out, std::ios::binary);
    lines->clear();
    for (std::string line : SplitLines(
             std::string{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()})) {
      while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
      lines->push_back(line);
    }
    int code = -1;
    std::ifstream(done) >> code;
    return code;
  }

  // The verdict of a module's line of boot N: what follows the last "| " of
  // the Nth line that starts with the module's name.
  static std::string Verdict(const std::vector<std::string>& lines, const std::string& module,
                             int boot) {
    for (const std::string& line : lines) {
      if (line.compare(0, module.size() + 1, module + " ") == 0 && --boot == 0) {
        return line.substr(line.rfind("| ") + 2);
      }
    }
    return "(no line for " + module + ")";
  }

  std::size_t Restarts() { return SplitLines(Terminal().Read("restarts.log")).size(); }

  static std::string UnixPath(const std::filesystem::path& path) {
    std::string text = Utf8(path.wstring());
    if (text.size() > 1 && text[1] == ':') text.erase(0, 2);
    for (char& c : text) {
      if (c == '\\') c = '/';
    }
    return text;
  }
};

TEST_F(BootStory, ARamRegistryLosesThePressesAndTheBootRestoresThemWithOneRestart) {
  Terminal().WriteDeviceIni("[registry]\npersistence = ram\n");
  PressWifiBluetoothAnd3G(E2E_HERE);
  const std::string pressed = Terminal().Read("registry.reg");
  EXPECT_NE(pressed.find("\"Dll\"=\"GarnetSDN.dll\""), std::string::npos);

  std::vector<std::string> lines;
  EXPECT_EQ(BootCold(E2E_HERE, &lines), 0);
  ASSERT_FALSE(lines.empty());
  const std::string notPermanent = "; not made permanent: RegFlushKey failed with error 50";
  EXPECT_EQ(Verdict(lines, "3G", 1), "restored" + notPermanent);
  EXPECT_EQ(Verdict(lines, "WiFi", 1), "restored" + notPermanent);
  EXPECT_EQ(Verdict(lines, "Bluetooth", 1), "consistent") << "flash kept the file";
  EXPECT_EQ(Verdict(lines, "WiFi", 2), "consistent") << "the warm reset kept the RAM registry";
  EXPECT_EQ(lines.back(), "boots: 2, warm resets: 1, settled");
  EXPECT_EQ(Restarts(), 1u);
  EXPECT_EQ(Terminal().Read("registry.reg"), pressed);
  const std::string boot = Terminal().Read("Flash Disk/HWProvision-boot.txt");
  EXPECT_NE(boot.find("result: 0 restored, 3 consistent, 0 FAILED (exit 0)"), std::string::npos)
      << "the shortcut's --out, a terminal path, holds the last boot's result";
  EXPECT_FALSE(Terminal().Exists("Flash Disk/HWProvision.restart"))
      << "the settled boot removed it";
}

TEST_F(BootStory, AHiveKeepsThePressesThroughAColdBoot) {
  PressWifiBluetoothAnd3G(E2E_HERE);
  EXPECT_FALSE(Terminal().Exists("registry.hive.reg")) << "each press flushed its values";
  const std::string pressed = Terminal().Read("registry.reg");

  std::vector<std::string> lines;
  EXPECT_EQ(BootCold(E2E_HERE, &lines), 0);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(Verdict(lines, "3G", 1), "consistent");
  EXPECT_EQ(Verdict(lines, "WiFi", 1), "consistent");
  EXPECT_EQ(lines.back(), "boots: 1, warm resets: 0, settled");
  EXPECT_EQ(Terminal().Read("registry.reg"), pressed);
  EXPECT_EQ(Restarts(), 0u);
}

// A fresh terminal with a file removed (back after the boot) or written and
// its device.ini, booted with scripts/boot --cold: a line the boot says, its
// summary, and a line of the terminal's debug log.
struct BootRow {
  const char* name;
  const char* removed;
  const char* written;
  const char* bytes;
  const char* said;
  const char* summary;
  const char* deviceIni = "";
  const char* logged = "";
  int wifiCell = 0xFF;  // the EEPROM's WiFi cell
};

// An image that puts the USB host driver's values back at every boot, while
// the blank EEPROM says "no 3G": a restore that never survives its restart.
constexpr char kStubbornImage[] =
    "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Drivers\\BuiltIn\\HCD_HSH1]\r\n"
    "\"Dll\"=\"hcd_hsh1.dll\"\r\n\"IsrDll\"=\"giisr.dll\"\r\n";

const BootRow kBootRows[] = {
    {"TheDatPutsBackADeletedShortcut", "Windows/Startup/HWProvision-boot.lnk", "", "",
     "the image's .dat made \\Windows\\Startup\\HWProvision-boot.lnk",
     "boots: 2, warm resets: 1, settled"},
    {"AShortCountRunsItsFirstCharacters", "", "Windows/Startup/Z.lnk", "14#\\Windows\\Foo.exe",
     "boot 2: \\Windows\\Foo.e is not in the simulator", "boots: 2, warm resets: 1, settled"},
    {"ALateResetWithAStubbornImageNeverRestartsTwoBootsInARow", "", "old-3g.reg", kStubbornImage,
     "no restart: the terminal restarted for these values at", "boots: 2, warm resets: 1, settled",
     "[power]\nreset = late\nlongest_sleep_ms = 100\n[boot]\nmerge = old-3g.reg\n"},
    {"StartedFromInitItSignalsAndSyncs", "", "Windows/Startup/A-Init.lnk",
     "27#\\Windows\\HWProvision.exe 90", "restart: the terminal restarts now",
     "boots: 2, warm resets: 1, settled", "", "SignalStarted(90)"},
    {"TheSecondWifiCardRunsTheSetItsCellCallsForAfterOneRestart", "", "", "",
     "driver: NDL1: loaded from card 4319's key | matches", "boots: 2, warm resets: 1, settled",
     "[sdio]\ncard = 4319\n", "", 0x10},
};

class BootStories : public BootStory, public testing::WithParamInterface<BootRow> {};

TEST_P(BootStories, BootAsTheImageDoes) {
  const BootRow& row = GetParam();
  if (*row.deviceIni) Terminal().WriteDeviceIni(row.deviceIni);
  Terminal().SetCell(0x11, static_cast<std::uint8_t>(row.wifiCell));
  if (*row.removed) Terminal().Remove(row.removed);
  if (*row.written) Terminal().Write(row.written, row.bytes);
  std::vector<std::string> lines;
  EXPECT_EQ(BootCold(E2E_HERE, &lines), 0);
  ASSERT_FALSE(lines.empty());
  EXPECT_TRUE(std::any_of(
      lines.begin(), lines.end(),
      [&](const std::string& line) { return line.find(row.said) != std::string::npos; }))
      << "no line says: " << row.said;
  EXPECT_EQ(lines.back(), row.summary);
  EXPECT_TRUE(!*row.removed || Terminal().Exists(row.removed)) << "the cold boot put it back";
  EXPECT_NE(Terminal().Read("debug.log").find(row.logged), std::string::npos) << row.logged;
}

INSTANTIATE_TEST_SUITE_P(Rows, BootStories, testing::ValuesIn(kBootRows),
                         [](const testing::TestParamInfo<BootRow>& row) {
                           return std::string(row.param.name);
                         });

}  // namespace
}  // namespace e2e
