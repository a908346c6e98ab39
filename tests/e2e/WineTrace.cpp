#include "WineTrace.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <system_error>

#include "TerminalFolder.h"

namespace e2e {

WineTrace::WineTrace(const std::filesystem::path& file) : file_(file) {
  std::error_code error;
  start_ = std::filesystem::file_size(file_, error);
  if (error) start_ = 0;
}

std::vector<std::string> WineTrace::LinesOf(DWORD threadId) const {
  std::ifstream in(file_, std::ios::binary);
  in.seekg(static_cast<std::streamoff>(start_));
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  char prefix[64];
  std::snprintf(prefix, sizeof prefix, "%04lx:warn:seh:OutputDebugStringA ", threadId);
  std::vector<std::string> lines;
  for (std::string line : SplitLines(text)) {
    if (line.rfind(prefix, 0) != 0) continue;
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    lines.push_back(UnescapeDebugString(line.substr(std::char_traits<char>::length(prefix))));
  }
  return lines;
}

std::string UnescapeDebugString(const std::string& quoted) {
  std::string out;
  std::size_t begin = quoted.find('"');
  std::size_t end = quoted.rfind('"');
  if (begin == std::string::npos || end <= begin) return quoted;
  for (std::size_t i = begin + 1; i < end; ++i) {
    char c = quoted[i];
    if (c != '\\' || i + 1 >= end) {
      out += c;
      continue;
    }
    char e = quoted[++i];
    switch (e) {
      case 'r': out += '\r'; break;
      case 'n': out += '\n'; break;
      case 't': out += '\t'; break;
      case 'x':
        if (i + 2 < end) {
          out += static_cast<char>(std::stoi(quoted.substr(i + 1, 2), nullptr, 16));
          i += 2;
        }
        break;
      default: out += e; break;
    }
  }
  return out;
}

}  // namespace e2e
