#include <windows.h>

#include <cstdio>
#include <vector>

#include "BenchProcess.h"
#include "Median.h"
#include "WineBench.h"

namespace bench {

namespace {

// Goals for simulator / peer, on the factory terminal and on the large one.
constexpr double kFactoryGoal = 1.1;
constexpr double kLargeGoal = 1.2;
constexpr DWORD kPauseMilliseconds = 100;

// One start, from CreateProcess to the visible window; negative when it failed.
double StartOnce(const std::filesystem::path& exe, const Terminal& terminal) {
  BenchProcess program(exe, terminal.folder);
  const bool shown = program.WaitShown();
  program.Close();
  // The window system and Wine's server finish the end of a program after
  // it is gone; the next start should not pay for that.
  Sleep(kPauseMilliseconds);
  return shown ? program.ShownMilliseconds() : -1;
}

}  // namespace

bool RunStartupBench(const WineBenchConfig& config) {
  std::printf(
      "\nStart-up to the shown main window, ms (median of %d; the two programs take\n"
      "turns, after one start of each that is not counted)\n",
      config.startRuns);
  std::printf("  %-28s", "");
  for (const Terminal& terminal : config.terminals) std::printf("%22s", terminal.name.c_str());
  std::printf("\n");
  std::vector<double> simulator;
  std::vector<double> peer;
  for (const Terminal& terminal : config.terminals) {
    if (StartOnce(config.simulator, terminal) < 0 || StartOnce(config.peer, terminal) < 0) {
      return false;
    }
    std::vector<double> ownRuns;
    std::vector<double> peerRuns;
    for (int run = 0; run < config.startRuns; ++run) {
      ownRuns.push_back(StartOnce(config.simulator, terminal));
      peerRuns.push_back(StartOnce(config.peer, terminal));
      if (ownRuns.back() < 0 || peerRuns.back() < 0) return false;
    }
    simulator.push_back(Median(ownRuns));
    peer.push_back(Median(peerRuns));
  }
  std::printf("  %-28s", "simulator flavour");
  for (double ms : simulator) std::printf("%22.1f", ms);
  std::printf("\n  %-28s", "peer (same .rc, no terminal)");
  for (double ms : peer) std::printf("%22.1f", ms);
  std::printf("\n  %-28s", "ratio simulator / peer");
  for (std::size_t i = 0; i < simulator.size(); ++i) {
    const double goal = i == 0 ? kFactoryGoal : kLargeGoal;
    const double ratio = simulator[i] / peer[i];
    char cell[64];
    std::snprintf(cell, sizeof cell, "%.2f [<= %.1f]%s", ratio, goal, ratio <= goal ? "" : "!");
    std::printf("%22s", cell);
  }
  std::printf("\n");
  return true;
}

}  // namespace bench
