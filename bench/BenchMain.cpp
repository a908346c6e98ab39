// The Wine half of `make bench`, started by scripts/bench through
// scripts/wine-run:
//   hwsetup_bench.exe --simulator EXE --peer EXE --terminal NAME=DIR ...
//                     [--runs N] [--start-runs N]
// The first terminal is the factory one; goals apply as the report says.
#include <windows.h>
// After <windows.h>, which it needs.
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "Text.h"
#include "WineBench.h"

int main() {
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> args;
  for (int i = 0; i < count; ++i) args.push_back(e2e::Utf8(wide[i]));
  LocalFree(wide);

  bench::WineBenchConfig config;
  for (std::size_t i = 1; i + 1 < args.size(); i += 2) {
    const std::string& value = args[i + 1];
    if (args[i] == "--simulator") {
      config.simulator = e2e::WindowsPath(value);
    } else if (args[i] == "--peer") {
      config.peer = e2e::WindowsPath(value);
    } else if (args[i] == "--runs") {
      config.runs = std::stoi(value);
    } else if (args[i] == "--start-runs") {
      config.startRuns = std::stoi(value);
    } else if (args[i] == "--terminal" && value.find('=') != std::string::npos) {
      config.terminals.push_back(
          {value.substr(0, value.find('=')), e2e::WindowsPath(value.substr(value.find('=') + 1))});
    } else {
      std::fprintf(stderr, "hwsetup_bench: unknown argument %s\n", args[i].c_str());
      return 2;
    }
  }
  if (config.simulator.empty() || config.peer.empty() || config.terminals.empty() ||
      config.runs < 1 || config.startRuns < 1) {
    std::fprintf(stderr,
                 "usage: hwsetup_bench --simulator EXE --peer EXE --terminal NAME=DIR... "
                 "[--runs N] [--start-runs N]\n");
    return 2;
  }
  const bool ok = bench::RunStartupBench(config) && bench::RunPressBench(config);
  std::fflush(stdout);
  return ok ? 0 : 1;
}
