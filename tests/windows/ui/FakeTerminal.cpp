#include "FakeTerminal.h"

#include "ui/TerminalPlatform.h"

FakeTerminal& TheFakeTerminal() {
  static FakeTerminal terminal;
  return terminal;
}

hw::Platform& TerminalPlatform() {
  return TheFakeTerminal();
}
