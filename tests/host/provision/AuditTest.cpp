// The report's audit: each module's cell against what the OS holds, over the
// recording fake of the OS.
#include <gtest/gtest.h>

#include <functional>

#include "FactoryOs.h"
#include "FakeProgramIo.h"
#include "provision/Report.h"

namespace hw {
namespace {

using namespace test;  // the factory terminal and its values

// The report line of one module, cut at " | " into cell, holds and verdict.
std::vector<std::string> AuditLine(RecordingPlatform& os, Module module) {
  EepromChannel channel(os);
  EXPECT_TRUE(channel.Open());
  ModuleAudit audit;
  AuditModule(os, channel, module, &audit);
  TextLine line;
  AppendAuditLine(audit, line);
  const std::string text = test::Utf8(line.text());
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find(" | ", start)) != std::string::npos; start = end + 3) {
    parts.push_back(text.substr(start, end - start));
  }
  parts.push_back(text.substr(start));
  return parts;
}

struct AuditCase {
  const char* what;
  Module module;
  std::uint8_t value;
  std::function<void(RecordingPlatform&)> change;
  const char* holds;
  const char* verdict;
};

void Nothing(RecordingPlatform&) {}

const AuditCase kCases[] = {
    // 3G: a fitted modem wants the USB host driver on, 0xFF wants it off.
    {"SIMCOM WCDMA, driver on", k3G, 0x11, Nothing,
     "HCD_HSH1 Dll \"hcd_hsh1.dll\", IsrDll \"giisr.dll\"", "consistent"},
    {"Huawei, driver on", k3G, 0x01, Nothing, nullptr, "consistent"},
    {"CDMA2000, driver off", k3G, 0x12,
     [](RecordingPlatform& os) { os.keys[kUsbHostDriverKey] = kUsbOff; },
     "HCD_HSH1 Dll \"xxx\", IsrDll \"xxx\"",
     "INCONSISTENT: HCD_HSH1 Dll is \"xxx\", wants \"hcd_hsh1.dll\"; HCD_HSH1 IsrDll is \"xxx\", "
     "wants \"giisr.dll\""},
    {"no 3G on the factory image", k3G, 0xFF, Nothing, nullptr,
     "INCONSISTENT: HCD_HSH1 Dll is \"hcd_hsh1.dll\", wants \"xxx\"; HCD_HSH1 IsrDll is "
     "\"giisr.dll\", wants \"xxx\""},
    {"no 3G, driver off", k3G, 0xFF,
     [](RecordingPlatform& os) { os.keys[kUsbHostDriverKey] = kUsbOff; }, nullptr, "consistent"},
    {"key missing", k3G, 0x11, [](RecordingPlatform& os) { os.keys.erase(kUsbHostDriverKey); },
     "HCD_HSH1 key is missing", "INCONSISTENT: HCD_HSH1 key is missing"},
    {"key denied", k3G, 0x11, [](RecordingPlatform& os) { os.deniedKeys = {kUsbHostDriverKey}; },
     nullptr, "INCONSISTENT: HCD_HSH1 key: access denied"},
    {"value missing", k3G, 0x11,
     [](RecordingPlatform& os) { os.keys[kUsbHostDriverKey].erase(u"IsrDll"); },
     "HCD_HSH1 Dll \"hcd_hsh1.dll\", IsrDll missing",
     "INCONSISTENT: HCD_HSH1 IsrDll is missing, wants \"giisr.dll\""},
    {"a text with more after its terminator", k3G, 0xFF,
     [](RecordingPlatform& os) {
       os.keys[kUsbHostDriverKey] = kUsbOff;
       os.keys[kUsbHostDriverKey][u"Dll"] = std::u16string(u"xxx\0old", 7);
     },
     "HCD_HSH1 Dll \"xxx\" (16 bytes), IsrDll \"xxx\"",
     "INCONSISTENT: HCD_HSH1 Dll is \"xxx\" (16 bytes), wants \"xxx\""},
    {"a value no row writes", k3G, 0x05, Nothing, nullptr, "unknown: no button writes 0x05"},
    {"unreadable cell", k3G, 0x11, [](RecordingPlatform& os) { os.failRead = {0x91}; }, nullptr,
     "unknown: the cell cannot be read"},
    // WiFi: 0x01 and 0x10 want their set in both card keys; 0xFF and 0x00 leave them.
    {"USI SD40 in both", kWifi, 0x01, Nothing, "card 4319 USI SD40; card 4329 USI SD40",
     "consistent"},
    {"8XQF cell, USI SD40 driver", kWifi, 0x10, Nothing, nullptr,
     "INCONSISTENT: card 4319 holds the USI SD40 set, wants muRate 8XQF; card 4329 holds the "
     "USI SD40 set, wants muRate 8XQF"},
    {"one value off", kWifi, 0x10,
     [](RecordingPlatform& os) {
       os.keys[kWifiCardKey4319] = kMurata;
       os.keys[kWifiCardKey4329] = kMurata;
       os.keys[kWifiCardKey4329][u"Prefix"] = u"SSI";
     },
     "card 4319 muRate 8XQF; card 4329 other values",
     "INCONSISTENT: card 4329 Prefix is \"SSI\", wants \"NDL\""},
    {"text compared exactly", kWifi, 0x01,
     [](RecordingPlatform& os) { os.keys[kWifiCardKey4319][u"Dll"] = u"SDCSD40N.DLL"; }, nullptr,
     "INCONSISTENT: card 4319 Dll is \"SDCSD40N.DLL\", wants \"sdcsd40n.dll\""},
    {"a card key missing", kWifi, 0x01,
     [](RecordingPlatform& os) { os.keys.erase(kWifiCardKey4329); },
     "card 4319 USI SD40; card 4329 key is missing", "INCONSISTENT: card 4329 key is missing"},
    {"2to1 leaves the driver", kWifi, 0xFF,
     [](RecordingPlatform& os) { os.keys[kWifiCardKey4329] = kMurata; },
     "card 4319 USI SD40; card 4329 muRate 8XQF", "not managed"},
    {"None leaves the driver", kWifi, 0x00, [](RecordingPlatform& os) { os.keys.clear(); }, nullptr,
     "not managed"},
    // Bluetooth: the flash file must equal the module's source byte for byte.
    {"2to1 installed", kBluetooth, 0xFF, [](RecordingPlatform& os) { os.files[kFlash] = kSource; },
     "\\Flash Disk\\PSconfig.psr is a copy of \\Windows\\PSconfig.psr", "consistent"},
    {"46LCS3 cell, 2to1 file", kBluetooth, 0x01,
     [](RecordingPlatform& os) { os.files[kFlash] = kSource; }, nullptr,
     "INCONSISTENT: \\Flash Disk\\PSconfig.psr differs from \\Windows\\PSconfig1.psr"},
    {"nothing in flash", kBluetooth, 0xFF, Nothing, "\\Flash Disk\\PSconfig.psr is missing",
     "INCONSISTENT: \\Flash Disk\\PSconfig.psr is missing, wants a copy of "
     "\\Windows\\PSconfig.psr"},
    {"one byte short", kBluetooth, 0xFF,
     [](RecordingPlatform& os) { os.files[kFlash] = Bytes(kSource.begin(), kSource.end() - 1); },
     "\\Flash Disk\\PSconfig.psr is a copy of no source",
     "INCONSISTENT: \\Flash Disk\\PSconfig.psr differs from \\Windows\\PSconfig.psr"},
    {"a byte changed past the first piece", kBluetooth, 0xFF,
     [](RecordingPlatform& os) {
       os.files[kFlash] = kSource;
       os.files[kFlash][1000] ^= 1;
     },
     nullptr, "INCONSISTENT: \\Flash Disk\\PSconfig.psr differs from \\Windows\\PSconfig.psr"},
    {"source missing", kBluetooth, 0x01,
     [](RecordingPlatform& os) {
       os.files[kFlash] = kSource1;
       os.files.erase(kPsConfig1Source);
     },
     nullptr, "INCONSISTENT: \\Windows\\PSconfig1.psr is missing"},
    {"None leaves the file", kBluetooth, 0x00, Nothing, nullptr, "not managed"},
    {"0x10 is no Bluetooth code", kBluetooth, 0x10, Nothing, nullptr,
     "unknown: no button writes 0x10"},
};

