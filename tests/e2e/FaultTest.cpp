// Faults of the terminal, set through device.ini and its files: a device that
// does not open, reads and writes that fail, installs that cannot be done.
#include <functional>

#include "Config.h"
#include "E2eCase.h"
#include "WindowQuery.h"
#include "WineTrace.h"

namespace e2e {
namespace {

class Fault : public E2eCase {
 protected:
  // One "打开Flash设备失败！" box per page, in page order, each shown after its
  // page's trace line; then the main window with its two tabs and no page.
  void ExpectBothPagesFailToOpen(const std::function<std::vector<std::string>()>& trace) {
    for (int number : {1, 2}) {
      SCOPED_TRACE("page " + std::to_string(number));
      HWND box =
          Tool().WaitMessageBox(E2E_HERE, "the open failure box of page " + std::to_string(number));
      ASSERT_NE(nullptr, box);
      const MessageBoxView view = ViewOf(box);
      EXPECT_EQ(kOpenFailedCaption, view.caption);
      EXPECT_EQ(kOpenFailedText, view.text);
      EXPECT_EQ(std::vector<int>{IDOK}, view.visibleButtons);
      EXPECT_FALSE(view.hasIcon);
      EXPECT_EQ(number, PageNumberOf(view.owner)) << "the box is owned by the page that failed";
      ExpectLines(E2E_HERE, "trace while the box is up",
                  std::vector<std::string>(static_cast<std::size_t>(number), kOpenFailedLine),
                  trace());
      Tool().PressOk(E2E_HERE, box);
    }
    ASSERT_NE(nullptr, Tool().WaitMainWindowShown(E2E_HERE));
    EXPECT_EQ(nullptr, Tool().Page(1));
    EXPECT_EQ(nullptr, Tool().Page(2));
    EXPECT_EQ((std::vector<std::string>{"Page1", "Page2"}),
              TabItemTexts(Tool().Process(), Tool().Tab()));
    for (int tab : {1, 0}) {
      Tool().SelectTab(E2E_HERE, tab);
      EXPECT_EQ(std::vector<HWND>{Tool().FindMainWindow()}, VisibleWindows()) << "tab " << tab;
    }
    ExpectNoMessageBox(E2E_HERE);
    ExpectLines(E2E_HERE, "trace", {kOpenFailedLine, kOpenFailedLine}, trace());
  }

  std::vector<HWND> VisibleWindows() {
    std::vector<HWND> visible;
    for (HWND window : Tool().Windows()) {
      if (IsWindowVisible(window)) visible.push_back(window);
    }
    return visible;
  }

