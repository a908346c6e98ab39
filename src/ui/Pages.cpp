#include "ui/Pages.h"

const int Page1Layout::kLabels[] = {IDC_KEYPAD_LABEL, IDC_FINGERPRINT_LABEL, IDC_3G_LABEL,
                                    IDC_LF_LABEL, IDC_HANDLEKEY_LABEL};
const int Page2Layout::kLabels[] = {IDC_BT_LABEL, IDC_WIFI_LABEL, IDC_SERIAL_LABEL,
                                    IDC_POWER_LABEL};

namespace {

const fw::MessageRow kPage1Rows[] = {
    {WM_COMMAND, BN_CLICKED, IDC_KEYPAD_ALL_FUNC, &CPage1::OnClick},
    {WM_COMMAND, BN_CLICKED, IDC_KEYPAD_SIMPLE, &CPage1::OnClick},
    {WM_COMMAND, BN_CLICKED, IDC_KEYPAD_TURKEY, &CPage1::OnClick},
    {WM_COMMAND, BN_CLICKED, IDC_FINGERPRINT_NONE, &CPage1::OnClick},
    {WM_COMMAND, BN_CLICKED, IDC_FINGERPRINT_EM02, &CPage1::OnClick},
    {WM_COMMAND, BN_CLICKED, IDC_3G_NONE, &CPage1::OnClick},
    {WM_COMMAND, BN_CLICKED, IDC_3G_HUAWEI_WCDMA, &CPage1::OnClick},
    {WM_COMMAND, BN_CLICKED, IDC_3G_SIMCOM_WCDMA, &CPage1::OnClick},
    {WM_COMMAND, BN_CLICKED, IDC_3G_SIMCOM_CDMA2K, &CPage1::OnClick},
    {WM_COMMAND, BN_CLICKED, IDC_LF_OUTSIDE, &CPage1::OnClick},
    {WM_COMMAND, BN_CLICKED, IDC_LF_INSIDE, &CPage1::OnClick},
    {WM_COMMAND, BN_CLICKED, IDC_HANDLEKEY_ONE, &CPage1::OnClick},
    {WM_COMMAND, BN_CLICKED, IDC_HANDLEKEY_MULTI, &CPage1::OnClick},
};

const fw::MessageRow kPage2Rows[] = {
    {WM_COMMAND, BN_CLICKED, IDC_BT_2TO1, &CPage2::OnClick},
    {WM_COMMAND, BN_CLICKED, IDC_BT_46LCS3, &CPage2::OnClick},
    {WM_COMMAND, BN_CLICKED, IDC_BT_NONE, &CPage2::OnClick},
    {WM_COMMAND, BN_CLICKED, IDC_WIFI_MURATA_2TO1, &CPage2::OnClick},
    {WM_COMMAND, BN_CLICKED, IDC_WIFI_USI_SD40, &CPage2::OnClick},
    {WM_COMMAND, BN_CLICKED, IDC_WIFI_NONE, &CPage2::OnClick},
    {WM_COMMAND, BN_CLICKED, IDC_WIFI_MURATA_8XQF, &CPage2::OnClick},
    {WM_COMMAND, BN_CLICKED, IDC_SERIAL_VK3224, &CPage2::OnClick},
    {WM_COMMAND, BN_CLICKED, IDC_SERIAL_74HC4052, &CPage2::OnClick},
    {WM_COMMAND, BN_CLICKED, IDC_POWER_BQ27510, &CPage2::OnClick},
    {WM_COMMAND, BN_CLICKED, IDC_POWER_NONE, &CPage2::OnClick},
};

}  // namespace

const fw::MessageTable Page1Layout::kCommandTable = {kPage1Rows, HW_COUNT_OF(kPage1Rows),
                                                     &fw::Dialog::kMessageTable};
const fw::MessageTable Page2Layout::kCommandTable = {kPage2Rows, HW_COUNT_OF(kPage2Rows),
                                                     &fw::Dialog::kMessageTable};
