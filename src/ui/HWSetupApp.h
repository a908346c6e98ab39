#pragma once

#include "framework/App.h"

// The tool's application: its whole life is one modal run of the main window.
class CHWSetupApp : public fw::App {
 public:
  virtual ~CHWSetupApp() {}

  bool InitInstance() HW_OVERRIDE;

  // The key the framework is told per-application settings would live under.
  static const wchar_t kSettingsKey[];
};