  void ExpectAllLabelsUnknown(const Where& where) {
    for (const CellEntry& cell : Cells()) {
      std::string label = ItemText(Tool().Page(cell.page), cell.labelId);
      if (label != "Unknown") E2E_FAIL_AT(where) << cell.module << " label: \"" << label << "\"";
    }
  }
};

const std::vector<std::uint8_t> kKnownCodes = EepromImage({{0x69, 0x32},
                                                           {0x81, 0x01},
                                                           {0x91, 0x11},
                                                           {0x99, 0x01},
                                                           {0xA1, 0x01},
                                                           {0x19, 0x00},
                                                           {0x11, 0xFF},
                                                           {0xB1, 0x01},
                                                           {0xA9, 0x00}});

TEST_F(Fault, NoEepromFailsBothPages) {
  Terminal().Remove("eeprom.bin");
  const std::string registry = Terminal().Read("registry.reg");
  Launch(E2E_HERE);
  ExpectBothPagesFailToOpen([this] { return Terminal().DebugLog(); });
  EXPECT_FALSE(Terminal().Exists("eeprom.bin"));
  EXPECT_EQ(registry, Terminal().Read("registry.reg"));
}

// Under Wine "EOM1:" names no device, so the device flavour meets the same
// fault; its trace is Wine's log of OutputDebugString.
TEST_F(Fault, DeviceFlavourOnWineFailsBothPages) {
  WineTrace stderrLog(TheConfig().wineStderr);
  Launch(E2E_HERE, Flavour::kDevice, "warn+seh");
  ASSERT_TRUE(Tool().Started());
  const DWORD thread = Tool().MainThreadId();
  ExpectBothPagesFailToOpen([&] { return stderrLog.LinesOf(thread); });
}

TEST_F(Fault, SecondOpenRefusedFailsPageTwoOnly) {
  Terminal().SetEeprom(kKnownCodes);
  Terminal().WriteDeviceIni("[EOM1]\nmax_opens = 1\n");
  Launch(E2E_HERE);
  HWND box = Tool().WaitMessageBox(E2E_HERE, "the open failure box of page two");
  ASSERT_NE(nullptr, box);
  EXPECT_EQ(2, PageNumberOf(ViewOf(box).owner));
  EXPECT_EQ(kOpenFailedText, ViewOf(box).text);
  std::vector<std::string> expected = StartLines(kKnownCodes);
  expected.resize(10);  // page one's five cells
  expected.push_back(kOpenFailedLine);
  ExpectLines(E2E_HERE, "trace while the box is up", expected, Terminal().DebugLog());
  Tool().PressOk(E2E_HERE, box);
  ASSERT_NE(nullptr, Tool().WaitMainWindowShown(E2E_HERE));
  HWND page1 = Tool().Page(1);
  ASSERT_NE(nullptr, page1);
  EXPECT_EQ(nullptr, Tool().Page(2));
  for (const CellEntry& cell : Cells()) {
    if (cell.page == 1) {
      EXPECT_EQ(LabelOf(cell, kKnownCodes[cell.address]), ItemText(page1, cell.labelId));
    }
  }
  Tool().SelectTab(E2E_HERE, 1);
  EXPECT_EQ(std::vector<HWND>{Tool().FindMainWindow()}, VisibleWindows()) << "Page2 shows no page";
  Tool().SelectTab(E2E_HERE, 0);
  EXPECT_TRUE(IsWindowVisible(page1));
  ExpectLines(E2E_HERE, "trace", expected, Terminal().DebugLog());
}

TEST_F(Fault, EveryReadFailing) {
  Terminal().SetEeprom(kKnownCodes);
  Terminal().WriteDeviceIni("[EOM1]\nfail_read = all\n");
  Start(E2E_HERE);
  ExpectAllLabelsUnknown(E2E_HERE);
  ExpectLines(E2E_HERE, "trace", std::vector<std::string>(9, kReadFailedLine),
              Terminal().DebugLog());
}

TEST_F(Fault, SomeReadsFailingInRefreshOrder) {
  Terminal().SetEeprom(kKnownCodes);
  Terminal().WriteDeviceIni("[EOM1]\nfail_read = 0x81, 0x11\n");
  Start(E2E_HERE);
  std::vector<std::string> expected;
  for (const CellEntry& cell : Cells()) {
    const bool fails = cell.address == 0x81 || cell.address == 0x11;
    std::string label = fails ? "Unknown" : LabelOf(cell, kKnownCodes[cell.address]);
    EXPECT_EQ(label, ItemText(Tool().Page(cell.page), cell.labelId)) << cell.module;
    if (fails) {
      expected.push_back(kReadFailedLine);
    } else {
      for (const std::string& line : RefreshLines(cell, kKnownCodes[cell.address]))
        expected.push_back(line);
    }
  }
  ExpectLines(E2E_HERE, "trace", expected, Terminal().DebugLog());
}

TEST_F(Fault, NullHandleCountsAsOpen) {
  Terminal().SetEeprom(kKnownCodes);
  Terminal().WriteDeviceIni("[EOM1]\nnull_handle = yes\n");
  Start(E2E_HERE);
  ExpectNoMessageBox(E2E_HERE);
  ExpectLabels(E2E_HERE, kKnownCodes);
  ExpectLines(E2E_HERE, "trace", StartLines(kKnownCodes), Terminal().DebugLog());
  ExpectLines(E2E_HERE, "trace of \"Turkey\"", RefreshLines(CellAt(0x69), 0x33),
              Press(E2E_HERE, Tool().Page(1), 1003, 2));
}

}  // namespace
}  // namespace e2e
