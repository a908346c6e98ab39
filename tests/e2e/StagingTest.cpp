// HWProvision tapped on a storage card: the simulator flavour started with no
// arguments from a folder of its own, its message box read and closed from
// outside, and the files it leaves beside itself.
#include <fstream>
#include <iterator>
#include <regex>

#include "Config.h"
#include "E2eCase.h"
#include "Text.h"
#include "WindowQuery.h"

namespace e2e {
namespace {

constexpr char kIdentity[] = "terminal: HT-CE6 0123456789ABCDEF";
constexpr char kLogHeader[] =
    "local time,id,name,command,profile,applied,would apply,unchanged,restored,consistent,"
    "inconsistent,unreadable,failed,not permanent,exit";

enum class Icon { kNone, kInformation, kWarning };

struct Tapped {
  MessageBoxView view;
  Icon icon = Icon::kNone;
  std::optional<DWORD> exit;
};

// Which of the two icons the box shows, told by its pixels on the screen:
// the information icon is blue, the warning icon yellow. Waits for the box
// to be painted.
Icon IconOf(HWND box) {
  HWND icon = nullptr;
  for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if (ClassOf(child) == "Static" && (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
      icon = child;
    }
  }
  if (icon == nullptr) return Icon::kNone;
  Icon seen = Icon::kNone;
  PollUntil(
      [&] {
        const RECT rect = WindowRect(icon);
        HDC screen = GetDC(nullptr);
        int blue = 0;
        int yellow = 0;
        for (LONG y = rect.top; y < rect.bottom; ++y) {
          for (LONG x = rect.left; x < rect.right; ++x) {
            const COLORREF c = GetPixel(screen, x, y);
            const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
            blue += b > 150 && r < 100;
            yellow += r > 180 && g > 150 && b < 100;
          }
        }
        ReleaseDC(nullptr, screen);
        seen = blue > 30 && yellow == 0   ? Icon::kInformation
               : yellow > 30 && blue == 0 ? Icon::kWarning
                                          : Icon::kNone;
        return seen != Icon::kNone;
      },
      kStepTimeout);
  return seen;
}

std::vector<std::string> FileLines(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  std::vector<std::string> lines;
  for (std::string line : SplitLines(text)) {
    if (line.size() < 2 || line.compare(line.size() - 2, 2, "\r\n") != 0) {
      lines.push_back("(no CRLF) " + line);
      continue;
    }
    lines.push_back(line.substr(0, line.size() - 2));
  }
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

  std::string BoxText(const std::string& middle) const {
    return std::string(kIdentity) + "\n" + middle + "\n\nEvery line is in " +
           Utf8((card_ / L"HWProvision.txt").wstring());
  }

  // The log's lines with their local time checked and taken off.
  std::vector<std::string> LogLines(const Where& where) const {
    std::vector<std::string> lines = FileLines(card_ / L"HWProvision.log");
    const std::regex time(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d,)");
    for (std::size_t i = 1; i < lines.size(); ++i) {
      std::smatch match;
      if (!std::regex_search(lines[i], match, time) || match.position(0) != 0) {
        E2E_FAIL_AT(where) << "log line " << i + 1 << " does not start with its time: " << lines[i];
        continue;
      }
      lines[i].erase(0, match.length(0));
    }
    return lines;
  }

  std::filesystem::path card_;
};

TEST_F(Staging, WithoutAProfileReportsAndWithOneAppliesIt) {
  Tapped report = Tap(E2E_HERE);
  EXPECT_EQ(report.exit, 4u);
  EXPECT_EQ(report.view.caption, "HWProvision");
  EXPECT_EQ(report.view.text, BoxText("result: 2 INCONSISTENT (exit 4)"));
  EXPECT_EQ(report.view.visibleButtons, std::vector<int>{IDOK});
  EXPECT_EQ(report.icon, Icon::kWarning);
  std::vector<std::string> result = FileLines(card_ / L"HWProvision.txt");
  ASSERT_EQ(result.size(), 11u);
  EXPECT_EQ(result.front(), kIdentity);
  EXPECT_EQ(result.back(), "result: 2 INCONSISTENT (exit 4)");
  EXPECT_EQ(Terminal().Eeprom(), EepromImage({})) << "a report writes nothing";

  std::ofstream(card_ / L"HWProvision.ini", std::ios::binary)
      << "[modules]\r\nfingerprint = EM02\r\n3G = SIMCOM_WCDMA\r\nBluetooth = 2to1\r\n"
         "WiFi = muRate 8XQF\r\n";
  Tapped apply = Tap(E2E_HERE);
  EXPECT_EQ(apply.exit, 0u);
  EXPECT_EQ(apply.view.text, BoxText("result: 4 applied, 0 unchanged, 0 FAILED (exit 0)"));
  EXPECT_EQ(apply.icon, Icon::kInformation);
  result = FileLines(card_ / L"HWProvision.txt");
  ASSERT_EQ(result.size(), 6u) << "the result file is made afresh";
  EXPECT_EQ(result.front(), kIdentity);
  EXPECT_EQ(result.back(), "result: 4 applied, 0 unchanged, 0 FAILED (exit 0)");
  ExpectEeprom(E2E_HERE, EepromImage({{0x81, 0x01}, {0x91, 0x11}, {0x11, 0x10}}),
               Terminal().Eeprom());

  ExpectLines(E2E_HERE, "HWProvision.log",
              {kLogHeader, "0123456789ABCDEF,HT-CE6,report,,,,,,,2,0,,,4",
               "0123456789ABCDEF,HT-CE6,apply,HWProvision.ini,4,,0,,,,,0,0,0"},
              LogLines(E2E_HERE));
  EXPECT_FALSE(std::filesystem::exists(CaseDir() / L"HWProvision.txt"))
      << "the files go beside the program, not into its current folder";
}

}  // namespace
}  // namespace e2e
