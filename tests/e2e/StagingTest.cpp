// HWProvision tapped on a storage card: the simulator flavour started with no
// arguments from a folder of its own, its message box read and closed from
// outside, and the files it leaves beside itself for two terminals.
#include <fstream>
#include <regex>

#include "Config.h"
#include "E2eCase.h"
#include "Text.h"
#include "WindowQuery.h"

namespace e2e {
namespace {

constexpr char kLogHeader[] =
    "local time,id,name,command,profile,applied,would apply,unchanged,restored,consistent,"
    "inconsistent,unreadable,failed,not permanent,exit,problems,drivers";

struct Tapped {
  MessageBoxView view;
  std::string icon;
  std::optional<DWORD> exit;
};

// Which icon the box shows, told by its pixels on the screen once painted:
// the information icon is blue, the warning icon yellow.
std::string IconOf(HWND box) {
  HWND icon = GetWindow(box, GW_CHILD);
  while (icon != nullptr && (GetWindowLongW(icon, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) {
    icon = GetWindow(icon, GW_HWNDNEXT);
  }
  std::string seen;
  PollUntil(
      [&] {
        const RECT rect = WindowRect(icon);
        HDC screen = GetDC(nullptr);
        int blue = 0, yellow = 0;
        for (LONG y = rect.top; y < rect.bottom; ++y) {
          for (LONG x = rect.left; x < rect.right; ++x) {
            const COLORREF c = GetPixel(screen, x, y);
            blue += GetBValue(c) > 150 && GetRValue(c) < 100;
            yellow += GetRValue(c) > 180 && GetGValue(c) > 150 && GetBValue(c) < 100;
          }
        }
        ReleaseDC(nullptr, screen);
        seen = blue > 30 && yellow == 0 ? "information" : yellow > 30 && blue == 0 ? "warning" : "";
        return !seen.empty();
      },
      kStepTimeout);
  return seen;
}

// A file's lines without their CRLF.
std::vector<std::string> FileLines(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(file, line);)
    lines.push_back(line.substr(0, line.find('\r')));
  return lines;
}

class Staging : public E2eCase {
 protected:
  void SetUp() override {
    E2eCase::SetUp();
    card_ = CaseDir() / L"card";
    std::filesystem::create_directories(card_);
    std::filesystem::copy_file(TheConfig().simulatorExe.parent_path() / L"HWProvision.exe",
                               card_ / L"HWProvision.exe",
                               std::filesystem::copy_options::overwrite_existing);
  }

  // Starts the card's HWProvision.exe with no arguments, from another
  // folder, reads its box and presses OK.
  Tapped Tap(const Where& where) {
    LaunchOptions options;
    options.exe = card_ / L"HWProvision.exe";
    options.workDir = CaseDir();
    options.terminal = Terminal().Root();
    ToolProcess program(where, options);
    Tapped tapped;
    HWND box = program.WaitMessageBox(where, "the HWProvision box");
    if (box == nullptr) return tapped;
    tapped.view = ViewOf(box);
    tapped.icon = IconOf(box);
    program.PressOk(where, box);
    tapped.exit = program.WaitExit(where);
    return tapped;
  }

  // The box of the terminal `id`, which names the card's two result files.
  std::string BoxText(const std::string& middle, const std::string& id = "0123456789ABCDEF") const {
    return "terminal: HT-CE6 " + id + "\n" + middle + "\n\nEvery line is in HWProvision.txt and " +
           "HWProvision-" + id + ".txt, beside the program";
  }

  // The log's lines with each line's local time taken off.
  std::vector<std::string> LogLines() const {
    std::vector<std::string> lines = FileLines(card_ / L"HWProvision.log");
    const std::regex time(R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d,)");
    for (std::string& line : lines) line = std::regex_replace(line, time, "");
    return lines;
  }

  std::filesystem::path card_;
};

TEST_F(Staging, ReportsWithoutAProfileRefusesABadOneAndAppliesAGoodOne) {
  const Tapped report = Tap(E2E_HERE);
  EXPECT_EQ(report.exit, 4u);
  EXPECT_EQ(report.view.caption, "HWProvision");
  EXPECT_EQ(report.view.text,
            BoxText("no HWProvision.ini beside the program: report only\n"
                    "result: 2 INCONSISTENT (exit 4)\n3G: INCONSISTENT; Bluetooth: INCONSISTENT"));
  EXPECT_EQ(report.icon, "warning");
  EXPECT_EQ(FileLines(card_ / L"HWProvision.txt").size(), 14u)
      << "identity, why, 9 modules, 3G's and WiFi's drivers, result";
  EXPECT_EQ(Terminal().Eeprom(), EepromImage({})) << "a report writes nothing";

  std::ofstream(card_ / L"HWProvision.ini", std::ios::binary) << "[modules]\r\nWiFi = fast\r\n";
  const Tapped refused = Tap(E2E_HERE);
  EXPECT_EQ(refused.exit, 2u);
  EXPECT_EQ(refused.view.text,
            BoxText(Utf8((card_ / L"HWProvision.ini").wstring()) +
                    ":2: WiFi = \"fast\": no such button; WiFi takes muRate 2to1 (0xFF), USI SD40 "
                    "(0x01), None (0x00), muRate 8XQF (0x10)\nresult: profile refused, nothing "
                    "was changed (exit 2)"));
  EXPECT_EQ(refused.icon, "warning");

  std::ofstream(card_ / L"HWProvision.ini", std::ios::binary)
      << "[modules]\r\nfingerprint = EM02\r\n3G = SIMCOM_WCDMA\r\nBluetooth = 2to1\r\n"
         "WiFi = muRate 8XQF\r\n";
  const Tapped apply = Tap(E2E_HERE);
  EXPECT_EQ(apply.exit, 0u);
  EXPECT_EQ(apply.view.text, BoxText("result: 4 applied, 0 unchanged, 0 FAILED (exit 0)"));
  EXPECT_EQ(apply.icon, "information");
  EXPECT_EQ(FileLines(card_ / L"HWProvision.txt").size(), 6u) << "made afresh: 4 modules";
  ExpectEeprom(E2E_HERE, EepromImage({{0x81, 0x01}, {0x91, 0x11}, {0x11, 0x10}}),
               Terminal().Eeprom());

  // The next terminal at the line, whose WiFi cell cannot be written.
  RenewTerminal();
  Terminal().WriteDeviceIni("[terminal]\nid = 0017E3A900000412\n[EOM1]\nfail_write = 0x11\n");
  const Tapped failed = Tap(E2E_HERE);
  EXPECT_EQ(failed.exit, 1u);
  EXPECT_EQ(failed.view.text,
            BoxText("result: 3 applied, 0 unchanged, 1 FAILED (exit 1)\nWiFi: FAILED",
                    "0017E3A900000412"));
  EXPECT_EQ(FileLines(card_ / L"HWProvision-0123456789ABCDEF.txt").back(),
            "result: 4 applied, 0 unchanged, 0 FAILED (exit 0)")
      << "the first terminal's result stays";
  EXPECT_EQ(FileLines(card_ / L"HWProvision-0017E3A900000412.txt"),
            FileLines(card_ / L"HWProvision.txt"));
  ExpectLines(E2E_HERE, "HWProvision.log",
              {kLogHeader,
               "0123456789ABCDEF,HT-CE6,report,,,,,,,2,0,,,4,3G: INCONSISTENT; "
               "Bluetooth: INCONSISTENT,",
               "0123456789ABCDEF,HT-CE6,apply,HWProvision.ini,,,,,,,,,,2,profile refused: 1 "
               "error,",
               "0123456789ABCDEF,HT-CE6,apply,HWProvision.ini,4,,0,,,,,0,0,0,,",
               "0017E3A900000412,HT-CE6,apply,HWProvision.ini,3,,0,,,,,1,0,1,WiFi: FAILED,"},
              LogLines());
  EXPECT_FALSE(std::filesystem::exists(CaseDir() / L"HWProvision.txt"))
      << "the files go beside the program, not into its current folder";
}

}  // namespace
}  // namespace e2e
