#include <windows.h>
// After <windows.h>, which it needs.
#include <commctrl.h>

#include <cstdio>
#include <optional>
#include <vector>

#include "BenchProcess.h"
#include "Median.h"
#include "WineBench.h"

namespace bench {

namespace {

constexpr DWORD kPressTimeout = 120000;

// A row of each kind. Presses alternate between two buttons of the kind, so
// that every press changes the cell and what it provisions.
struct RowKind {
  const char* name;
  int page;
  int buttons[2];
  double goalOnLarge;  // ms; 0 when there is none
};

constexpr RowKind kRows[] = {
    {"plain row (keypad Simple/Turkey)", 1, {1002, 1003}, 0},
    {"3G row (SIMCOM_WCDMA/None)", 1, {1016, 1011}, 30},
    {"WiFi row (USI SD40/muRate 8XQF)", 2, {1020, 1022}, 60},
    {"Bluetooth row (2to1/46LCS3)", 2, {1009, 1010}, 0},
};

// The click as its button reports it, then a round trip: both are handled on
// the page's thread in turn, so when the second returns the page is idle.
std::optional<double> Press(HWND page, int id) {
  DWORD_PTR result = 0;
  LARGE_INTEGER start;
  QueryPerformanceCounter(&start);
  if (SendMessageTimeoutW(page, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                          reinterpret_cast<LPARAM>(GetDlgItem(page, id)), SMTO_NORMAL,
                          kPressTimeout, &result) == 0 ||
      SendMessageTimeoutW(page, WM_NULL, 0, 0, SMTO_NORMAL, kPressTimeout, &result) == 0) {
    std::fprintf(stderr, "bench: the page did not answer a press of %d\n", id);
    return std::nullopt;
  }
  return MillisecondsSince(start);
}

void SelectTab(HWND main, int index) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(GetDlgItem(main, 1008), TCM_SETCURFOCUS, static_cast<WPARAM>(index), 0,
                      SMTO_NORMAL, kPressTimeout, &result);
}

// Medians of every row on one terminal, in kRows order.
std::optional<std::vector<double>> PressRows(const WineBenchConfig& config,
                                             const Terminal& terminal) {
  BenchProcess tool(config.simulator, terminal.folder);
  if (!tool.WaitShown()) return std::nullopt;
  std::vector<double> medians;
  for (const RowKind& row : kRows) {
    SelectTab(tool.Main(), row.page - 1);
    const HWND page = tool.Page(row.page);
    if (page == nullptr) {
      std::fprintf(stderr, "bench: page %d has no window on %s\n", row.page, terminal.name.c_str());
      return std::nullopt;
    }
    std::vector<double> runs;
    for (int run = 0; run < config.runs; ++run) {
      const std::optional<double> ms = Press(page, row.buttons[run % 2]);
      if (!ms) return std::nullopt;
      runs.push_back(*ms);
    }
    medians.push_back(Median(runs));
  }
  tool.Close();
  return medians;
}

}  // namespace

bool RunPressBench(const WineBenchConfig& config) {
  std::printf(
      "\nPress latency, from the click to the page being idle again, ms (median of %d;\n"
      "simulator flavour; the presses of a row alternate between its two buttons)\n",
      config.runs);
  std::vector<std::vector<double>> perTerminal;
  for (const Terminal& terminal : config.terminals) {
    std::optional<std::vector<double>> medians = PressRows(config, terminal);
    if (!medians) return false;
    perTerminal.push_back(*medians);
  }
  std::printf("  %-34s", "");
  for (const Terminal& terminal : config.terminals) std::printf("%20s", terminal.name.c_str());
  std::printf("\n");
  for (std::size_t r = 0; r < std::size(kRows); ++r) {
    std::printf("  %-34s", kRows[r].name);
    for (std::size_t t = 0; t < perTerminal.size(); ++t) {
      char cell[64];
      const double ms = perTerminal[t][r];
      const double goal = kRows[r].goalOnLarge;
      if (t > 0 && goal > 0) {
        std::snprintf(cell, sizeof cell, "%.1f [<= %.0f]%s", ms, goal, ms <= goal ? "" : "!");
      } else {
        std::snprintf(cell, sizeof cell, "%.1f", ms);
      }
      std::printf("%20s", cell);
    }
    std::printf("\n");
  }
  return true;
}

}  // namespace bench