TEST(Audit, VerdictsFollowTheButtonThatWritesTheCellsValue) {
  for (const AuditCase& c : kCases) {
    FactoryOs terminal;
    terminal.os.eeprom[CellOf(c.module).address] = c.value;
    c.change(terminal.os);
    const std::vector<std::string> parts = AuditLine(terminal.os, c.module);
    ASSERT_EQ(parts.size(), 3u) << c.what;
    if (c.holds != nullptr) {
      EXPECT_EQ(parts[1], c.holds) << c.what;
    }
    EXPECT_EQ(parts[2], c.verdict) << c.what;
  }
}

TEST(Audit, OnlyReadsAndClosesWhatItOpens) {
  for (const AuditCase& c : kCases) {
    FactoryOs terminal;
    terminal.os.eeprom[CellOf(c.module).address] = c.value;
    c.change(terminal.os);
    AuditLine(terminal.os, c.module);
    EXPECT_TRUE(terminal.os.CallsNamed("RegSetValueEx").empty()) << c.what;
    EXPECT_TRUE(terminal.os.CallsNamed("SetFileAttributes").empty()) << c.what;
    for (const std::string& call : terminal.os.CallsNamed("DeviceIoControl")) {
      EXPECT_EQ(call.substr(call.find(", ") + 2, 3), "2, ") << c.what << ": " << call;
    }
    EXPECT_TRUE(terminal.os.debugLines.empty()) << c.what << ": the report is not a trace";
    EXPECT_TRUE(terminal.os.OpenFiles().empty()) << c.what;
    EXPECT_TRUE(terminal.os.faults.empty()) << c.what;
  }
}

