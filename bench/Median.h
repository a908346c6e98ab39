#pragma once

#include <algorithm>
#include <vector>

namespace bench {

// The middle of the runs (the mean of the two middle ones for an even count):
// one slow run, a page fault or another process, does not move it.
inline double Median(std::vector<double> runs) {
  if (runs.empty()) return 0;
  std::sort(runs.begin(), runs.end());
  const std::size_t mid = runs.size() / 2;
  return runs.size() % 2 != 0 ? runs[mid] : (runs[mid - 1] + runs[mid]) / 2;
}

}  // namespace bench
