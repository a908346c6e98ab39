#pragma once

#include <cstddef>
#include <cstdint>

namespace hw {

enum class Page { kPage1, kPage2 };

enum class Module {
  kKeypad,
  kFingerprint,
  k3G,
  kLf,
  kHandleKey,
  kBluetooth,
  kWifi,
  kSerialChip,
  kPowerChip,
};

// One known code of a cell: what its label shows and what the trace says.
struct CellCode {
  std::uint8_t code;
  const char16_t* label;
  const char16_t* trace;
};

// The fixed description of one EEPROM module cell. Texts are zero-terminated
// because they go to the OS as they are.
struct ModuleCell {
  Module module;
  std::uint8_t address;
  Page page;
  int labelControl;
  const char16_t* rawTrace;  // one "%X" for the value read
  const CellCode* codes;     // compared in order
  std::size_t codeCount;
  const char16_t* fallbackTrace;  // for a value no code matches; the label is then kUnknownLabel
};

inline constexpr char16_t kUnknownLabel[] = u"Unknown";
inline constexpr char16_t kReadFailedLine[] =
    u"Korva_HWSetupDlg: DeviceIoControl(EOM1, EEPROM_READ) Failed!\r\n";

namespace cells {

inline constexpr CellCode kKeypadCodes[] = {
    {0x32, u"Simple", u"Korva_HWSetupDlg: KeyPad Type: 0x32 - Simple Keypad\r\n"},
    {0x33, u"Turkey", u"Korva_HWSetupDlg: KeyPad Type: 0x33 - Turkey Keypad\r\n"},
    {0xFF, u"All Func", u"Korva_HWSetupDlg: KeyPad Type: 0xFF - Full Function Keypad\r\n"},
};
inline constexpr CellCode kFingerprintCodes[] = {
    {0x01, u"EM02", u"Korva_HWSetupDlg: FingerPrint Type: 0x01 - EM02\r\n"},
    {0xFF, u"None", u"Korva_HWSetupDlg: FingerPrint Type: 0xFF - No FingerPrint\r\n"},
};
inline constexpr CellCode k3GCodes[] = {
    {0x01, u"Huawei WCDMA", u"Korva_HWSetupDlg: 3G Type: 0x01 - HuaWei 3G\r\n"},
    {0x11, u"SIMCOM WCDMA", u"Korva_HWSetupDlg: 3G Type: 0x11 - SIMCOM WCDMA\r\n"},
    {0x12, u"SIMCOM CDMA2000", u"Korva_HWSetupDlg: 3G Type: 0x12 - SIMCOM CDMA2000\r\n"},
    {0xFF, u"None", u"Korva_HWSetupDlg: 3G Type: 0xFF - No 3G\r\n"},
};
inline constexpr CellCode kLfCodes[] = {
    {0x01, u"Inside", u"Korva_HWSetupDlg: LF Type: 0x01 - Inside LF\r\n"},
    {0xFF, u"Outside", u"Korva_HWSetupDlg: LF Type: 0xFF - OutSide LF\r\n"},
};
inline constexpr CellCode kHandleKeyCodes[] = {
    {0x01, u"Multi", u"Korva_HWSetupDlg: HandleKey Type: 0x01 - Multi message\r\n"},
    {0xFF, u"One", u"Korva_HWSetupDlg: HandleKey Type: 0xFF - One Message\r\n"},
};
inline constexpr CellCode kBluetoothCodes[] = {
    {0x01, u"muRate 46LCS3", u"Korva_HWSetupDlg: BT Type: 0x01 - muRate LBMA46LCS3-TEMP\r\n"},
    {0xFF, u"muRata 2To1", u"Korva_HWSetupDlg: BT Type: 0xFF - muRata 2To1\r\n"},
    {0x00, u"None", u"Korva_HWSetupDlg: BT Type: 0x00 - None\r\n"},
};
inline constexpr CellCode kWifiCodes[] = {
    {0x01, u"USI SD40", u"Korva_HWSetupDlg: WiFi Type: 0x01 - USI SD40\r\n"},
    {0xFF, u"muRata 2To1", u"Korva_HWSetupDlg: WiFi Type: 0xFF - muRata 2To1\r\n"},
    {0x10, u"muRata 8XQF", u"Korva_HWSetupDlg: WiFi Type: 0x10 - muRata 8XQF\r\n"},
    {0x00, u"None", u"Korva_HWSetupDlg: WiFi Type: 0x00 - None\r\n"},
};
inline constexpr CellCode kSerialChipCodes[] = {
    {0x01, u"74HC4052", u"Korva_HWSetupDlg: Serial Chip Type: 0x01 - 74HC4052\r\n"},
    {0xFF, u"VK3224", u"Korva_HWSetupDlg: Serial Chip Type: 0xFF - VK3224\r\n"},
};
inline constexpr CellCode kPowerChipCodes[] = {
    {0x00, u"None", u"Korva_HWSetupDlg: Power Chip Type: 0x00 - None\r\n"},
    {0xFF, u"BQ27510", u"Korva_HWSetupDlg: Power Chip Type: 0xFF - BQ27510\r\n"},
};

template <std::size_t N>
constexpr std::size_t CountOf(const CellCode (&)[N]) {
  return N;
}

}  // namespace cells

// The nine cells, in refresh order: page one's five, then page two's four.
inline constexpr ModuleCell kModuleCells[] = {
    {Module::kKeypad, 0x69, Page::kPage1, 1000, u"Korva_HWSetupDlg: Keypad main version: 0x%X \r\n",
     cells::kKeypadCodes, cells::CountOf(cells::kKeypadCodes),
     u"Korva_HWSetupDlg: KeyPad Type: Unknown\r\n"},
    {Module::kFingerprint, 0x81, Page::kPage1, 1007,
     u"Korva_HWSetupDlg: FingerPrint main version: 0x%X \r\n", cells::kFingerprintCodes,
     cells::CountOf(cells::kFingerprintCodes), u"Korva_HWSetupDlg: FingerPrint Type: Unknown\r\n"},
    {Module::k3G, 0x91, Page::kPage1, 1010, u"Korva_HWSetupDlg: 3G main version: 0x%X \r\n",
     cells::k3GCodes, cells::CountOf(cells::k3GCodes), u"Korva_HWSetupDlg: 3G Type: Unknown\r\n"},
    {Module::kLf, 0x99, Page::kPage1, 1013, u"Korva_HWSetupDlg: LF main version: 0x%X \r\n",
     cells::kLfCodes, cells::CountOf(cells::kLfCodes), u"Korva_HWSetupDlg: LF Type: Unknown\r\n"},
    {Module::kHandleKey, 0xA1, Page::kPage1, 1018,
     u"Korva_HWSetupDlg: HandleKeyType main version: 0x%X \r\n", cells::kHandleKeyCodes,
     cells::CountOf(cells::kHandleKeyCodes), u"Korva_HWSetupDlg: HandleKey Type: Unknown\r\n"},
    {Module::kBluetooth, 0x19, Page::kPage2, 1011, u"Korva_HWSetupDlg: BT Type: 0x%X \r\n",
     cells::kBluetoothCodes, cells::CountOf(cells::kBluetoothCodes),
     u"Korva_HWSetupDlg: BT Type: Unknown\r\n"},
    {Module::kWifi, 0x11, Page::kPage2, 1019, u"Korva_HWSetupDlg: WiFi Type: 0x%X \r\n",
     cells::kWifiCodes, cells::CountOf(cells::kWifiCodes),
     u"Korva_HWSetupDlg: WiFi Type: Unknown\r\n"},
    {Module::kSerialChip, 0xB1, Page::kPage2, 1023,
     u"Korva_HWSetupDlg: Serial Chip Type: 0x%X \r\n", cells::kSerialChipCodes,
     cells::CountOf(cells::kSerialChipCodes), u"Korva_HWSetupDlg: Serial Chip Type: Unknown\r\n"},
    {Module::kPowerChip, 0xA9, Page::kPage2, 1026, u"Korva_HWSetupDlg: Power Chip Type: 0x%X \r\n",
     cells::kPowerChipCodes, cells::CountOf(cells::kPowerChipCodes),
     u"Korva_HWSetupDlg: Power Chip: Unknown\r\n"},
};

// The cell of a module. The table is indexed by Module; the static_assert below
// keeps it that way.
constexpr const ModuleCell& CellOf(Module module) {
  return kModuleCells[static_cast<std::size_t>(module)];
}

constexpr bool CellsIndexedByModule() {
  for (std::size_t i = 0; i < sizeof kModuleCells / sizeof kModuleCells[0]; ++i) {
    if (static_cast<std::size_t>(kModuleCells[i].module) != i) return false;
  }
  return true;
}
static_assert(CellsIndexedByModule(), "kModuleCells must be in Module order");

}  // namespace hw
