// Resource ids of page two (template 104); read by the resource compiler too,
// so only #defines. The titles have id -1.
#pragma once

#define IDD_PAGE2 104

#define IDC_BT_2TO1 1009
#define IDC_BT_46LCS3 1010
#define IDC_BT_LABEL 1011
#define IDC_BT_NONE 1012
#define IDC_WIFI_MURATA_2TO1 1018
#define IDC_WIFI_LABEL 1019
#define IDC_WIFI_USI_SD40 1020
#define IDC_WIFI_NONE 1021
#define IDC_WIFI_MURATA_8XQF 1022
#define IDC_SERIAL_LABEL 1023
#define IDC_SERIAL_VK3224 1024
#define IDC_SERIAL_74HC4052 1025
#define IDC_POWER_LABEL 1026
#define IDC_POWER_BQ27510 1027
#define IDC_POWER_NONE 1028
