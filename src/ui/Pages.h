#pragma once

#include "eeprom/ModuleCells.h"
#include "framework/MessageTable.h"
#include "ui/ModulePageDlg.h"
#include "ui/Page1Res.h"
#include "ui/Page2Res.h"

// What sets the two module pages apart; everything else they share. The
// command tables hold one click row per button of the page, in selection
// table order (Pages.cpp).
struct Page1Layout {
  enum { kTemplate = IDD_PAGE1, kLabelCount = 5 };
  static const hw::Page kPage = hw::kPage1;
  static const int kLabels[kLabelCount];
  static const fw::MessageTable kCommandTable;
};

struct Page2Layout {
  enum { kTemplate = IDD_PAGE2, kLabelCount = 4 };
  static const hw::Page kPage = hw::kPage2;
  static const int kLabels[kLabelCount];
  static const fw::MessageTable kCommandTable;
};

class CPage1 : public CModulePage<Page1Layout> {
 public:
  virtual ~CPage1() {}
};

class CPage2 : public CModulePage<Page2Layout> {
 public:
  virtual ~CPage2() {}
};
