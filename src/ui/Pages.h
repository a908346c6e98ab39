#pragma once

#include <array>

#include "eeprom/ModuleCells.h"
#include "ui/ModulePageDlg.h"
#include "ui/Page1Res.h"
#include "ui/Page2Res.h"

// What sets the two module pages apart; everything else they share.
struct Page1Layout {
  static constexpr int kTemplate = IDD_PAGE1;
  static constexpr hw::Page kPage = hw::Page::kPage1;
  static constexpr std::array<int, 5> kLabels = {IDC_KEYPAD_LABEL, IDC_FINGERPRINT_LABEL,
                                                 IDC_3G_LABEL, IDC_LF_LABEL, IDC_HANDLEKEY_LABEL};
};

struct Page2Layout {
  static constexpr int kTemplate = IDD_PAGE2;
  static constexpr hw::Page kPage = hw::Page::kPage2;
  static constexpr std::array<int, 4> kLabels = {IDC_BT_LABEL, IDC_WIFI_LABEL, IDC_SERIAL_LABEL,
                                                 IDC_POWER_LABEL};
};

class CPage1 final : public CModulePage<Page1Layout> {};
class CPage2 final : public CModulePage<Page2Layout> {};
