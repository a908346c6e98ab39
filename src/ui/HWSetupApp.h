#pragma once

#include "framework/App.h"

// The tool's application: its whole life is one modal run of the main window.
class CHWSetupApp final : public fw::App {
 public:
  ~CHWSetupApp() override = default;

  bool InitInstance() override;
};
