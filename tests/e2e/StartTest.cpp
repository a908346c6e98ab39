// The tool's start on a working terminal: the tabbed main window, both pages
// with their controls and rectangles, the nine labels and the start trace.
#include <windows.h>
// After <windows.h>, which it needs.
#include <commctrl.h>

#include "E2eCase.h"
#include "Text.h"
#include "WindowQuery.h"

namespace e2e {
namespace {

class Startup : public E2eCase {};

TEST_F(Startup, ShowsPageOneOverTheTabAndHidesPageTwo) {
  const std::vector<std::uint8_t> eeprom = Terminal().Eeprom();
  const std::string registry = Terminal().Read("registry.reg");
  ASSERT_EQ(256u, eeprom.size()) << "the template's eeprom.bin";
  Start(E2E_HERE);
  HWND main = Tool().FindMainWindow();
  ASSERT_NE(nullptr, main);
  HWND tab = Tool().Tab();
  ASSERT_NE(nullptr, tab) << "main window control 1008";
  EXPECT_EQ("SysTabControl32", ClassOf(tab));
  EXPECT_EQ((std::vector<std::string>{"Page1", "Page2"}), TabItemTexts(Tool().Process(), tab));
  EXPECT_EQ(0, SendMessageW(tab, TCM_GETCURSEL, 0, 0));

  const RECT mainClient = ClientRect(main);
  const RECT tabClient = ClientRect(tab);
  EXPECT_EQ(mainClient.right, tabClient.right) << "the tab control fills the main window";
  EXPECT_EQ(mainClient.bottom, tabClient.bottom) << "the tab control fills the main window";

  // Both pages stand on the screen at the tab's client rectangle moved by
  // (5, 49) at the top left and by 24 at the bottom, as popups do.
  const RECT expected{tabClient.left + 5, tabClient.top + 49, tabClient.right,
                      tabClient.bottom + 24};
  for (int number : {1, 2}) {
    SCOPED_TRACE("page " + std::to_string(number));
    HWND page = Tool().Page(number);
    ASSERT_NE(nullptr, page);
    const LONG style = GetWindowLongW(page, GWL_STYLE);
    EXPECT_NE(0, style & WS_POPUP);
    EXPECT_EQ(0, style & WS_CHILD);
    EXPECT_EQ(0, style & WS_CAPTION);
    EXPECT_EQ(main, GetWindow(page, GW_OWNER)) << "a popup made with the tab as parent is owned by "
                                                  "the tab's top-level window";
    EXPECT_TRUE(InFrontOf(page, main)) << "an owned popup stands in front of its owner";
    EXPECT_TRUE(SameRect(expected, WindowRect(page)))
        << "tab client " << Describe(tabClient) << ": expected " << Describe(expected)
        << ", actual " << Describe(WindowRect(page));
  }
  EXPECT_TRUE(IsWindowVisible(Tool().Page(1)));
  EXPECT_FALSE(IsWindowVisible(Tool().Page(2)));

  for (const ButtonRow& button : Buttons()) {
    SCOPED_TRACE("page " + std::to_string(button.page) + " button " + std::to_string(button.id));
    HWND control = GetDlgItem(Tool().Page(button.page), button.id);
    ASSERT_NE(nullptr, control);
    EXPECT_EQ("Button", ClassOf(control));
    EXPECT_EQ(button.caption, TextOf(control));
    EXPECT_EQ(button.visible, (GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE) != 0);
  }

  ExpectLabels(E2E_HERE, eeprom);
  ExpectLines(E2E_HERE, "debug.log lines", StartLines(eeprom), Terminal().DebugLog());
  ExpectNoMessageBox(E2E_HERE);
  ExpectEeprom(E2E_HERE, eeprom, Terminal().Eeprom());  // a start only reads the cells
  EXPECT_EQ(registry, Terminal().Read("registry.reg")) << "a start writes no registry value";
  EXPECT_FALSE(Terminal().Exists(kInstalledFile));
}

// EEPROM images whose cells hold other codes, known and unknown. The bytes
// around the cells hold values the neighbouring reads would show differently.
struct Image {
  const char* name;
  std::vector<std::uint8_t> bytes;
};

void PrintTo(const Image& image, std::ostream* out) {
  *out << image.name;
}

std::vector<std::uint8_t> WithNoise(std::vector<std::uint8_t> image) {
  for (int address = 0; address < 256; ++address) {
    bool cell = false;
    for (const CellEntry& entry : Cells()) cell = cell || entry.address == address;
    if (!cell) {
      image[static_cast<std::size_t>(address)] = static_cast<std::uint8_t>(address * 7 + 3);
    }
  }
  return image;
}

const Image kImages[] = {
    {"FirstCodes", WithNoise(EepromImage({{0x69, 0x32},
                                          {0x81, 0x01},
                                          {0x91, 0x01},
                                          {0x99, 0x01},
                                          {0xA1, 0x01},
                                          {0x19, 0x01},
                                          {0x11, 0x10},
                                          {0xB1, 0x01},
                                          {0xA9, 0x00}}))},
    {"OtherCodes", WithNoise(EepromImage({{0x69, 0x33},
                                          {0x81, 0xFF},
                                          {0x91, 0x11},
                                          {0x99, 0xFF},
                                          {0xA1, 0xFF},
                                          {0x19, 0x00},
                                          {0x11, 0x01},
                                          {0xB1, 0xFF},
                                          {0xA9, 0xFF}}))},
    {"ZeroAndUnknown", WithNoise(EepromImage({{0x69, 0x00},
                                              {0x81, 0x00},
                                              {0x91, 0x12},
                                              {0x99, 0x00},
                                              {0xA1, 0x05},
                                              {0x19, 0x10},
                                              {0x11, 0x00},
                                              {0xB1, 0x00},
                                              {0xA9, 0x01}}))},
};

class StartFrom : public E2eCase, public testing::WithParamInterface<Image> {};

TEST_P(StartFrom, ShowsWhatTheCellsHold) {
  const std::vector<std::uint8_t>& image = GetParam().bytes;
  Terminal().SetEeprom(image);
  Start(E2E_HERE);
  ExpectLabels(E2E_HERE, image);
  ExpectLines(E2E_HERE, "debug.log lines", StartLines(image), Terminal().DebugLog());
  ExpectEeprom(E2E_HERE, image, Terminal().Eeprom());
}

std::string ImageName(const testing::TestParamInfo<Image>& image) {
  return image.param.name;
}

INSTANTIATE_TEST_SUITE_P(Images, StartFrom, testing::ValuesIn(kImages), ImageName);

}  // namespace
}  // namespace e2e
