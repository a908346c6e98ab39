// A terminal's life across boots: presses in HWSetup, a cold boot by
// scripts/cold-boot, then HWProvision's report and sync --restart on what the
// boot left, with the registry kept by a hive and by a RAM registry.
#include <fstream>
#include <iterator>

#include "Config.h"
#include "E2eCase.h"
#include "Text.h"

namespace e2e {
namespace {

constexpr int kWifi8Xqf = 1022;  // page 2
constexpr int k3GNone = 1011;    // page 1

class BootStory : public E2eCase {
 protected:
  // Presses 3G "None" and WiFi "muRate 8XQF" in HWSetup: both differ from
  // what the factory registry holds.
  void PressWifiAnd3G(const Where& where) {
    Start(where);
    Tool().SelectTab(where, 1);
    Press(where, Tool().Page(2), kWifi8Xqf, 2);
    Tool().SelectTab(where, 0);
    Press(where, Tool().Page(1), k3GNone, 2);
    Close(where);
  }

  // scripts/cold-boot, a host program. Wine starts it, but gives no process
  // to wait for: the shell leaves the script's exit status in a file when done.
  void ColdBoot(const Where& where) {
    const std::filesystem::path done = CaseDir() / L"cold-boot.status";
    std::filesystem::remove(done);
    std::wstring command = Wide(
        "/bin/sh -c \"'" + UnixPath(TheConfig().coldBoot) + "' '" + UnixPath(Terminal().Root()) +
        "' >'" + UnixPath(CaseDir() / L"cold-boot.txt") + "' 2>&1; echo $? >'" + UnixPath(done) +
        ".part' && mv '" + UnixPath(done) + ".part' '" + UnixPath(done) + "'\"");
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(L"/bin/sh", command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
      E2E_FAIL_AT(where) << "cannot start scripts/cold-boot: error " << GetLastError();
      return;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (!PollUntil([&] { return std::filesystem::exists(done); }, kStepTimeout)) {
      E2E_FAIL_AT(where) << "scripts/cold-boot did not end";
      return;
    }
    std::ifstream status(done);
    int code = -1;
    status >> code;
    if (code != 0) E2E_FAIL_AT(where) << "scripts/cold-boot exited " << code;
  }

  // HWProvision of the simulator flavour on the case's terminal; its result
  // lines come back through --out.
  std::optional<DWORD> Provision(const Where& where, const std::wstring& arguments,
                                 std::vector<std::string>* lines) {
    const std::filesystem::path out = CaseDir() / L"result.txt";
    std::filesystem::remove(out);
    LaunchOptions options;
    options.exe = TheConfig().simulatorExe.parent_path() / L"HWProvision.exe";
    options.workDir = CaseDir();
    options.terminal = Terminal().Root();
    options.arguments = arguments + L" --out \"" + out.wstring() + L"\"";
    ToolProcess program(where, options);
    const std::optional<DWORD> exit = program.WaitExit(where);
    lines->clear();
    std::ifstream file(out, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    for (std::string line : SplitLines(text)) {
      while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
      lines->push_back(line);
    }
    return exit;
  }

  // The verdict of a module's line: what follows its last "| ".
  static std::string Verdict(const std::vector<std::string>& lines, const std::string& module) {
    for (const std::string& line : lines) {
      if (line.compare(0, module.size() + 1, module + " ") == 0) {
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

TEST_F(BootStory, ARamRegistryLosesThePressesAndSyncRestoresThemWithOneRestart) {
  Terminal().WriteDeviceIni("[registry]\npersistence = ram\n");
  PressWifiAnd3G(E2E_HERE);
  const std::string pressed = Terminal().Read("registry.reg");
  EXPECT_NE(pressed.find("\"Dll\"=\"GarnetSDN.dll\""), std::string::npos);
  ColdBoot(E2E_HERE);
  ASSERT_EQ(Terminal().Read("registry.reg"), Terminal().Read("registry.factory.reg"))
      << Terminal().Read("cold-boot.txt");

  std::vector<std::string> lines;
  EXPECT_EQ(Provision(E2E_HERE, L"report", &lines), 4u);
  EXPECT_EQ(Verdict(lines, "3G").rfind("INCONSISTENT: ", 0), 0u) << Verdict(lines, "3G");
  EXPECT_EQ(Verdict(lines, "WiFi"),
            "INCONSISTENT: card 4319 holds the USI SD40 set, wants muRate 8XQF; card 4329 holds "
            "the USI SD40 set, wants muRate 8XQF");

  EXPECT_EQ(Provision(E2E_HERE, L"sync --restart", &lines), 0u) << "the reset ends it so";
  const std::string notPermanent = "; not made permanent: RegFlushKey failed with error 50";
  EXPECT_EQ(Verdict(lines, "3G"), "restored" + notPermanent);
  EXPECT_EQ(Verdict(lines, "WiFi"), "restored" + notPermanent);
  EXPECT_EQ(Verdict(lines, "Bluetooth"), "restored");
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(),
            "result: 3 restored, 0 consistent, 0 FAILED, 2 not made permanent (exit 0)");
  EXPECT_EQ(Restarts(), 1u);
  EXPECT_TRUE(Terminal().Exists("Flash Disk/HWProvision.restart"));

  // The warm reset kept the RAM registry: the drivers load the restored values.
  EXPECT_EQ(Provision(E2E_HERE, L"report", &lines), 0u);
  EXPECT_EQ(lines.back(), "result: consistent (exit 0)");
  EXPECT_EQ(Provision(E2E_HERE, L"sync --restart", &lines), 0u);
  EXPECT_EQ(lines.back(), "result: 0 restored, 3 consistent, 0 FAILED (exit 0)");
  EXPECT_EQ(Restarts(), 1u);
  EXPECT_FALSE(Terminal().Exists("Flash Disk/HWProvision.restart"));
}

TEST_F(BootStory, AHiveKeepsThePressesThroughAColdBoot) {
  PressWifiAnd3G(E2E_HERE);
  EXPECT_FALSE(Terminal().Exists("registry.hive.reg")) << "each press flushed its values";
  const std::string pressed = Terminal().Read("registry.reg");
  ColdBoot(E2E_HERE);
  EXPECT_EQ(Terminal().Read("registry.reg"), pressed) << Terminal().Read("cold-boot.txt");

  std::vector<std::string> lines;
  Provision(E2E_HERE, L"report", &lines);
  EXPECT_EQ(Verdict(lines, "3G"), "consistent");
  EXPECT_EQ(Verdict(lines, "WiFi"), "consistent");
}

}  // namespace
}  // namespace e2e
