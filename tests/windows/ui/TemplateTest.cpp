// The dialog templates as the window system loads them: every control in
// template order with its id, class, text, style and rectangle; the dialogs'
// own size, caption, font and styles. Styles are compared under masks: the
// window system adds bits of its own.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "UiTesting.h"
#include "eeprom/ModuleCells.h"
#include "framework/Dialog.h"
#include "framework/TabControl.h"
#include "setup/SelectionTable.h"
#include "ui/HWSetupDlgRes.h"
#include "ui/Page1Res.h"
#include "ui/Page2Res.h"

namespace {

constexpr DWORD kLabel = 0x50020000;
constexpr DWORD kButton = 0x50010000;
constexpr DWORD kHiddenButton = 0x40010000;
// The bits that the window system may add: the tab control clips its
// siblings, every dialog clips them and gets the 3D look, and the dialog
// manager moves BS_DEFPUSHBUTTON to the button that has the focus.
constexpr DWORD kControlStyleMask = ~static_cast<DWORD>(WS_CLIPSIBLINGS | BS_DEFPUSHBUTTON);
constexpr DWORD kDialogStyleMask = ~static_cast<DWORD>(WS_CLIPSIBLINGS | DS_3DLOOK);
// Dialogs are control parents; a modal frame brings its own edges.
constexpr DWORD kDialogExStyleMask =
    ~static_cast<DWORD>(WS_EX_CONTROLPARENT | WS_EX_WINDOWEDGE | WS_EX_DLGMODALFRAME);

struct Control {
  int id;
  const wchar_t* kind;
  const wchar_t* text;
  int x, y, width, height;
  DWORD style;
};

const Control kPage1[] = {
    {-1, L"Static", L"Keyboard Type:", 3, 0, 58, 10, kLabel},
    {1001, L"Button", L"All Func", 5, 10, 37, 14, kButton},
    {1000, L"Static", L"Unknown", 65, 0, 68, 8, kLabel},
    {-1, L"Static", L"Fingerprint Type:", 3, 24, 71, 10, kLabel},
    {1002, L"Button", L"Simple", 46, 10, 37, 14, kButton},
    {1008, L"Button", L"None", 18, 34, 45, 14, kButton},
    {1007, L"Static", L"Unknown", 80, 24, 53, 8, kLabel},
    {-1, L"Static", L"3G Module Type:", 3, 48, 57, 8, kLabel},
    {1009, L"Button", L"EM02", 71, 34, 45, 14, kButton},
    {1011, L"Button", L"None", 67, 58, 65, 14, kButton},
    {1010, L"Static", L"Unknown", 66, 48, 68, 8, kLabel},
    {-1, L"Static", L"LF Module Type:", 3, 89, 71, 10, kLabel},
    {1012, L"Button", L"HUAWEI_WCDMA", 71, 76, 18, 9, kHiddenButton},
    {1014, L"Button", L"OutSide", 18, 99, 45, 14, kButton},
    {1013, L"Static", L"Unknown", 80, 89, 53, 8, kLabel},
    {1016, L"Button", L"SIMCOM_WCDMA", 1, 58, 65, 14, kButton},
    {1017, L"Button", L"SIMCOM_CDMA2K", 1, 73, 65, 14, kButton},
    {1015, L"Button", L"Inside", 71, 99, 45, 14, kButton},
    {-1, L"Static", L"HandleKey Press:", 3, 114, 79, 10, kLabel},
    {1018, L"Static", L"Unknown", 87, 114, 46, 8, kLabel},
    {1019, L"Button", L"One Message", 1, 124, 65, 14, kButton},
    {1020, L"Button", L"Multi Message", 67, 124, 65, 14, kButton},
    {1003, L"Button", L"Turkey", 87, 10, 37, 14, kButton},
};

const Control kPage2[] = {
    {-1, L"Static", L"BlueTooth Type:", 3, 1, 64, 10, kLabel},
    {1011, L"Static", L"Unknown", 70, 1, 63, 8, kLabel},
    {1010, L"Button", L"46LCS3", 45, 11, 43, 14, kButton},
    {1012, L"Button", L"None", 89, 11, 43, 14, kButton},
    {1009, L"Button", L"2to1", 1, 11, 43, 14, kButton},
    {-1, L"Static", L"WiFi Type:", 3, 26, 51, 10, kLabel},
    {1018, L"Button", L"muRate 2to1", 0, 36, 52, 14, kButton},
    {1019, L"Static", L"Unknown", 65, 26, 68, 8, kLabel},
    {1020, L"Button", L"USI SD40", 52, 36, 40, 14, kButton},
    {1021, L"Button", L"None", 92, 36, 40, 14, kButton},
    {1022, L"Button", L"muRate 8XQF", 0, 51, 52, 14, kButton},
    {-1, L"Static", L"Serial Chip:", 2, 66, 51, 10, kLabel},
    {1023, L"Static", L"Unknown", 64, 66, 68, 8, kLabel},
    {1024, L"Button", L"VK3224", 1, 75, 52, 14, kButton},
    {1025, L"Button", L"74HC4052", 56, 75, 52, 14, kButton},
    {-1, L"Static", L"Power Chip:", 2, 91, 51, 10, kLabel},
    {1026, L"Static", L"Unknown", 64, 91, 68, 8, kLabel},
    {1027, L"Button", L"BQ27510", 1, 100, 52, 14, kButton},
    {1028, L"Button", L"None", 56, 99, 52, 14, kButton},
};

const Control kMain[] = {
    {IDC_TAB, WC_TABCONTROLW, L"", 0, 0, 158, 190, 0x50000000},
};

struct Template {
  const char* name;
  int id;
  const wchar_t* caption;
  const wchar_t* face;
  int width, height;
  DWORD style;
  const Control* controls;
  std::size_t count;
};

const Template kTemplates[] = {
    {"main window", IDD_HWSETUP_DIALOG, L"Hardware Setup V2.3", L"宋体", 158, 190, 0x90C808C0,
     kMain, std::size(kMain)},
    {"page one", IDD_PAGE1, L"", L"@宋体", 134, 144, 0x90080840, kPage1, std::size(kPage1)},
    {"page two", IDD_PAGE2, L"", L"@宋体", 134, 144, 0x90080840, kPage2, std::size(kPage2)},
};

// A template with nothing of the tool's behaviour behind it.
struct Loaded : fw::Dialog {
  explicit Loaded(int id) : fw::Dialog(id) {
    fw::TabControl::LoadClass();
    created = Create(nullptr);
  }
  bool created;
};

DWORD Style(HWND window, int which) {
  return static_cast<DWORD>(::GetWindowLongW(window, which));
}

TEST(Templates, HoldEveryControlInTemplateOrder) {
  for (const Template& t : kTemplates) {
    Loaded loaded(t.id);
    ASSERT_TRUE(loaded.created) << t.name;
    const std::vector<HWND> children = uitest::Children(loaded.hwnd());
    ASSERT_EQ(children.size(), t.count) << t.name;
    for (std::size_t i = 0; i < t.count; ++i) {
      const Control& want = t.controls[i];
      const HWND got = children[i];
      const std::string where = std::string(t.name) + ", control " + std::to_string(i + 1);
      EXPECT_EQ(static_cast<WORD>(::GetDlgCtrlID(got)), static_cast<WORD>(want.id)) << where;
      EXPECT_EQ(_wcsicmp(uitest::ClassOf(got).c_str(), want.kind), 0) << where;
      EXPECT_EQ(uitest::TextOf(got), want.text) << where;
      EXPECT_EQ(Style(got, GWL_STYLE) & kControlStyleMask, want.style)
          << where << std::hex << ": style 0x" << Style(got, GWL_STYLE);
      EXPECT_EQ(::IsWindowVisible(got) != FALSE, (want.style & WS_VISIBLE) != 0) << where;
      const RECT rect = uitest::DialogUnits(loaded.hwnd(), want.x, want.y, want.width, want.height);
      const RECT placed = uitest::RectIn(got, loaded.hwnd());
      EXPECT_TRUE(::EqualRect(&placed, &rect)) << where << ": rectangle";
    }
  }
}

TEST(Templates, HaveTheirSizeCaptionFontAndStyles) {
  const HDC screen = ::GetDC(nullptr);
  const int nine = -MulDiv(9, ::GetDeviceCaps(screen, LOGPIXELSY), 72);
  ::ReleaseDC(nullptr, screen);
  for (const Template& t : kTemplates) {
    Loaded loaded(t.id);
    ASSERT_TRUE(loaded.created) << t.name;
    RECT client;
    ::GetClientRect(loaded.hwnd(), &client);
    const RECT size = uitest::DialogUnits(loaded.hwnd(), 0, 0, t.width, t.height);
    EXPECT_TRUE(::EqualRect(&client, &size)) << t.name << ": " << t.width << " x " << t.height;
    EXPECT_EQ(uitest::TextOf(loaded.hwnd()), t.caption) << t.name;

    LOGFONTW font = {};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(loaded.hwnd(), WM_GETFONT, 0, 0)),
                 sizeof font, &font);
    EXPECT_STREQ(font.lfFaceName, t.face) << t.name;
    EXPECT_EQ(font.lfHeight, nine) << t.name << ": 9 points";

