#ifdef _WIN32
#include <windows.h>
#endif

#include "platform/simulator/terminal/TerminalLog.h"

#include <cstdio>
#include <system_error>

#include "platform/simulator/TextCodec.h"
#include "platform/simulator/files/FileIo.h"

namespace hw::sim {

namespace {

constexpr char kDebugLogName[] = "debug.log";

// A line that does not convert (a lone surrogate) is still logged, with U+FFFD
// in place of what could not be written.
std::string LogText(std::u16string_view line) {
  std::string text;
  if (Utf16ToUtf8(line, &text)) return text;
  std::u16string repaired(line);
  for (std::size_t bad = 0; !Utf16ToUtf8(repaired, &text, &bad);) repaired[bad] = u'\uFFFD';
  return text;
}

void SendToDebugger(std::u16string_view line) {
#ifdef _WIN32
  const std::u16string terminated(line);
  ::OutputDebugStringW(reinterpret_cast<const wchar_t*>(terminated.c_str()));
#else
  (void)line;
#endif
}

}  // namespace

void WriteDebugLine(const std::filesystem::path& folder, std::u16string_view line) {
  AppendToFile(folder / kDebugLogName, LogText(line));
  SendToDebugger(line);
}

void ReportTerminalError(const std::filesystem::path& folder, const std::string& message,
                         bool toStandardError) {
  if (toStandardError) {
    std::fprintf(stderr, "%s\n", message.c_str());
    std::fflush(stderr);
  }
  std::error_code ec;
  if (std::filesystem::is_directory(folder, ec)) {
    AppendToFile(folder / kDebugLogName, message + "\r\n");
  }
  std::u16string line;
  if (!Utf8ToUtf16(message + "\r\n", &line)) line = u"HWSetup simulator: terminal not loaded\r\n";
  SendToDebugger(line);
}

std::string DesktopPath(const std::string& folder) {
  if (folder.size() < 3 || (folder[0] != 'Z' && folder[0] != 'z') || folder[1] != ':' ||
      (folder[2] != '\\' && folder[2] != '/')) {
    return folder;
  }
  std::string path = folder.substr(2);
  for (char& c : path) c = c == '\\' ? '/' : c;
  return path;
}

}  // namespace hw::sim
