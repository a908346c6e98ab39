#include "ui/HWSetupApp.h"

#include "ui/HWSetupDlg.h"

// The one application object; fw::RunApp finds it.
static CHWSetupApp theApp;

bool CHWSetupApp::InitInstance() {
  // Named as the application wizard names it; no setting is ever kept there.
  SetRegistryKey(L"应用程序向导生成的本地应用程序");
  CHWSetupDlg dlg(nullptr);
  SetMainWindow(&dlg);
  dlg.DoModal();
  // False: the dialog was the program; no message loop follows.
  return false;
}
