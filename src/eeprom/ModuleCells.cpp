#include "eeprom/ModuleCells.h"

namespace hw {

const Char kUnknownLabel[] = HW_TEXT("Unknown");
const Char kReadFailedLine[] =
    HW_TEXT("Korva_HWSetupDlg: DeviceIoControl(EOM1, EEPROM_READ) Failed!\r\n");

namespace {

const CellCode kKeypadCodes[] = {
    {0x32, HW_TEXT("Simple"), HW_TEXT("Korva_HWSetupDlg: KeyPad Type: 0x32 - Simple Keypad\r\n")},
    {0x33, HW_TEXT("Turkey"), HW_TEXT("Korva_HWSetupDlg: KeyPad Type: 0x33 - Turkey Keypad\r\n")},
    {0xFF, HW_TEXT("All Func"),
     HW_TEXT("Korva_HWSetupDlg: KeyPad Type: 0xFF - Full Function Keypad\r\n")},
};
const CellCode kFingerprintCodes[] = {
    {0x01, HW_TEXT("EM02"), HW_TEXT("Korva_HWSetupDlg: FingerPrint Type: 0x01 - EM02\r\n")},
    {0xFF, HW_TEXT("None"), HW_TEXT("Korva_HWSetupDlg: FingerPrint Type: 0xFF - No FingerPrint\r\n")},
};
const CellCode k3GCodes[] = {
    {0x01, HW_TEXT("Huawei WCDMA"), HW_TEXT("Korva_HWSetupDlg: 3G Type: 0x01 - HuaWei 3G\r\n")},
    {0x11, HW_TEXT("SIMCOM WCDMA"), HW_TEXT("Korva_HWSetupDlg: 3G Type: 0x11 - SIMCOM WCDMA\r\n")},
    {0x12, HW_TEXT("SIMCOM CDMA2000"),
     HW_TEXT("Korva_HWSetupDlg: 3G Type: 0x12 - SIMCOM CDMA2000\r\n")},
    {0xFF, HW_TEXT("None"), HW_TEXT("Korva_HWSetupDlg: 3G Type: 0xFF - No 3G\r\n")},
};
const CellCode kLfCodes[] = {
    {0x01, HW_TEXT("Inside"), HW_TEXT("Korva_HWSetupDlg: LF Type: 0x01 - Inside LF\r\n")},
    {0xFF, HW_TEXT("Outside"), HW_TEXT("Korva_HWSetupDlg: LF Type: 0xFF - OutSide LF\r\n")},
};
const CellCode kHandleKeyCodes[] = {
    {0x01, HW_TEXT("Multi"), HW_TEXT("Korva_HWSetupDlg: HandleKey Type: 0x01 - Multi message\r\n")},
    {0xFF, HW_TEXT("One"), HW_TEXT("Korva_HWSetupDlg: HandleKey Type: 0xFF - One Message\r\n")},
};
const CellCode kBluetoothCodes[] = {
    {0x01, HW_TEXT("muRate 46LCS3"),
     HW_TEXT("Korva_HWSetupDlg: BT Type: 0x01 - muRate LBMA46LCS3-TEMP\r\n")},
    {0xFF, HW_TEXT("muRata 2To1"), HW_TEXT("Korva_HWSetupDlg: BT Type: 0xFF - muRata 2To1\r\n")},
    {0x00, HW_TEXT("None"), HW_TEXT("Korva_HWSetupDlg: BT Type: 0x00 - None\r\n")},
};
const CellCode kWifiCodes[] = {
    {0x01, HW_TEXT("USI SD40"), HW_TEXT("Korva_HWSetupDlg: WiFi Type: 0x01 - USI SD40\r\n")},
    {0xFF, HW_TEXT("muRata 2To1"), HW_TEXT("Korva_HWSetupDlg: WiFi Type: 0xFF - muRata 2To1\r\n")},
    {0x10, HW_TEXT("muRata 8XQF"), HW_TEXT("Korva_HWSetupDlg: WiFi Type: 0x10 - muRata 8XQF\r\n")},
    {0x00, HW_TEXT("None"), HW_TEXT("Korva_HWSetupDlg: WiFi Type: 0x00 - None\r\n")},
};
const CellCode kSerialChipCodes[] = {
    {0x01, HW_TEXT("74HC4052"), HW_TEXT("Korva_HWSetupDlg: Serial Chip Type: 0x01 - 74HC4052\r\n")},
    {0xFF, HW_TEXT("VK3224"), HW_TEXT("Korva_HWSetupDlg: Serial Chip Type: 0xFF - VK3224\r\n")},
};
const CellCode kPowerChipCodes[] = {
    {0x00, HW_TEXT("None"), HW_TEXT("Korva_HWSetupDlg: Power Chip Type: 0x00 - None\r\n")},
    {0xFF, HW_TEXT("BQ27510"), HW_TEXT("Korva_HWSetupDlg: Power Chip Type: 0xFF - BQ27510\r\n")},
};

}  // namespace

const ModuleCell kModuleCells[] = {
    {kKeypad, 0x69, kPage1, 1000, HW_TEXT("Korva_HWSetupDlg: Keypad main version: 0x%X \r\n"),
     kKeypadCodes, HW_COUNT_OF(kKeypadCodes), HW_TEXT("Korva_HWSetupDlg: KeyPad Type: Unknown\r\n")},
    {kFingerprint, 0x81, kPage1, 1007,
     HW_TEXT("Korva_HWSetupDlg: FingerPrint main version: 0x%X \r\n"), kFingerprintCodes, HW_COUNT_OF(kFingerprintCodes),
     HW_TEXT("Korva_HWSetupDlg: FingerPrint Type: Unknown\r\n")},
    {k3G, 0x91, kPage1, 1010, HW_TEXT("Korva_HWSetupDlg: 3G main version: 0x%X \r\n"),
     k3GCodes, HW_COUNT_OF(k3GCodes), HW_TEXT("Korva_HWSetupDlg: 3G Type: Unknown\r\n")},
    {kLf, 0x99, kPage1, 1013, HW_TEXT("Korva_HWSetupDlg: LF main version: 0x%X \r\n"),
     kLfCodes, HW_COUNT_OF(kLfCodes), HW_TEXT("Korva_HWSetupDlg: LF Type: Unknown\r\n")},
    {kHandleKey, 0xA1, kPage1, 1018,
     HW_TEXT("Korva_HWSetupDlg: HandleKeyType main version: 0x%X \r\n"), kHandleKeyCodes, HW_COUNT_OF(kHandleKeyCodes),
     HW_TEXT("Korva_HWSetupDlg: HandleKey Type: Unknown\r\n")},
    {kBluetooth, 0x19, kPage2, 1011, HW_TEXT("Korva_HWSetupDlg: BT Type: 0x%X \r\n"),
     kBluetoothCodes, HW_COUNT_OF(kBluetoothCodes), HW_TEXT("Korva_HWSetupDlg: BT Type: Unknown\r\n")},
    {kWifi, 0x11, kPage2, 1019, HW_TEXT("Korva_HWSetupDlg: WiFi Type: 0x%X \r\n"),
     kWifiCodes, HW_COUNT_OF(kWifiCodes), HW_TEXT("Korva_HWSetupDlg: WiFi Type: Unknown\r\n")},
    {kSerialChip, 0xB1, kPage2, 1023, HW_TEXT("Korva_HWSetupDlg: Serial Chip Type: 0x%X \r\n"),
     kSerialChipCodes, HW_COUNT_OF(kSerialChipCodes), HW_TEXT("Korva_HWSetupDlg: Serial Chip Type: Unknown\r\n")},
    {kPowerChip, 0xA9, kPage2, 1026, HW_TEXT("Korva_HWSetupDlg: Power Chip Type: 0x%X \r\n"),
     kPowerChipCodes, HW_COUNT_OF(kPowerChipCodes), HW_TEXT("Korva_HWSetupDlg: Power Chip: Unknown\r\n")},
};

}  // namespace hw
