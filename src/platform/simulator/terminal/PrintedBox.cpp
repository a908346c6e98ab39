#include "platform/simulator/terminal/PrintedBox.h"

#include <cstdio>
#include <cstdlib>

#include "platform/simulator/TextCodec.h"

namespace hw::sim {

bool BoxesArePrinted() {
  const char* value = std::getenv("HWSETUP_BOX");
  return value != nullptr && EqualsFolded(value, "print");
}

std::vector<std::u16string> BoxLines(std::u16string_view text, std::u16string_view caption,
                                     std::string_view icon) {
  std::vector<std::u16string> lines;
  lines.push_back(u"message box \"" + std::u16string(caption) + u"\" (icon: " +
                  std::u16string(icon.begin(), icon.end()) + u")");
  std::size_t start = 0;
  for (std::size_t end = 0; end != std::u16string_view::npos; start = end + 1) {
    end = text.find(u'\n', start);
    const std::u16string_view line = text.substr(start, end - start);
    lines.push_back(line.empty() ? std::u16string() : u"  " + std::u16string(line));
  }
  lines.push_back(u"  [OK]");
  return lines;
}

void PrintBox(std::u16string_view text, std::u16string_view caption, std::string_view icon) {
  for (const std::u16string& line : BoxLines(text, caption, icon)) {
    std::string utf8;
    Utf16ToUtf8(line, &utf8);
    utf8 += '\n';
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
  }
  std::fflush(stdout);
}

}  // namespace hw::sim
