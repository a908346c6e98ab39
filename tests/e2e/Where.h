#pragma once

#include <gtest/gtest.h>

namespace e2e {

// The caller's place in a test, so a helper's failure points at the line
// that asked for the step rather than at the helper.
struct Where {
  const char* file;
  int line;
};

}  // namespace e2e

#define E2E_HERE (::e2e::Where{__FILE__, __LINE__})
#define E2E_FAIL_AT(where) ADD_FAILURE_AT((where).file, (where).line)
