#pragma once

#include <filesystem>

namespace e2e {

// Where the driver finds what it runs, given on its command line by the
// ctest script.
struct Config {
  std::filesystem::path templateTerminal;  // a fresh terminal made by scripts/new-terminal
  std::filesystem::path simulatorExe;
  std::filesystem::path deviceExe;
  std::filesystem::path workDir;     // one folder per case is made here
  std::filesystem::path wineStderr;  // the file Wine's debug output of our children lands in
  std::filesystem::path coldBoot;    // scripts/cold-boot, a program of the host
};

const Config& TheConfig();
Config& MutableConfig();

}  // namespace e2e
