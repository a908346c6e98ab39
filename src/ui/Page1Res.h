// Resource ids of page one (template 103); read by the resource compiler too,
// so only #defines. The titles have id -1.
#pragma once

#define IDD_PAGE1 103

#define IDC_KEYPAD_LABEL 1000
#define IDC_KEYPAD_ALL_FUNC 1001
#define IDC_KEYPAD_SIMPLE 1002
#define IDC_KEYPAD_TURKEY 1003
#define IDC_FINGERPRINT_LABEL 1007
#define IDC_FINGERPRINT_NONE 1008
#define IDC_FINGERPRINT_EM02 1009
#define IDC_3G_LABEL 1010
#define IDC_3G_NONE 1011
#define IDC_3G_HUAWEI_WCDMA 1012
#define IDC_LF_LABEL 1013
#define IDC_LF_OUTSIDE 1014
#define IDC_LF_INSIDE 1015
#define IDC_3G_SIMCOM_WCDMA 1016
#define IDC_3G_SIMCOM_CDMA2K 1017
#define IDC_HANDLEKEY_LABEL 1018
#define IDC_HANDLEKEY_ONE 1019
#define IDC_HANDLEKEY_MULTI 1020
