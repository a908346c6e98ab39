#include "Catalogue.h"

#include <cstdio>
#include <stdexcept>

namespace e2e {
namespace {

// A function, not a static string: the tables may be built while other files'
// statics are initialised, before a string of this file would be.
std::string TracePrefix() {
  return "Korva_HWSetupDlg: ";
}

std::vector<CellEntry> MakeCells() {
  return {
      {"keypad",
       0x69,
       1,
       1000,
       TracePrefix() + "Keypad main version: 0x%X \r\n",
       {{0x32, "Simple", TracePrefix() + "KeyPad Type: 0x32 - Simple Keypad\r\n"},
        {0x33, "Turkey", TracePrefix() + "KeyPad Type: 0x33 - Turkey Keypad\r\n"},
        {0xFF, "All Func", TracePrefix() + "KeyPad Type: 0xFF - Full Function Keypad\r\n"}},
       TracePrefix() + "KeyPad Type: Unknown\r\n"},
      {"fingerprint",
       0x81,
       1,
       1007,
       TracePrefix() + "FingerPrint main version: 0x%X \r\n",
       {{0x01, "EM02", TracePrefix() + "FingerPrint Type: 0x01 - EM02\r\n"},
        {0xFF, "None", TracePrefix() + "FingerPrint Type: 0xFF - No FingerPrint\r\n"}},
       TracePrefix() + "FingerPrint Type: Unknown\r\n"},
      {"3G",
       0x91,
       1,
       1010,
       TracePrefix() + "3G main version: 0x%X \r\n",
       {{0x01, "Huawei WCDMA", TracePrefix() + "3G Type: 0x01 - HuaWei 3G\r\n"},
        {0x11, "SIMCOM WCDMA", TracePrefix() + "3G Type: 0x11 - SIMCOM WCDMA\r\n"},
        {0x12, "SIMCOM CDMA2000", TracePrefix() + "3G Type: 0x12 - SIMCOM CDMA2000\r\n"},
        {0xFF, "None", TracePrefix() + "3G Type: 0xFF - No 3G\r\n"}},
       TracePrefix() + "3G Type: Unknown\r\n"},
      {"LF",
       0x99,
       1,
       1013,
       TracePrefix() + "LF main version: 0x%X \r\n",
       {{0x01, "Inside", TracePrefix() + "LF Type: 0x01 - Inside LF\r\n"},
        {0xFF, "Outside", TracePrefix() + "LF Type: 0xFF - OutSide LF\r\n"}},
       TracePrefix() + "LF Type: Unknown\r\n"},
      {"handle key",
       0xA1,
       1,
       1018,
       TracePrefix() + "HandleKeyType main version: 0x%X \r\n",
       {{0x01, "Multi", TracePrefix() + "HandleKey Type: 0x01 - Multi message\r\n"},
        {0xFF, "One", TracePrefix() + "HandleKey Type: 0xFF - One Message\r\n"}},
       TracePrefix() + "HandleKey Type: Unknown\r\n"},
      {"Bluetooth",
       0x19,
       2,
       1011,
       TracePrefix() + "BT Type: 0x%X \r\n",
       {{0x01, "muRate 46LCS3", TracePrefix() + "BT Type: 0x01 - muRate LBMA46LCS3-TEMP\r\n"},
        {0xFF, "muRata 2To1", TracePrefix() + "BT Type: 0xFF - muRata 2To1\r\n"},
        {0x00, "None", TracePrefix() + "BT Type: 0x00 - None\r\n"}},
       TracePrefix() + "BT Type: Unknown\r\n"},
      {"WiFi",
       0x11,
       2,
       1019,
       TracePrefix() + "WiFi Type: 0x%X \r\n",
       {{0x01, "USI SD40", TracePrefix() + "WiFi Type: 0x01 - USI SD40\r\n"},
        {0xFF, "muRata 2To1", TracePrefix() + "WiFi Type: 0xFF - muRata 2To1\r\n"},
        {0x10, "muRata 8XQF", TracePrefix() + "WiFi Type: 0x10 - muRata 8XQF\r\n"},
        {0x00, "None", TracePrefix() + "WiFi Type: 0x00 - None\r\n"}},
       TracePrefix() + "WiFi Type: Unknown\r\n"},
      {"serial chip",
       0xB1,
       2,
       1023,
       TracePrefix() + "Serial Chip Type: 0x%X \r\n",
       {{0x01, "74HC4052", TracePrefix() + "Serial Chip Type: 0x01 - 74HC4052\r\n"},
        {0xFF, "VK3224", TracePrefix() + "Serial Chip Type: 0xFF - VK3224\r\n"}},
       TracePrefix() + "Serial Chip Type: Unknown\r\n"},
      {"power chip",
       0xA9,
       2,
       1026,
       TracePrefix() + "Power Chip Type: 0x%X \r\n",
       {{0x00, "None", TracePrefix() + "Power Chip Type: 0x00 - None\r\n"},
        {0xFF, "BQ27510", TracePrefix() + "Power Chip Type: 0xFF - BQ27510\r\n"}},
       TracePrefix() + "Power Chip: Unknown\r\n"},
  };
}

std::vector<ButtonRow> MakeButtons() {
  using E = Effect;
  return {
      {1, 1001, "All Func", 0x69, 0xFF, E::kNone, 0, true},
      {1, 1002, "Simple", 0x69, 0x32, E::kNone, 0, true},
      {1, 1003, "Turkey", 0x69, 0x33, E::kNone, 0, true},
      {1, 1008, "None", 0x81, 0xFF, E::kNone, 0, true},
      {1, 1009, "EM02", 0x81, 0x01, E::kNone, 0, true},
      {1, 1011, "None", 0x91, 0xFF, E::kUsbHostOff, 1, true},
      {1, 1012, "HUAWEI_WCDMA", 0x91, 0x01, E::kUsbHostOn, 2, false},
      {1, 1016, "SIMCOM_WCDMA", 0x91, 0x11, E::kUsbHostOn, 3, true},
      {1, 1017, "SIMCOM_CDMA2K", 0x91, 0x12, E::kUsbHostOn, 4, true},
      {1, 1014, "OutSide", 0x99, 0xFF, E::kNone, 0, true},
      {1, 1015, "Inside", 0x99, 0x01, E::kNone, 0, true},
      {1, 1019, "One Message", 0xA1, 0xFF, E::kNone, 0, true},
      {1, 1020, "Multi Message", 0xA1, 0x01, E::kNone, 0, true},
      {2, 1009, "2to1", 0x19, 0xFF, E::kPsConfig, 0, true},
      {2, 1010, "46LCS3", 0x19, 0x01, E::kPsConfig1, 0, true},
      {2, 1012, "None", 0x19, 0x00, E::kNone, 0, true},
      {2, 1018, "muRate 2to1", 0x11, 0xFF, E::kNone, 0, true},
      {2, 1020, "USI SD40", 0x11, 0x01, E::kWifiUsiSd40, 0, true},
      {2, 1021, "None", 0x11, 0x00, E::kNone, 0, true},
      {2, 1022, "muRate 8XQF", 0x11, 0x10, E::kWifiMurata8Xqf, 0, true},
      {2, 1024, "VK3224", 0xB1, 0xFF, E::kNone, 0, true},
      {2, 1025, "74HC4052", 0xB1, 0x01, E::kNone, 0, true},
      {2, 1027, "BQ27510", 0xA9, 0xFF, E::kNone, 0, true},
      {2, 1028, "None", 0xA9, 0x00, E::kNone, 0, true},
  };
}

const std::string kUsbHostKey = "Drivers\\BuiltIn\\HCD_HSH1";
const std::string kCard4319 =
    "Drivers\\SDCARD\\ClientDrivers\\Custom\\MANF-02D0-CARDID-4319-FUNC-1";
const std::string kCard4329 =
    "Drivers\\SDCARD\\ClientDrivers\\Custom\\MANF-02D0-CARDID-4329-FUNC-1";

std::vector<RegistryValue> WifiSet(const std::string& dll, const std::string& prefix,
                                   const std::string& instance) {
  std::vector<RegistryValue> values;
  for (const std::string& key : {kCard4319, kCard4329}) {
    values.push_back({key, "Dll", dll});
    values.push_back({key, "Prefix", prefix});
    values.push_back({key, "Instance0", instance});
    values.push_back({key, "Instance1", instance});
  }
  return values;
}

}  // namespace

const std::vector<CellEntry>& Cells() {
  static const std::vector<CellEntry> cells = MakeCells();
  return cells;
}

const CellEntry& CellAt(std::uint8_t address) {
  for (const CellEntry& cell : Cells()) {
    if (cell.address == address) return cell;
  }
  throw std::logic_error("no module cell at that address");
}

std::string LabelOf(const CellEntry& cell, std::uint8_t value) {
  for (const KnownCode& known : cell.codes) {
    if (known.code == value) return known.label;
  }
  return "Unknown";
}

std::vector<std::string> RefreshLines(const CellEntry& cell, std::uint8_t value) {
  char raw[128];
  std::snprintf(raw, sizeof raw, cell.rawTrace.c_str(), static_cast<unsigned>(value));
  std::string decoded = cell.fallbackTrace;
  for (const KnownCode& known : cell.codes) {
    if (known.code == value) decoded = known.trace;
  }
  return {raw, decoded};
}

std::string WriteFailedLine(int number) {
  char line[96];
  std::snprintf(line, sizeof line, "Korva_HWSetupDlg: DeviceIoControl() Failed %03d!\r\n", number);
  return line;
}

void PrintTo(const ButtonRow& button, std::ostream* out) {
  *out << "page " << button.page << " button " << button.id << " \"" << button.caption << "\"";
}

const std::vector<ButtonRow>& Buttons() {
  static const std::vector<ButtonRow> buttons = MakeButtons();
  return buttons;
}

const ButtonRow& ButtonOn(int page, int id) {
  for (const ButtonRow& button : Buttons()) {
    if (button.page == page && button.id == id) return button;
  }
  throw std::logic_error("no such button");
}

const std::vector<RegistryValue>& ManagedValues() {
  static const std::vector<RegistryValue> values = [] {
    std::vector<RegistryValue> all = RegistryWritesOf(Effect::kUsbHostOn);
    for (const RegistryValue& value : RegistryWritesOf(Effect::kWifiUsiSd40)) all.push_back(value);
    return all;
  }();
  return values;
}

std::vector<RegistryValue> RegistryWritesOf(Effect effect) {
  switch (effect) {
    case Effect::kUsbHostOff: return {{kUsbHostKey, "Dll", "xxx"}, {kUsbHostKey, "IsrDll", "xxx"}};
    case Effect::kUsbHostOn:
      return {{kUsbHostKey, "Dll", "hcd_hsh1.dll"}, {kUsbHostKey, "IsrDll", "giisr.dll"}};
    case Effect::kWifiUsiSd40: return WifiSet("sdcsd40n.dll", "SSI", "SDCSD40N:SDCSD40N1");
    case Effect::kWifiMurata8Xqf: return WifiSet("GarnetSDN.dll", "NDL", "GarnetSDN:GarnetSDN1");
    default: return {};
  }
}

std::string InstallSourceOf(Effect effect) {
  if (effect == Effect::kPsConfig) return "Windows/PSconfig.psr";
  if (effect == Effect::kPsConfig1) return "Windows/PSconfig1.psr";
  return {};
}

}  // namespace e2e
