#pragma once

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace e2e {

// The debug output of a child under Wine. With WINEDEBUG=warn+seh Wine logs
// each OutputDebugString text as
//   TTTT:warn:seh:OutputDebugStringA "text with \r\n escapes"
// on the Unix standard error of the process. A child inherits that from this
// driver, not from the handles given at CreateProcess, so the ctest script
// sends the driver's standard error to a file and this reads it back.
class WineTrace {
 public:
  // Starts at the current end of the file, so only later lines count.
  explicit WineTrace(const std::filesystem::path& file);

  // The texts one thread printed since construction, unescaped.
  std::vector<std::string> LinesOf(DWORD threadId) const;

 private:
  std::filesystem::path file_;
  std::uintmax_t start_ = 0;
};

// The text inside a Wine debug string ("..." with \r, \n, \t, \\, \" and
// \xNN escapes).
std::string UnescapeDebugString(const std::string& quoted);

}  // namespace e2e
