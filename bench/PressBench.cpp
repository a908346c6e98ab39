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
  double goalOnLarge;       // ms; 0 when there is none
  double firstGoalOnLarge;  // the first press after start-up; 0 when it is not measured
};

// A technician starts the tool, presses one button and closes it: the first
// press is the one met most, and the first registry call of a run pays for
// what the run has not read yet.
constexpr RowKind kRows[] = {
    {"plain row (keypad Simple/Turkey)", 1, {1002, 1003}, 0, 0},
    {"3G row (SIMCOM_WCDMA/None)", 1, {1016, 1011}, 30, 30},
    {"WiFi row (USI SD40/muRate 8XQF)", 2, {1020, 1022}, 60, 30},
    {"Bluetooth row (2to1/46LCS3)", 2, {1009, 1010}, 0, 0},
};

// The figures of one row on one terminal.
struct RowFigures {
  double median = 0;
  double first = 0;  // median over fresh starts of their first press; 0: not measured
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

HWND ShowPage(const BenchProcess& tool, const RowKind& row, const Terminal& terminal) {
  SelectTab(tool.Main(), row.page - 1);
  const HWND page = tool.Page(row.page);
  if (page == nullptr) {
    std::fprintf(stderr, "bench: page %d has no window on %s\n", row.page, terminal.name.c_str());
  }
  return page;
}

// The median over `config.runs` fresh starts of the row's first press, each
// start pressing the other button of the row once its window waits for
// input, as it does by the time a technician's finger reaches the screen.
std::optional<double> FirstPress(const WineBenchConfig& config, const Terminal& terminal,
                                 const RowKind& row) {
  std::vector<double> runs;
  for (int run = 0; run < config.runs; ++run) {
    BenchProcess tool(config.simulator, terminal.folder);
    if (!tool.WaitShown() || !tool.WaitIdle()) return std::nullopt;
    const HWND page = ShowPage(tool, row, terminal);
    const std::optional<double> ms =
        page == nullptr ? std::nullopt : Press(page, row.buttons[run % 2]);
    tool.Close();
    if (!ms) return std::nullopt;
    runs.push_back(*ms);
  }
  return Median(runs);
}

// The figures of every row on one terminal, in kRows order.
std::optional<std::vector<RowFigures>> PressRows(const WineBenchConfig& config,
                                                 const Terminal& terminal) {
  std::vector<RowFigures> figures(std::size(kRows));
  for (std::size_t r = 0; r < std::size(kRows); ++r) {
    if (kRows[r].firstGoalOnLarge <= 0) continue;
    const std::optional<double> first = FirstPress(config, terminal, kRows[r]);
    if (!first) return std::nullopt;
    figures[r].first = *first;
  }
  BenchProcess tool(config.simulator, terminal.folder);
  if (!tool.WaitShown()) return std::nullopt;
  for (std::size_t r = 0; r < std::size(kRows); ++r) {
    const HWND page = ShowPage(tool, kRows[r], terminal);
    if (page == nullptr) return std::nullopt;
    std::vector<double> runs;
    for (int run = 0; run < config.runs; ++run) {
      const std::optional<double> ms = Press(page, kRows[r].buttons[run % 2]);
      if (!ms) return std::nullopt;
      runs.push_back(*ms);
    }
    figures[r].median = Median(runs);
  }
  tool.Close();
  return figures;
}

// "16.0", or "16.0 [<= 30]" with a "!" when the goal is missed.
void PrintCell(double ms, double goal, int width) {
  char cell[64];
  if (goal > 0) {
    std::snprintf(cell, sizeof cell, "%.1f [<= %.0f]%s", ms, goal, ms <= goal ? "" : "!");
  } else {
    std::snprintf(cell, sizeof cell, "%.1f", ms);
  }
  std::printf("%*s", width, cell);
}

}  // namespace

bool RunPressBench(const WineBenchConfig& config) {
  std::printf(
      "\nPress latency, from the click to the page being idle again, ms (median of %d;\n"
      "simulator flavour; the presses of a row alternate between its two buttons). First:\n"
      "the first press after start-up, median of %d fresh starts that press the row once\n",
      config.runs, config.runs);
  std::vector<std::vector<RowFigures>> perTerminal;
  for (const Terminal& terminal : config.terminals) {
    std::optional<std::vector<RowFigures>> figures = PressRows(config, terminal);
    if (!figures) return false;
    perTerminal.push_back(*figures);
  }
  std::printf("  %-34s", "");
  for (const Terminal& terminal : config.terminals) {
    std::printf("%16s median %13s", terminal.name.c_str(), "first");
  }
  std::printf("\n");
  for (std::size_t r = 0; r < std::size(kRows); ++r) {
    std::printf("  %-34s", kRows[r].name);
    for (std::size_t t = 0; t < perTerminal.size(); ++t) {
      const RowFigures& figures = perTerminal[t][r];
      PrintCell(figures.median, t > 0 ? kRows[r].goalOnLarge : 0, 23);
      if (figures.first > 0) {
        PrintCell(figures.first, t > 0 ? kRows[r].firstGoalOnLarge : 0, 20);
      } else {
        std::printf("%20s", "-");
      }
    }
    std::printf("\n");
  }
  return true;
}

}  // namespace bench
