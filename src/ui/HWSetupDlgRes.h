// Resource ids of the main window and the application icon; read by the
// resource compiler too, so only #defines.
#pragma once

#define IDR_MAINFRAME 128
#define IDD_HWSETUP_DIALOG 102
#define IDC_TAB 1008
