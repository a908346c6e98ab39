#include "platform/simulator/terminal/IniFile.h"

#include <utility>

#include "platform/simulator/TextCodec.h"

namespace hw::sim {

namespace {

std::string_view WithoutComment(std::string_view line) {
  for (std::size_t i = 0; i < line.size(); ++i) {
    const bool starts = i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t';
    if ((line[i] == ';' || line[i] == '#') && starts) return line.substr(0, i);
  }
  return line;
}

}  // namespace

bool ParseIni(std::string_view text, std::vector<IniSection>* sections, ParseError* error) {
  sections->clear();
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  int lineNumber = 0;
  while (!text.empty()) {
    ++lineNumber;
    const std::size_t end = text.find('\n');
    std::string_view raw = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);

    const std::string_view line = Trim(WithoutComment(raw));
    if (line.empty()) continue;
    if (line.front() == '[') {
      if (line.back() != ']') return Fail(error, lineNumber, "section header lacks ']'");
      const std::string_view name = Trim(line.substr(1, line.size() - 2));
      if (name.empty()) return Fail(error, lineNumber, "empty section name");
      sections->push_back(IniSection{std::string(name), lineNumber, {}});
      continue;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
      return Fail(error, lineNumber, "expected \"key = value\" or \"[section]\"");
    }
    const std::string_view key = Trim(line.substr(0, equals));
    if (key.empty()) return Fail(error, lineNumber, "missing key before '='");
    if (sections->empty()) {
      return Fail(error, lineNumber, "\"" + std::string(key) + "\" is outside any section");
    }
    sections->back().entries.push_back(
        IniEntry{std::string(key), std::string(Trim(line.substr(equals + 1))), lineNumber});
  }
  return true;
}

}  // namespace hw::sim
