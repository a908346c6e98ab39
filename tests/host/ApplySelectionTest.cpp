#include "setup/ApplySelection.h"

#include <gtest/gtest.h>

#include "RecordingPlatform.h"
#include "RecordingView.h"
#include "setup/PsConfigInstall.h"
#include "setup/RegistryProvisioning.h"

namespace hw {
namespace {

using test::RecordingPlatform;
using test::RecordingView;
using Calls = std::vector<std::string>;
using Values = std::map<std::u16string, std::u16string>;

enum class Effect { kNone, kUsbOff, kUsbOn, kUsi, kMurata, kPsConfig, kPsConfig1 };

// The buttons as the terminal's service manual lists them.
struct ExpectedRow {
  Page page;
  int control;
  std::uint8_t address;
  std::uint8_t code;
  const char* label;
  int labelControl;
  Effect effect;
  const char* failureLine;  // gated rows only
};
const ExpectedRow kRows[] = {
    {Page::kPage1, 1001, 0x69, 0xFF, "All Func", 1000, Effect::kNone, nullptr},
    {Page::kPage1, 1002, 0x69, 0x32, "Simple", 1000, Effect::kNone, nullptr},
    {Page::kPage1, 1003, 0x69, 0x33, "Turkey", 1000, Effect::kNone, nullptr},
    {Page::kPage1, 1008, 0x81, 0xFF, "None", 1007, Effect::kNone, nullptr},
    {Page::kPage1, 1009, 0x81, 0x01, "EM02", 1007, Effect::kNone, nullptr},
    {Page::kPage1, 1011, 0x91, 0xFF, "None", 1010, Effect::kUsbOff, "001"},
    {Page::kPage1, 1012, 0x91, 0x01, "Huawei WCDMA", 1010, Effect::kUsbOn, "002"},
    {Page::kPage1, 1016, 0x91, 0x11, "SIMCOM WCDMA", 1010, Effect::kUsbOn, "003"},
    {Page::kPage1, 1017, 0x91, 0x12, "SIMCOM CDMA2000", 1010, Effect::kUsbOn, "004"},
    {Page::kPage1, 1014, 0x99, 0xFF, "Outside", 1013, Effect::kNone, nullptr},
    {Page::kPage1, 1015, 0x99, 0x01, "Inside", 1013, Effect::kNone, nullptr},
    {Page::kPage1, 1019, 0xA1, 0xFF, "One", 1018, Effect::kNone, nullptr},
    {Page::kPage1, 1020, 0xA1, 0x01, "Multi", 1018, Effect::kNone, nullptr},
    {Page::kPage2, 1009, 0x19, 0xFF, "muRata 2To1", 1011, Effect::kPsConfig, nullptr},
    {Page::kPage2, 1010, 0x19, 0x01, "muRate 46LCS3", 1011, Effect::kPsConfig1, nullptr},
    {Page::kPage2, 1012, 0x19, 0x00, "None", 1011, Effect::kNone, nullptr},
    {Page::kPage2, 1018, 0x11, 0xFF, "muRata 2To1", 1019, Effect::kNone, nullptr},
    {Page::kPage2, 1020, 0x11, 0x01, "USI SD40", 1019, Effect::kUsi, nullptr},
    {Page::kPage2, 1021, 0x11, 0x00, "None", 1019, Effect::kNone, nullptr},
    {Page::kPage2, 1022, 0x11, 0x10, "muRata 8XQF", 1019, Effect::kMurata, nullptr},
    {Page::kPage2, 1024, 0xB1, 0xFF, "VK3224", 1023, Effect::kNone, nullptr},
    {Page::kPage2, 1025, 0xB1, 0x01, "74HC4052", 1023, Effect::kNone, nullptr},
    {Page::kPage2, 1027, 0xA9, 0xFF, "BQ27510", 1026, Effect::kNone, nullptr},
    {Page::kPage2, 1028, 0xA9, 0x00, "None", 1026, Effect::kNone, nullptr},
};

const Values kFactoryUsb = {{u"Dll", u"factory.dll"}, {u"IsrDll", u"factory_isr.dll"}};
const Values kFactoryCard = {{u"Dll", u"old.dll"}, {u"Prefix", u"OLD"}, {u"Instance0", u"O:O1"},
                             {u"Instance1", u"O:O1"}, {u"Class", u"NDIS"}};

// A terminal with factory registry values and both configuration sources.
struct Terminal {
  RecordingPlatform os;
  RecordingView view{os.calls};
  EepromChannel channel{os};
  Terminal() {
    os.eeprom.fill(0xFF);
    os.keys[kUsbHostDriverKey] = kFactoryUsb;
    os.keys[kWifiCardKey4319] = kFactoryCard;
    os.keys[kWifiCardKey4329] = kFactoryCard;
    os.files[kPsConfigSource] = std::vector<std::uint8_t>(200, 0xA1);
    os.files[kPsConfig1Source] = std::vector<std::uint8_t>(300, 0xB2);
    EXPECT_TRUE(channel.Open());
    os.calls.clear();
  }
  void Press(const SelectionAction& row) {
    ApplySelection(os, channel, row, view.LabelFor(CellOf(row.cell).labelControl), view);
  }
};

std::string Hex(unsigned v) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%X", v);
  return buf;
}

TEST(SelectionTable, HoldsExactlyTheButtonsOfBothPages) {
  ASSERT_EQ(kSelectionCount, std::size(kRows));
  EXPECT_EQ(SelectionCount(Page::kPage1), 13u);
  EXPECT_EQ(SelectionCount(Page::kPage2), 11u);
  for (const ExpectedRow& e : kRows) {
    const SelectionAction* row = FindSelection(e.page, e.control);
    ASSERT_NE(row, nullptr) << e.control;
    EXPECT_EQ(CellOf(row->cell).address, e.address) << e.control;
    EXPECT_EQ(row->code, e.code) << e.control;
    EXPECT_EQ(row->order == Order::kGated, e.failureLine != nullptr) << e.control;
  }
  EXPECT_EQ(FindSelection(Page::kPage2, 1001), nullptr);
  EXPECT_EQ(FindSelection(Page::kPage1, 1010), nullptr) << "1010 is a label on page one";
}

// Each row on a fresh terminal and on one holding other codes: the cell, the
// label, the trace and what the OS is left with.
TEST(ApplySelection, EveryRowWritesRefreshesAndProvisions) {
  for (std::uint8_t start : {std::uint8_t{0xFF}, std::uint8_t{0x00}, std::uint8_t{0x5A}}) {
    for (const ExpectedRow& e : kRows) {
      SCOPED_TRACE("control " + std::to_string(e.control) + " from 0x" + Hex(start));
      Terminal t;
      t.os.eeprom.fill(start);
      t.Press(*FindSelection(e.page, e.control));

      EXPECT_EQ(t.os.eeprom[e.address], e.code);
      EXPECT_EQ(t.view.label(e.labelControl).text, e.label);
      ASSERT_EQ(t.os.debugLines.size(), 2u);
      EXPECT_NE(t.os.debugLines[0].find(": 0x" + Hex(e.code) + " \r\n"), std::string::npos);
      EXPECT_NE(t.os.debugLines[1].find(" - "), std::string::npos) << t.os.debugLines[1];

      const Values usbOff = {{u"Dll", u"xxx"}, {u"IsrDll", u"xxx"}};
      const Values usbOn = {{u"Dll", u"hcd_hsh1.dll"}, {u"IsrDll", u"giisr.dll"}};
      EXPECT_EQ(t.os.keys[kUsbHostDriverKey], e.effect == Effect::kUsbOff  ? usbOff
                                              : e.effect == Effect::kUsbOn ? usbOn
                                                                           : kFactoryUsb);
      Values card = kFactoryCard;
      if (e.effect == Effect::kUsi) {
        card = {{u"Dll", u"sdcsd40n.dll"}, {u"Prefix", u"SSI"}, {u"Instance0", u"SDCSD40N:SDCSD40N1"},
                {u"Instance1", u"SDCSD40N:SDCSD40N1"}, {u"Class", u"NDIS"}};
      } else if (e.effect == Effect::kMurata) {
        card = {{u"Dll", u"GarnetSDN.dll"}, {u"Prefix", u"NDL"}, {u"Instance0", u"GarnetSDN:GarnetSDN1"},
                {u"Instance1", u"GarnetSDN:GarnetSDN1"}, {u"Class", u"NDIS"}};
      }
      EXPECT_EQ(t.os.keys[kWifiCardKey4319], card);
      EXPECT_EQ(t.os.keys[kWifiCardKey4329], card);

      const bool installs = e.effect == Effect::kPsConfig || e.effect == Effect::kPsConfig1;
      EXPECT_EQ(t.os.files.count(kPsConfigDestination), installs ? 1u : 0u);
      if (installs) {
        EXPECT_EQ(t.os.files[kPsConfigDestination],
                  t.os.files[e.effect == Effect::kPsConfig ? kPsConfigSource : kPsConfig1Source]);
      }
      EXPECT_EQ(t.view.MessageBoxCount(), 0u);
      EXPECT_TRUE(t.os.faults.empty());
    }
  }
}

// Where the provisioning falls between the write and the refresh.
TEST(ApplySelection, RunsEachOrderInItsPlace) {
  const auto kinds = [](const Calls& calls) {
    Calls out;
    for (const std::string& c : calls) {
      std::string kind = c.substr(0, c.find('('));
      if (kind == "DeviceIoControl") kind = c.find(", 2, [") != std::string::npos ? "read" : "write";
      if (kind == "RegOpenKeyEx" || kind == "CreateFile") kind = "provision";
      if (out.empty() || out.back() != kind) out.push_back(kind);
    }
    return out;
  };
  const struct {
    Page page;
    int control;
    bool writeFails;
    Calls expected;
  } cases[] = {
      {Page::kPage1,
       1016,
       false,
       {"write", "provision", "RegSetValueEx", "RegCloseKey", "provision", "RegSetValueEx",
        "RegCloseKey", "RegFlushKey", "read", "DebugPrintf", "Label", "DebugPrintf"}},
      {Page::kPage1,
       1011,
       true,
       {"write", "DebugPrintf", "read", "DebugPrintf", "Label", "DebugPrintf"}},
      {Page::kPage2,
       1020,
       true,
       {"write",         "read",          "DebugPrintf",   "Label",         "DebugPrintf",
        "provision",     "RegSetValueEx", "RegCloseKey",   "provision",     "RegSetValueEx",
        "RegCloseKey",   "provision",     "RegSetValueEx", "RegCloseKey",   "provision",
        "RegSetValueEx", "RegCloseKey",   "provision",     "RegSetValueEx", "RegCloseKey",
        "provision",     "RegSetValueEx", "RegCloseKey",   "provision",     "RegSetValueEx",
        "RegCloseKey",   "provision",     "RegSetValueEx", "RegCloseKey",   "RegFlushKey"}},
      {Page::kPage2,
       1009,
       true,
       {"write", "read", "DebugPrintf", "Label", "DebugPrintf", "provision", "ReadFile",
        "CloseHandle", "SetFileAttributes", "provision", "WriteFile", "FlushFileBuffers",
        "CloseHandle"}},
      {Page::kPage1, 1002, true, {"write", "read", "DebugPrintf", "Label", "DebugPrintf"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.control);
    Terminal t;
    if (c.writeFails) t.os.failWrite = {CellOf(FindSelection(c.page, c.control)->cell).address};
    t.Press(*FindSelection(c.page, c.control));
    EXPECT_EQ(kinds(t.os.calls), c.expected);
  }
}

TEST(ApplySelection, FailedGatedWriteTracesItsNumberAndLeavesTheRegistry) {
  const std::pair<int, const char*> rows[] = {{1011, "001"}, {1012, "002"}, {1016, "003"}, {1017, "004"}};
  for (const auto& [control, number] : rows) {
    Terminal t;
    t.os.eeprom[0x91] = 0x11;
    t.os.failWrite = {0x91};
    t.Press(*FindSelection(Page::kPage1, control));
    EXPECT_EQ(t.os.debugLines,
              (Calls{std::string("Korva_HWSetupDlg: DeviceIoControl() Failed ") + number + "!\r\n",
                     "Korva_HWSetupDlg: 3G main version: 0x11 \r\n",
                     "Korva_HWSetupDlg: 3G Type: 0x11 - SIMCOM WCDMA\r\n"}));
    EXPECT_EQ(t.os.keys[kUsbHostDriverKey], kFactoryUsb);
    EXPECT_TRUE(t.os.CallsNamed("RegOpenKeyEx").empty());
  }
}

TEST(ApplySelection, FailedWriteOnOtherRowsIsSilentAndProvisioningStillRuns) {
  Terminal t;
  t.os.eeprom[0x11] = 0x00;
  t.os.failWrite = {0x11, 0x19};
  t.Press(*FindSelection(Page::kPage2, 1020));
  EXPECT_EQ(t.view.label(1019).text, "None");
  EXPECT_EQ(t.os.keys[kWifiCardKey4329][u"Dll"], u"sdcsd40n.dll");
  EXPECT_EQ(t.os.debugLines.size(), 2u);

  t.Press(*FindSelection(Page::kPage2, 1010));
  EXPECT_EQ(t.os.files[kPsConfigDestination], t.os.files[kPsConfig1Source]);
}

TEST(ApplySelection, RowsDoNotUndoEachOther) {
  Terminal t;
  t.Press(*FindSelection(Page::kPage2, 1020));  // USI SD40
  t.Press(*FindSelection(Page::kPage2, 1021));  // WiFi None
  t.Press(*FindSelection(Page::kPage2, 1018));  // WiFi muRate 2to1
  EXPECT_EQ(t.os.keys[kWifiCardKey4319][u"Dll"], u"sdcsd40n.dll");
  t.Press(*FindSelection(Page::kPage2, 1009));  // BT 2to1
  t.Press(*FindSelection(Page::kPage2, 1012));  // BT None
  EXPECT_EQ(t.os.files[kPsConfigDestination], t.os.files[kPsConfigSource]);
  EXPECT_EQ(t.view.label(1011).text, "None");
}

TEST(ApplySelection, MissingBluetoothSourceShowsOneBoxAfterTheRefresh) {
  Terminal t;
  t.os.files.erase(kPsConfigSource);
  t.Press(*FindSelection(Page::kPage2, 1009));
  EXPECT_EQ(t.view.MessageBoxCount(), 1u);
  EXPECT_EQ(t.os.calls.back(), "MessageBox(\"Setup Failed!\", \"Tip\")");
  EXPECT_EQ(t.view.label(1011).text, "muRata 2To1");
}

TEST(ApplySelection, ClosedChannelMakesNoCallAtAll) {
  RecordingPlatform os;
  os.deviceOpens = false;
  RecordingView view(os.calls);
  EepromChannel channel(os);
  ASSERT_FALSE(channel.Open());
  os.calls.clear();
  for (const SelectionAction& row : kSelectionTable) {
    ApplySelection(os, channel, row, view.LabelFor(CellOf(row.cell).labelControl), view);
  }
  EXPECT_TRUE(os.calls.empty()) << os.calls.front();
}

}  // namespace
}  // namespace hw
