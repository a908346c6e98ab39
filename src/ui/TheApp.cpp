#include "ui/HWSetupApp.h"

// The one application object, constructed before wWinMain runs and destroyed
// at exit; fw::RunApp finds it.
static CHWSetupApp theApp;
