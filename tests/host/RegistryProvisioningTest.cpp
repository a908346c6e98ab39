#include "setup/RegistryProvisioning.h"

#include <gtest/gtest.h>

#include "RecordingPlatform.h"

namespace hw {
namespace {

using test::RecordingPlatform;
using Calls = std::vector<std::string>;
using Values = std::map<std::u16string, std::u16string>;

const std::u16string kUsb = kUsbHostDriverKey;
const std::u16string k4319 = kWifiCardKey4319;
const std::u16string k4329 = kWifiCardKey4329;

TEST(RegSetString, OpensExistingKeySetsTerminatedStringAndCloses) {
  RecordingPlatform os;
  os.keys[kUsb] = {};
  EXPECT_TRUE(RegSetString(os, kHkeyLocalMachine, kUsbHostDriverKey, u"Dll", u"xxx"));
  EXPECT_EQ(os.calls, (Calls{"RegOpenKeyEx(HKLM, \"Drivers\\BuiltIn\\HCD_HSH1\", 0, 0xF003F)",
                             "RegSetValueEx(\"Dll\", 0, 1, \"xxx\", 8)", "RegCloseKey()"}));
  EXPECT_EQ(os.keys[kUsb][u"Dll"], u"xxx");
}

TEST(RegSetString, LengthIsCharactersPlusTerminatorInBytes) {
  const struct {
    const char16_t* text;
    std::uint32_t bytes;
  } cases[] = {{u"xxx", 8}, {u"hcd_hsh1.dll", 26}, {u"", 2}, {u"SDCSD40N:SDCSD40N1", 38}};
  for (const auto& c : cases) {
    RecordingPlatform os;
    os.keys[kUsb] = {};
    RegSetString(os, kHkeyLocalMachine, kUsbHostDriverKey, u"Dll", c.text);
    ASSERT_EQ(os.calls.size(), 3u);
    EXPECT_NE(os.calls[1].find(", " + std::to_string(c.bytes) + ")"), std::string::npos)
        << os.calls[1];
    EXPECT_EQ(os.calls[1].find("unterminated"), std::string::npos) << os.calls[1];
  }
}

TEST(RegSetString, AbsentOrDeniedKeyWritesNothingAndClosesNothing) {
  RecordingPlatform os;
  EXPECT_FALSE(RegSetString(os, kHkeyLocalMachine, kUsbHostDriverKey, u"Dll", u"xxx"));
  os.keys[kUsb] = {};
  os.deniedKeys = {kUsb};
  EXPECT_FALSE(RegSetString(os, kHkeyLocalMachine, kUsbHostDriverKey, u"Dll", u"xxx"));
  EXPECT_EQ(os.CallsNamed("RegOpenKeyEx").size(), 2u);
  EXPECT_TRUE(os.CallsNamed("RegSetValueEx").empty());
  EXPECT_TRUE(os.CallsNamed("RegCloseKey").empty());
  EXPECT_TRUE(os.keys[kUsb].empty());
  EXPECT_TRUE(os.faults.empty());
}

TEST(RegSetString, FailedSetStillClosesTheKeyAndTheGroupGoesOn) {
  RecordingPlatform os;
  os.keys[kUsb] = {};
  os.failSetValue = {u"Dll"};
  EXPECT_FALSE(RegSetString(os, kHkeyLocalMachine, kUsbHostDriverKey, u"Dll", u"xxx"));
  EXPECT_EQ(os.CallsNamed("RegCloseKey").size(), 1u);
  os.calls.clear();
  UsbHostDriverSwitch(os, UsbHostDriver::kOn);
  EXPECT_EQ(os.CallsNamed("RegCloseKey").size(), 2u);
  EXPECT_EQ(os.keys[kUsb], (Values{{u"IsrDll", u"giisr.dll"}}));
}

TEST(UsbHostDriverSwitch, WritesDllThenIsrDllForEachState) {
  RecordingPlatform os;
  os.keys[kUsb] = {{u"Prefix", u"HCD"}};
  UsbHostDriverSwitch(os, UsbHostDriver::kOff);
  EXPECT_EQ(os.CallsNamed("RegSetValueEx"), (Calls{"RegSetValueEx(\"Dll\", 0, 1, \"xxx\", 8)",
                                                   "RegSetValueEx(\"IsrDll\", 0, 1, \"xxx\", 8)"}));
  EXPECT_EQ(os.keys[kUsb], (Values{{u"Prefix", u"HCD"}, {u"Dll", u"xxx"}, {u"IsrDll", u"xxx"}}));

  os.calls.clear();
  UsbHostDriverSwitch(os, UsbHostDriver::kOn);
  EXPECT_EQ(os.CallsNamed("RegSetValueEx"),
            (Calls{"RegSetValueEx(\"Dll\", 0, 1, \"hcd_hsh1.dll\", 26)",
                   "RegSetValueEx(\"IsrDll\", 0, 1, \"giisr.dll\", 20)"}));
  EXPECT_EQ(os.keys[kUsb][u"Dll"], u"hcd_hsh1.dll");
  EXPECT_EQ(os.keys[kUsb][u"IsrDll"], u"giisr.dll");
  EXPECT_EQ(os.CallsNamed("RegCloseKey").size(), 2u);
}

TEST(UsbHostDriverSwitch, WithoutTheKeyCreatesNothingAndTriesBothValues) {
  RecordingPlatform os;
  UsbHostDriverSwitch(os, UsbHostDriver::kOn);
  EXPECT_EQ(os.CallsNamed("RegOpenKeyEx").size(), 2u);
  EXPECT_TRUE(os.keys.empty());
}

Values SetOf(const char16_t* dll, const char16_t* prefix, const char16_t* instance) {
  return {{u"Dll", dll}, {u"Prefix", prefix}, {u"Instance0", instance}, {u"Instance1", instance}};
}

TEST(WifiClientDriverSet, WritesFourValuesToEachCardKeyInOrder) {
  RecordingPlatform os;
  os.keys[k4319] = {};
  os.keys[k4329] = {};
  WifiClientDriverSet(os, WifiDriverSet::kUsiSd40);
  Calls opens = os.CallsNamed("RegOpenKeyEx");
  ASSERT_EQ(opens.size(), 8u);
  for (int i = 0; i < 8; ++i) {
    EXPECT_NE(opens[i].find(i < 4 ? "4319" : "4329"), std::string::npos) << opens[i];
  }
  const Calls names = os.CallsNamed("RegSetValueEx");
  ASSERT_EQ(names.size(), 8u);
  const char* order[] = {"\"Dll\"", "\"Prefix\"", "\"Instance0\"", "\"Instance1\""};
  for (int i = 0; i < 8; ++i) EXPECT_NE(names[i].find(order[i % 4]), std::string::npos);
  const Values usi = SetOf(u"sdcsd40n.dll", u"SSI", u"SDCSD40N:SDCSD40N1");
  EXPECT_EQ(os.keys[k4319], usi);
  EXPECT_EQ(os.keys[k4329], usi);
}

TEST(WifiClientDriverSet, LaterSetReplacesEarlierOneEitherWay) {
  const Values usi = SetOf(u"sdcsd40n.dll", u"SSI", u"SDCSD40N:SDCSD40N1");
  const Values murata = SetOf(u"GarnetSDN.dll", u"NDL", u"GarnetSDN:GarnetSDN1");
  const struct {
    WifiDriverSet first, second;
    const Values& expected;
  } cases[] = {{WifiDriverSet::kUsiSd40, WifiDriverSet::kMurata8Xqf, murata},
               {WifiDriverSet::kMurata8Xqf, WifiDriverSet::kUsiSd40, usi}};
  for (const auto& c : cases) {
    RecordingPlatform os;
    os.keys[k4319] = {};
    os.keys[k4329] = {};
    WifiClientDriverSet(os, c.first);
    WifiClientDriverSet(os, c.second);
    EXPECT_EQ(os.keys[k4319], c.expected);
    EXPECT_EQ(os.keys[k4329], c.expected);
  }
}

TEST(WifiClientDriverSet, OneCardKeyAbsentOrDeniedStillWritesTheOther) {
  for (const std::u16string& present : {k4319, k4329}) {
    for (bool denyOther : {false, true}) {
      RecordingPlatform os;
      os.keys[present] = {{u"Class", u"NDIS"}};
      const std::u16string& other = present == k4319 ? k4329 : k4319;
      if (denyOther) {
        os.keys[other] = {};
        os.deniedKeys = {other};
      }
      WifiClientDriverSet(os, WifiDriverSet::kMurata8Xqf);
      EXPECT_EQ(os.CallsNamed("RegOpenKeyEx").size(), 8u);
      EXPECT_EQ(os.CallsNamed("RegSetValueEx").size(), 4u);
      EXPECT_EQ(os.keys[present].size(), 5u);
      EXPECT_EQ(os.keys[present][u"Class"], u"NDIS");
      EXPECT_EQ(os.keys[present][u"Prefix"], u"NDL");
      if (denyOther) {
        EXPECT_TRUE(os.keys[other].empty());
      } else {
        EXPECT_EQ(os.keys.count(other), 0u) << "a card key was created";
      }
    }
  }
}

}  // namespace
}  // namespace hw