TEST(Audit, ModulesWhoseButtonsOnlyWriteTheCellShowTheLabelAlone) {
  const struct {
    Module module;
    std::uint8_t value;
    const char* line;
  } cases[] = {
      {kKeypad, 0x32, "keypad       cell 0x69 = 0x32  Simple"},
      {kKeypad, 0x00, "keypad       cell 0x69 = 0x00  Unknown"},
      {kFingerprint, 0xFF, "fingerprint  cell 0x81 = 0xFF  None"},
      {kHandleKey, 0x01, "handle key   cell 0xA1 = 0x01  Multi"},
      {kPowerChip, 0x00, "power chip   cell 0xA9 = 0x00  None"},
  };
  for (const auto& c : cases) {
    FactoryOs terminal;
    terminal.os.eeprom[CellOf(c.module).address] = c.value;
    EXPECT_EQ(AuditLine(terminal.os, c.module), std::vector<std::string>{c.line});
  }
}

// What Device Manager runs for 3G and WiFi, beside what the registry is set
// to load: the report's line below each module's, and its result line.
TEST(Drivers, TheReportSaysWhatRunsAgainstWhatTheCellCallsFor) {
  using Driver = RecordingPlatform::Driver;
  const Driver kHcd = kHcdDriver;
  const Driver kSsi4329 = CardDriver(u"SSI1:", kWifiCardKey4329);
  const Driver kSsi4319{u"SSI1:",
                        u"\\DRIVERS\\SDCARD\\CLIENTDRIVERS\\CUSTOM\\MANF-02D0-CARDID-4319-FUNC-1",
                        u"$device\\SSI1"};
  const Driver kHcdOtherCase{u"HCD1:", u"\\drivers\\builtin\\hcd_hsh1", u"$device\\HCD1"};
  const struct {
    const char* what;
    std::uint8_t g3, wifi;  // the cells; the factory image: USB host on, USI SD40 in both keys
    std::function<void(RecordingPlatform&)> change;
    std::vector<Driver> running;
    const char* g3Driver;
    const char* wifiDriver;
    const char* result;
  } cases[] = {
      {"as Device Manager spells the keys",
       0x11,
       0x01,
       nullptr,
       {kHcd, kSsi4329},
       "HCD1: loaded from Drivers\\BuiltIn\\HCD_HSH1 | matches",
       "SSI1: loaded from card 4329's key | matches",
       "consistent"},
      {"other case, a leading backslash, the other card",
       0x11,
       0x01,
       nullptr,
       {kHcdOtherCase, kSsi4319},
       "HCD1: loaded from \\drivers\\builtin\\hcd_hsh1 | matches",
       "SSI1: loaded from card 4319's key | matches",
       "consistent"},
      {"None runs no driver; no card",
       0xFF,
       0x01,
       [](RecordingPlatform& os) { os.keys[kUsbHostDriverKey] = kUsbOff; },
       {},
       "not loaded | matches",
       "no WiFi driver loaded | not loaded",
       "consistent, 1 driver not loaded"},
      {"the drivers from before the presses",
       0xFF,
       0x10,
       [](RecordingPlatform& os) {
         os.keys[kUsbHostDriverKey] = kUsbOff;
         os.keys[kWifiCardKey4319] = os.keys[kWifiCardKey4329] = kMurata;
       },
       {kHcd, kSsi4329},
       "HCD1: loaded from Drivers\\BuiltIn\\HCD_HSH1 | restart pending",
       "SSI1: loaded from card 4329's key | restart pending",
       "consistent, 2 restart pending"},
      {"the registry differs: what runs, no verdict",
       0xFF,
       0xFF,
       nullptr,
       {kHcd, kSsi4329},
       "HCD1: loaded from Drivers\\BuiltIn\\HCD_HSH1",
       "SSI1: loaded from card 4329's key",
       "1 INCONSISTENT"},
  };
  for (const bool available : {true, false}) {
    for (const auto& c : cases) {
      FactoryOs terminal;
      RecordingPlatform& os = terminal.os;
      terminal.Running(c.g3, c.wifi, c.running);
      if (c.change) c.change(os);
      os.driverListAvailable = available;
      FakeProgramIo io;
      RunProgram({u"report"}, &os, io);
      const auto below = [&](const std::string& module) {
        const auto line = std::find_if(io.console.begin(), io.console.end(),
                                       [&](auto& l) { return l.rfind(module + " ", 0) == 0; });
        return line + 1 < io.console.end() ? line[1].substr(kNameColumn) : "";
      };
      const std::string unknown = "the list of loaded drivers cannot be read | unknown";
      EXPECT_EQ(below("3G"), "driver: " + (available ? c.g3Driver : unknown)) << c.what;
      EXPECT_EQ(below("WiFi"), "driver: " + (available ? c.wifiDriver : unknown)) << c.what;
      const std::string result = io.console.back();
      EXPECT_EQ(
          result.substr(8, result.find(" (exit") - 8),
          available ? c.result : std::string(c.result).substr(0, std::string(c.result).find(',')))
          << c.what;
    }
  }
}

}  // namespace
}  // namespace hw
