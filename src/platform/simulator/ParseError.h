#pragma once

#include <string>

namespace hw::sim {

// Where a terminal file stops making sense: the 1-based line and why.
struct ParseError {
  int line = 0;
  std::string reason;
};

}  // namespace hw::sim
