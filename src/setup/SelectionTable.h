#pragma once

#include <cstddef>
#include <cstdint>

#include "eeprom/ModuleCells.h"

namespace hw {

enum class Provisioning {
  kNone,
  kUsbHostOff,
  kUsbHostOn,
  kWifiUsiSd40,
  kWifiMurata8Xqf,
  kPsConfig,   // install "\Windows\PSconfig.psr"
  kPsConfig1,  // install "\Windows\PSconfig1.psr"
};

enum class Order {
  kPlain,         // write, refresh
  kGated,         // write; provision only if it succeeded, else trace; refresh
  kAfterRefresh,  // write, refresh, provision whatever the write did
};

// One button of a module page.
struct SelectionAction {
  Page page;
  int control;
  const char16_t* caption;
  Module cell;
  std::uint8_t code;
  Provisioning step;
  Order order;
  const char16_t* writeFailureLine;  // gated rows only
};

inline constexpr SelectionAction kSelectionTable[] = {
    {Page::kPage1, 1001, u"All Func", Module::kKeypad, 0xFF, Provisioning::kNone, Order::kPlain, nullptr},
    {Page::kPage1, 1002, u"Simple", Module::kKeypad, 0x32, Provisioning::kNone, Order::kPlain, nullptr},
    {Page::kPage1, 1003, u"Turkey", Module::kKeypad, 0x33, Provisioning::kNone, Order::kPlain, nullptr},
    {Page::kPage1, 1008, u"None", Module::kFingerprint, 0xFF, Provisioning::kNone, Order::kPlain, nullptr},
    {Page::kPage1, 1009, u"EM02", Module::kFingerprint, 0x01, Provisioning::kNone, Order::kPlain, nullptr},
    {Page::kPage1, 1011, u"None", Module::k3G, 0xFF, Provisioning::kUsbHostOff, Order::kGated,
     u"Korva_HWSetupDlg: DeviceIoControl() Failed 001!\r\n"},
    {Page::kPage1, 1012, u"HUAWEI_WCDMA", Module::k3G, 0x01, Provisioning::kUsbHostOn, Order::kGated,
     u"Korva_HWSetupDlg: DeviceIoControl() Failed 002!\r\n"},
    {Page::kPage1, 1016, u"SIMCOM_WCDMA", Module::k3G, 0x11, Provisioning::kUsbHostOn, Order::kGated,
     u"Korva_HWSetupDlg: DeviceIoControl() Failed 003!\r\n"},
    {Page::kPage1, 1017, u"SIMCOM_CDMA2K", Module::k3G, 0x12, Provisioning::kUsbHostOn, Order::kGated,
     u"Korva_HWSetupDlg: DeviceIoControl() Failed 004!\r\n"},
    {Page::kPage1, 1014, u"OutSide", Module::kLf, 0xFF, Provisioning::kNone, Order::kPlain, nullptr},
    {Page::kPage1, 1015, u"Inside", Module::kLf, 0x01, Provisioning::kNone, Order::kPlain, nullptr},
    {Page::kPage1, 1019, u"One Message", Module::kHandleKey, 0xFF, Provisioning::kNone, Order::kPlain, nullptr},
    {Page::kPage1, 1020, u"Multi Message", Module::kHandleKey, 0x01, Provisioning::kNone, Order::kPlain, nullptr},
    {Page::kPage2, 1009, u"2to1", Module::kBluetooth, 0xFF, Provisioning::kPsConfig, Order::kAfterRefresh, nullptr},
    {Page::kPage2, 1010, u"46LCS3", Module::kBluetooth, 0x01, Provisioning::kPsConfig1, Order::kAfterRefresh, nullptr},
    {Page::kPage2, 1012, u"None", Module::kBluetooth, 0x00, Provisioning::kNone, Order::kPlain, nullptr},
    {Page::kPage2, 1018, u"muRate 2to1", Module::kWifi, 0xFF, Provisioning::kNone, Order::kPlain, nullptr},
    {Page::kPage2, 1020, u"USI SD40", Module::kWifi, 0x01, Provisioning::kWifiUsiSd40, Order::kAfterRefresh, nullptr},
    {Page::kPage2, 1021, u"None", Module::kWifi, 0x00, Provisioning::kNone, Order::kPlain, nullptr},
    {Page::kPage2, 1022, u"muRate 8XQF", Module::kWifi, 0x10, Provisioning::kWifiMurata8Xqf, Order::kAfterRefresh, nullptr},
    {Page::kPage2, 1024, u"VK3224", Module::kSerialChip, 0xFF, Provisioning::kNone, Order::kPlain, nullptr},
    {Page::kPage2, 1025, u"74HC4052", Module::kSerialChip, 0x01, Provisioning::kNone, Order::kPlain, nullptr},
    {Page::kPage2, 1027, u"BQ27510", Module::kPowerChip, 0xFF, Provisioning::kNone, Order::kPlain, nullptr},
    {Page::kPage2, 1028, u"None", Module::kPowerChip, 0x00, Provisioning::kNone, Order::kPlain, nullptr},
};

inline constexpr std::size_t kSelectionCount = sizeof kSelectionTable / sizeof kSelectionTable[0];

// The row of a page's button, or null when the page has no such button.
constexpr const SelectionAction* FindSelection(Page page, int control) {
  for (const SelectionAction& row : kSelectionTable) {
    if (row.page == page && row.control == control) return &row;
  }
  return nullptr;
}

constexpr std::size_t SelectionCount(Page page) {
  std::size_t n = 0;
  for (const SelectionAction& row : kSelectionTable) n += row.page == page ? 1 : 0;
  return n;
}

}  // namespace hw
