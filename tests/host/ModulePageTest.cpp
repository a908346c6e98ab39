#include "setup/ModulePage.h"

#include <gtest/gtest.h>

#include "RecordingPlatform.h"
#include "RecordingView.h"
#include "setup/RegistryProvisioning.h"
#include "setup/SelectionTable.h"

namespace hw {
namespace {

using test::RecordingPlatform;
using test::RecordingView;
using Calls = std::vector<std::string>;

Calls ReadAddresses(const RecordingPlatform& os) {
  Calls out;
  for (const std::string& c : os.CallsNamed("DeviceIoControl")) {
    if (c.find(", 2, [") != std::string::npos) out.push_back(c.substr(c.find('[') + 1, 4));
  }
  return out;
}

TEST(ModulePage, InitialiseRefreshesThePageCellsInOrder) {
  const struct {
    Page page;
    Calls addresses;
  } cases[] = {{Page::kPage1, {"0x69", "0x81", "0x91", "0x99", "0xA1"}},
               {Page::kPage2, {"0x19", "0x11", "0xB1", "0xA9"}}};
  for (const auto& c : cases) {
    RecordingPlatform os;
    os.eeprom.fill(0xFF);
    RecordingView view(os.calls);
    ModulePage page(os, c.page, view);
    EXPECT_TRUE(page.Initialise());
    EXPECT_TRUE(page.IsOpen());
    EXPECT_EQ(ReadAddresses(os), c.addresses);
    EXPECT_EQ(os.debugLines.size(), 2 * c.addresses.size());
  }
}

TEST(ModulePage, ShowsFreshTerminalLabels) {
  RecordingPlatform os;
  os.eeprom.fill(0xFF);
  RecordingView view(os.calls);
  ModulePage page(os, Page::kPage2, view);
  ASSERT_TRUE(page.Initialise());
  EXPECT_EQ(view.label(1011).text, "muRata 2To1");
  EXPECT_EQ(view.label(1019).text, "muRata 2To1");
  EXPECT_EQ(view.label(1023).text, "VK3224");
  EXPECT_EQ(view.label(1026).text, "BQ27510");
}

TEST(ModulePage, OpenFailureTracesShowsTheBoxAndReadsNothing) {
  RecordingPlatform os;
  os.deviceOpens = false;
  RecordingView view(os.calls);
  ModulePage page(os, Page::kPage1, view);
  EXPECT_FALSE(page.Initialise());
  EXPECT_EQ(os.calls, (Calls{"CreateFile(\"EOM1:\", 0xC0000000, 0x3, null, 3, 0x0, 0)",
                             "DebugPrintf(\"Korva_HWSetupDlg: CreateFile(EOM1) Failed!\r\n\")",
                             "MessageBox(\"打开Flash设备失败！\", app name)"}));
  os.calls.clear();
  for (const SelectionAction& row : kSelectionTable) {
    if (row.page == Page::kPage1) {
      EXPECT_TRUE(page.Click(row.control));
    }
  }
  EXPECT_TRUE(os.calls.empty()) << "a button of a page without a device did something";
}

TEST(ModulePage, EveryReadFailingLeavesTheLabelsAndTracesEachCell) {
  RecordingPlatform os;
  for (int a = 0; a < 256; ++a) os.failRead.insert(static_cast<std::uint8_t>(a));
  RecordingView view(os.calls);
  ModulePage page(os, Page::kPage1, view);
  EXPECT_TRUE(page.Initialise());
  EXPECT_EQ(os.debugLines,
            Calls(5, "Korva_HWSetupDlg: DeviceIoControl(EOM1, EEPROM_READ) Failed!\r\n"));
  for (int id : {1000, 1007, 1010, 1013, 1018}) EXPECT_EQ(view.label(id).text, "Unknown");
}

TEST(ModulePage, ClickRunsThePageRowForThatControl) {
  RecordingPlatform os;
  os.eeprom.fill(0xFF);
  os.keys[kUsbHostDriverKey] = {};
  RecordingView view(os.calls);
  ModulePage one(os, Page::kPage1, view);
  ASSERT_TRUE(one.Initialise());

  // 1012 is the hidden HUAWEI_WCDMA button: reachable only by its notification.
  EXPECT_TRUE(one.Click(1012));
  EXPECT_EQ(os.eeprom[0x91], 0x01);
  EXPECT_EQ(view.label(1010).text, "Huawei WCDMA");
  EXPECT_EQ(os.keys[kUsbHostDriverKey][u"Dll"], u"hcd_hsh1.dll");

  // The same id means the Bluetooth "None" button on page two, and nothing on page one's labels.
  EXPECT_FALSE(one.Click(1010));
  EXPECT_FALSE(one.Click(1)) << "IDOK is not a selection";
}

}  // namespace
}  // namespace hw
