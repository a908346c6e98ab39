#include "setup/SelectionTable.h"

namespace hw {

const SelectionAction kSelectionTable[] = {
    {kPage1, 1001, HW_TEXT("All Func"), kKeypad, 0xFF, kNone, kPlain, NULL},
    {kPage1, 1002, HW_TEXT("Simple"), kKeypad, 0x32, kNone, kPlain, NULL},
    {kPage1, 1003, HW_TEXT("Turkey"), kKeypad, 0x33, kNone, kPlain, NULL},
    {kPage1, 1008, HW_TEXT("None"), kFingerprint, 0xFF, kNone, kPlain, NULL},
    {kPage1, 1009, HW_TEXT("EM02"), kFingerprint, 0x01, kNone, kPlain, NULL},
    {kPage1, 1011, HW_TEXT("None"), k3G, 0xFF, kUsbHostOff, kGated,
     HW_TEXT("Korva_HWSetupDlg: DeviceIoControl() Failed 001!\r\n")},
    {kPage1, 1012, HW_TEXT("HUAWEI_WCDMA"), k3G, 0x01, kUsbHostOn, kGated,
     HW_TEXT("Korva_HWSetupDlg: DeviceIoControl() Failed 002!\r\n")},
    {kPage1, 1016, HW_TEXT("SIMCOM_WCDMA"), k3G, 0x11, kUsbHostOn, kGated,
     HW_TEXT("Korva_HWSetupDlg: DeviceIoControl() Failed 003!\r\n")},
    {kPage1, 1017, HW_TEXT("SIMCOM_CDMA2K"), k3G, 0x12, kUsbHostOn, kGated,
     HW_TEXT("Korva_HWSetupDlg: DeviceIoControl() Failed 004!\r\n")},
    {kPage1, 1014, HW_TEXT("OutSide"), kLf, 0xFF, kNone, kPlain, NULL},
    {kPage1, 1015, HW_TEXT("Inside"), kLf, 0x01, kNone, kPlain, NULL},
    {kPage1, 1019, HW_TEXT("One Message"), kHandleKey, 0xFF, kNone, kPlain, NULL},
    {kPage1, 1020, HW_TEXT("Multi Message"), kHandleKey, 0x01, kNone, kPlain, NULL},
    {kPage2, 1009, HW_TEXT("2to1"), kBluetooth, 0xFF, kPsConfig, kAfterRefresh, NULL},
    {kPage2, 1010, HW_TEXT("46LCS3"), kBluetooth, 0x01, kPsConfig1, kAfterRefresh, NULL},
    {kPage2, 1012, HW_TEXT("None"), kBluetooth, 0x00, kNone, kPlain, NULL},
    {kPage2, 1018, HW_TEXT("muRate 2to1"), kWifi, 0xFF, kNone, kPlain, NULL},
    {kPage2, 1020, HW_TEXT("USI SD40"), kWifi, 0x01, kWifiUsiSd40, kAfterRefresh, NULL},
    {kPage2, 1021, HW_TEXT("None"), kWifi, 0x00, kNone, kPlain, NULL},
    {kPage2, 1022, HW_TEXT("muRate 8XQF"), kWifi, 0x10, kWifiMurata8Xqf, kAfterRefresh, NULL},
    {kPage2, 1024, HW_TEXT("VK3224"), kSerialChip, 0xFF, kNone, kPlain, NULL},
    {kPage2, 1025, HW_TEXT("74HC4052"), kSerialChip, 0x01, kNone, kPlain, NULL},
    {kPage2, 1027, HW_TEXT("BQ27510"), kPowerChip, 0xFF, kNone, kPlain, NULL},
    {kPage2, 1028, HW_TEXT("None"), kPowerChip, 0x00, kNone, kPlain, NULL},
};

const SelectionAction* FindSelection(Page page, int control) {
  for (size_t i = 0; i < kSelectionCount; ++i) {
    const SelectionAction& row = kSelectionTable[i];
    if (row.page == page && row.control == control) return &row;
  }
  return NULL;
}

size_t SelectionCount(Page page) {
  size_t n = 0;
  for (size_t i = 0; i < kSelectionCount; ++i) n += kSelectionTable[i].page == page ? 1 : 0;
  return n;
}

}  // namespace hw
