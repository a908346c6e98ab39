#include <gtest/gtest.h>

#include <cstdio>
#include <map>

#include "RecordingPlatform.h"
#include "RecordingView.h"
#include "eeprom/RefreshCell.h"

namespace hw {
namespace {

using test::RecordingPlatform;
using test::RecordingView;
using Calls = std::vector<std::string>;

// The cell map as the terminal's hardware documentation gives it, written out
// independently of the catalogue under test.
struct Known {
  const char* label;
  const char* trace;  // after "Korva_HWSetupDlg: ", without "\r\n"
};
struct ExpectedCell {
  Module module;
  std::uint8_t address;
  Page page;
  int labelControl;
  const char* raw;  // before ": 0x"
  std::map<int, Known> known;
  const char* fallback;
};

const ExpectedCell kExpected[] = {
    {Module::kKeypad, 0x69, Page::kPage1, 1000, "Keypad main version",
     {{0x32, {"Simple", "KeyPad Type: 0x32 - Simple Keypad"}},
      {0x33, {"Turkey", "KeyPad Type: 0x33 - Turkey Keypad"}},
      {0xFF, {"All Func", "KeyPad Type: 0xFF - Full Function Keypad"}}},
     "KeyPad Type: Unknown"},
    {Module::kFingerprint, 0x81, Page::kPage1, 1007, "FingerPrint main version",
     {{0x01, {"EM02", "FingerPrint Type: 0x01 - EM02"}},
      {0xFF, {"None", "FingerPrint Type: 0xFF - No FingerPrint"}}},
     "FingerPrint Type: Unknown"},
    {Module::k3G, 0x91, Page::kPage1, 1010, "3G main version",
     {{0x01, {"Huawei WCDMA", "3G Type: 0x01 - HuaWei 3G"}},
      {0x11, {"SIMCOM WCDMA", "3G Type: 0x11 - SIMCOM WCDMA"}},
      {0x12, {"SIMCOM CDMA2000", "3G Type: 0x12 - SIMCOM CDMA2000"}},
      {0xFF, {"None", "3G Type: 0xFF - No 3G"}}},
     "3G Type: Unknown"},
    {Module::kLf, 0x99, Page::kPage1, 1013, "LF main version",
     {{0x01, {"Inside", "LF Type: 0x01 - Inside LF"}},
      {0xFF, {"Outside", "LF Type: 0xFF - OutSide LF"}}},
     "LF Type: Unknown"},
    {Module::kHandleKey, 0xA1, Page::kPage1, 1018, "HandleKeyType main version",
     {{0x01, {"Multi", "HandleKey Type: 0x01 - Multi message"}},
      {0xFF, {"One", "HandleKey Type: 0xFF - One Message"}}},
     "HandleKey Type: Unknown"},
    {Module::kBluetooth, 0x19, Page::kPage2, 1011, "BT Type",
     {{0x01, {"muRate 46LCS3", "BT Type: 0x01 - muRate LBMA46LCS3-TEMP"}},
      {0xFF, {"muRata 2To1", "BT Type: 0xFF - muRata 2To1"}},
      {0x00, {"None", "BT Type: 0x00 - None"}}},
     "BT Type: Unknown"},
    {Module::kWifi, 0x11, Page::kPage2, 1019, "WiFi Type",
     {{0x01, {"USI SD40", "WiFi Type: 0x01 - USI SD40"}},
      {0xFF, {"muRata 2To1", "WiFi Type: 0xFF - muRata 2To1"}},
      {0x10, {"muRata 8XQF", "WiFi Type: 0x10 - muRata 8XQF"}},
      {0x00, {"None", "WiFi Type: 0x00 - None"}}},
     "WiFi Type: Unknown"},
    {Module::kSerialChip, 0xB1, Page::kPage2, 1023, "Serial Chip Type",
     {{0x01, {"74HC4052", "Serial Chip Type: 0x01 - 74HC4052"}},
      {0xFF, {"VK3224", "Serial Chip Type: 0xFF - VK3224"}}},
     "Serial Chip Type: Unknown"},
    {Module::kPowerChip, 0xA9, Page::kPage2, 1026, "Power Chip Type",
     {{0x00, {"None", "Power Chip Type: 0x00 - None"}},
      {0xFF, {"BQ27510", "Power Chip Type: 0xFF - BQ27510"}}},
     "Power Chip: Unknown"},
};

std::string Line(const std::string& body) { return "Korva_HWSetupDlg: " + body + "\r\n"; }

TEST(ModuleCells, PlacesEachCellAtItsAddressPageAndLabel) {
  ASSERT_EQ(std::size(kModuleCells), std::size(kExpected));
  for (const ExpectedCell& e : kExpected) {
    const ModuleCell& cell = CellOf(e.module);
    EXPECT_EQ(cell.address, e.address) << e.raw;
    EXPECT_EQ(cell.page, e.page) << e.raw;
    EXPECT_EQ(cell.labelControl, e.labelControl) << e.raw;
    EXPECT_EQ(cell.address % 8, 1) << e.raw;
  }
}

// Every value of every cell through RefreshCell: the raw line, the label, and
// the decoded line, in that order.
TEST(RefreshCell, DecodesAll256ValuesOfEveryCell) {
  for (const ExpectedCell& e : kExpected) {
    for (int v = 0; v < 256; ++v) {
      RecordingPlatform os;
      std::vector<std::string> log;
      RecordingView view(log);
      os.eeprom[e.address] = static_cast<std::uint8_t>(v);
      EepromChannel channel(os);
      ASSERT_TRUE(channel.Open());
      os.calls.clear();

      RefreshCell(os, channel, CellOf(e.module), view.LabelFor(e.labelControl));

      char raw[80];
      std::snprintf(raw, sizeof raw, "%s: 0x%X ", e.raw, static_cast<unsigned>(v));
      const auto known = e.known.find(v);
      const std::string label = known != e.known.end() ? known->second.label : "Unknown";
      const std::string trace = known != e.known.end() ? known->second.trace : e.fallback;
      EXPECT_EQ(os.debugLines, (Calls{Line(raw), Line(trace)})) << e.raw << " value " << v;
      EXPECT_EQ(view.label(e.labelControl).text, label) << e.raw << " value " << v;
      ASSERT_EQ(log.size(), 1u);
      // The label changes between the two lines.
      ASSERT_EQ(os.calls.size(), 3u);
      EXPECT_EQ(os.calls[0].rfind("DeviceIoControl(", 0), 0u);
      EXPECT_EQ(os.calls[1].rfind("DebugPrintf(", 0), 0u);
      EXPECT_EQ(os.calls[2].rfind("DebugPrintf(", 0), 0u);
    }
  }
}

TEST(RefreshCell, OrdersRawTraceThenLabelThenDecodedTrace) {
  RecordingPlatform os;
  RecordingView view(os.calls);
  os.eeprom[0x91] = 0x11;
  EepromChannel channel(os);
  ASSERT_TRUE(channel.Open());
  os.calls.clear();
  RefreshCell(os, channel, CellOf(Module::k3G), view.LabelFor(1010));
  EXPECT_EQ(os.calls, (Calls{"DeviceIoControl(256, 2, [0x91], 1, [0x0], 1, null, null)",
                             "DebugPrintf(\"Korva_HWSetupDlg: 3G main version: 0x%X \r\n\")",
                             "Label(1010, \"SIMCOM WCDMA\")",
                             "DebugPrintf(\"Korva_HWSetupDlg: 3G Type: 0x11 - SIMCOM WCDMA\r\n\")"}));
}

TEST(RefreshCell, FailedReadTracesOnceAndKeepsTheLabel) {
  RecordingPlatform os;
  std::vector<std::string> log;
  RecordingView view(log);
  os.eeprom[0x11] = 0x10;
  EepromChannel channel(os);
  ASSERT_TRUE(channel.Open());
  const ModuleCell& wifi = CellOf(Module::kWifi);
  RefreshCell(os, channel, wifi, view.LabelFor(1019));
  ASSERT_EQ(view.label(1019).text, "muRata 8XQF");

  os.failRead = {0x11};
  os.debugLines.clear();
  RefreshCell(os, channel, wifi, view.LabelFor(1019));
  EXPECT_EQ(os.debugLines, Calls{Line("DeviceIoControl(EOM1, EEPROM_READ) Failed!")});
  EXPECT_EQ(view.label(1019).text, "muRata 8XQF");
  EXPECT_EQ(log.size(), 1u) << "the label was set again after a failed read";
}

TEST(RefreshCell, ClosedChannelDoesNothingAtAll) {
  RecordingPlatform os;
  os.deviceOpens = false;
  std::vector<std::string> log;
  RecordingView view(log);
  EepromChannel channel(os);
  ASSERT_FALSE(channel.Open());
  os.calls.clear();
  for (const ModuleCell& cell : kModuleCells) RefreshCell(os, channel, cell, view.LabelFor(cell.labelControl));
  EXPECT_TRUE(os.calls.empty());
  EXPECT_TRUE(log.empty());
}

}  // namespace
}  // namespace hw