    EXPECT_EQ(Style(loaded.hwnd(), GWL_STYLE) & kDialogStyleMask, t.style)
        << t.name << std::hex << ": style 0x" << Style(loaded.hwnd(), GWL_STYLE);
    // The terminal's WS_EX_CAPTIONOKBTN (0x80000000) means nothing to a
    // desktop window system; Wine keeps the bit and the dialog works.
    EXPECT_EQ(Style(loaded.hwnd(), GWL_EXSTYLE) & kDialogExStyleMask, 0x80040000u)
        << t.name << std::hex << ": extended style 0x" << Style(loaded.hwnd(), GWL_EXSTYLE);
  }
}

// Every button of the selection table stands on its page with the row's
// caption, and every cell's label on its page reads "Unknown".
TEST(Templates, CarryEverySelectionButtonAndCellLabelOfTheirPage) {
  const Loaded page1(IDD_PAGE1);
  const Loaded page2(IDD_PAGE2);
  auto item = [&](hw::Page page, int id) {
    return ::GetDlgItem(page == hw::Page::kPage1 ? page1.hwnd() : page2.hwnd(), id);
  };
  for (const hw::SelectionAction& row : hw::kSelectionTable) {
    const HWND button = item(row.page, row.control);
    EXPECT_EQ(uitest::ClassOf(button), L"Button") << row.control;
    EXPECT_EQ(uitest::TextOf(button), reinterpret_cast<const wchar_t*>(row.caption)) << row.control;
  }
  for (const hw::ModuleCell& cell : hw::kModuleCells) {
    const HWND label = item(cell.page, cell.labelControl);
    EXPECT_EQ(uitest::ClassOf(label), L"Static") << cell.labelControl;
    EXPECT_EQ(uitest::TextOf(label), L"Unknown") << cell.labelControl;
  }
}

}  // namespace
