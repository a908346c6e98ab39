#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace bench {

struct Terminal {
  std::string name;              // "factory", "4.1 MB"
  std::filesystem::path folder;  // as the Windows side names it
};

struct WineBenchConfig {
  std::filesystem::path simulator;  // the simulator flavour's HWSetup.exe
  std::filesystem::path peer;       // the start-up peer
  std::vector<Terminal> terminals;  // the factory terminal first, then the large one
  int runs = 11;                    // presses of each row on each terminal
  int startRuns = 21;               // starts of each program on each terminal: a start varies more
};

// Start-up to the shown main window of the simulator flavour and of the peer
// on each terminal, with their ratio. False when a program did not show.
bool RunStartupBench(const WineBenchConfig& config);

// Press latency of one row of each kind on each terminal, from the click to
// the page answering again. False when the tool did not start or a page was
// missing.
bool RunPressBench(const WineBenchConfig& config);

}  // namespace bench
