#pragma once

#include <string>
#include <utility>

namespace hw::sim {

// Where a terminal file stops making sense: the 1-based line and why.
struct ParseError {
  int line = 0;
  std::string reason;
};

// Sets *error and returns false, for a parser's refusals.
inline bool Fail(ParseError* error, int line, std::string reason) {
  error->line = line;
  error->reason = std::move(reason);
  return false;
}

}  // namespace hw::sim
