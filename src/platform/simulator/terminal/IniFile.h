#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/simulator/ParseError.h"

namespace hw::sim {

// The shape of an INI file, before anyone asks what the names mean.
struct IniEntry {
  std::string key;    // as written, trimmed
  std::string value;  // trimmed, comment removed
  int line = 0;
};

struct IniSection {
  std::string name;  // as written, trimmed
  int line = 0;
  std::vector<IniEntry> entries;
};

// Parses "[section]" and "key = value" lines. A comment starts with ';' or '#'
// at the start of a line or after a space or tab, so values may hold either
// character when it touches the text before it. A UTF-8 BOM is skipped; CRLF
// and LF both end a line. Fails on anything else, with the line.
bool ParseIni(std::string_view text, std::vector<IniSection>* sections, ParseError* error);

}  // namespace hw::sim
