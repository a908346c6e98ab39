#include "platform/simulator/terminal/DeviceConfig.h"

#include <algorithm>
#include <utility>

#include "platform/Platform.h"
#include "platform/simulator/TextCodec.h"
#include "platform/simulator/terminal/IniFile.h"

namespace hw::sim {

namespace {

constexpr std::string_view kRootPrefix = "hkey_local_machine\\";

// Splits on spaces, tabs and commas; a double-quoted token may hold them.
// False on an unterminated quote or text glued to a closing quote.
bool SplitList(std::string_view text, std::vector<std::string>* tokens) {
  tokens->clear();
  std::size_t i = 0;
  auto isSeparator = [](char c) { return c == ' ' || c == '\t' || c == ','; };
  while (i < text.size()) {
    if (isSeparator(text[i])) {
      ++i;
    } else if (text[i] == '"') {
      const std::size_t close = text.find('"', i + 1);
      if (close == std::string_view::npos) return false;
      if (close + 1 < text.size() && !isSeparator(text[close + 1])) return false;
      tokens->emplace_back(text.substr(i + 1, close - i - 1));
      i = close + 1;
    } else {
      std::size_t end = i;
      while (end < text.size() && !isSeparator(text[end])) ++end;
      tokens->emplace_back(text.substr(i, end - i));
      i = end;
    }
  }
  return true;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool ParseCells(std::string_view text, CellSet* cells) {
  std::vector<std::string> tokens;
  if (!SplitList(text, &tokens)) return false;
  cells->reset();
  for (const std::string& token : tokens) {
    if (EqualsFolded(token, "all")) {
      cells->set();
      continue;
    }
    if (token.size() < 3 || token.size() > 4 || token[0] != '0' || (token[1] | 0x20) != 'x') {
      return false;
    }
    int address = 0;
    for (std::size_t k = 2; k < token.size(); ++k) {
      const int digit = HexDigit(token[k]);
      if (digit < 0) return false;
      address = address * 16 + digit;
    }
    cells->set(static_cast<std::size_t>(address));
  }
  return true;
}

// Hex digits, two a byte: `minBytes` to `maxBytes` of them.
bool ParseHexBytes(std::string_view text, std::size_t minBytes, std::size_t maxBytes,
                   std::vector<std::uint8_t>* id) {
  id->clear();
  if (text.size() % 2 != 0 || text.size() < 2 * minBytes || text.size() > 2 * maxBytes) {
    return false;
  }
  for (std::size_t i = 0; i < text.size(); i += 2) {
    const int high = HexDigit(text[i]);
    const int low = HexDigit(text[i + 1]);
    if (high < 0 || low < 0) return false;
    id->push_back(static_cast<std::uint8_t>(high * 16 + low));
  }
  return true;
}

bool ParseDeviceId(std::string_view text, std::vector<std::uint8_t>* id) {
  id->clear();
  return EqualsFolded(text, "none") || ParseHexBytes(text, 1, kMaxDeviceIdBytes, id);
}

// One of a key's words, each standing for a value.
template <class T>
struct Word {
  std::string_view text;
  T value;
};

template <class T, std::size_t N>
bool OneOf(std::string_view text, const Word<T> (&words)[N], T* value) {
  for (const Word<T>& word : words) {
    if (EqualsFolded(text, word.text)) {
      *value = word.value;
      return true;
    }
  }
  return false;
}

// One of two words, which stand for false and true.
bool ParseChoice(std::string_view text, std::string_view no, std::string_view yes, bool* value) {
  const Word<bool> words[] = {{no, false}, {yes, true}};
  return OneOf(text, words, value);
}

bool ParseDecimal(std::string_view text, std::uint64_t limit, std::uint64_t* value) {
  if (text.empty() || text.size() > 19) return false;
  std::uint64_t v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + static_cast<std::uint64_t>(c - '0');
  }
  if (v > limit) return false;
  *value = v;
  return true;
}

bool ParseCount(std::string_view text, std::optional<std::uint32_t>* count) {
  std::uint64_t n = 0;
  if (!ParseDecimal(text, 0xFFFFFFFFu, &n)) return false;
  *count = static_cast<std::uint32_t>(n);
  return true;
}

bool ParseYesNo(std::string_view text, bool* value) {
  static constexpr Word<bool> kWords[] = {{"yes", true},  {"true", true}, {"on", true},
                                          {"1", true},    {"no", false},  {"false", false},
                                          {"off", false}, {"0", false}};
  return OneOf(text, kWords, value);
}

bool ParseKeyPaths(std::string_view text, std::vector<std::string>* paths) {
  if (!SplitList(text, paths)) return false;
  for (std::string& path : *paths) {
    if (EqualsFolded(std::string_view(path).substr(0, kRootPrefix.size()), kRootPrefix)) {
      path.erase(0, kRootPrefix.size());
    }
    if (path.empty() || path.front() == '\\' || path.back() == '\\') return false;
    if (path.find("\\\\") != std::string::npos) return false;
  }
  return true;
}

// "YYYY-MM-DD HH:MM:SS", as the scripts that set the terminal's clock take it.
bool IsClockTime(std::string_view text) {
  static constexpr std::string_view kShape = "dddd-dd-dd dd:dd:dd";
  if (text.size() != kShape.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool digit = text[i] >= '0' && text[i] <= '9';
    if (kShape[i] == 'd' ? !digit : text[i] != kShape[i]) return false;
  }
  return true;
}

// One key of device.ini: its section and name (folded), what its value must
// be, as a refusal names it, and what it sets. Every key is a row here; a
// section is known when a row names it.
using Text = std::string_view;
struct Row {
  Text section;
  Text key;
  Text expected;
  bool (*set)(Text value, DeviceConfig* config);  // false: the value does not parse
};

constexpr Row kRows[] = {
    {"eom1", "max_opens", "a decimal count",
     [](Text v, DeviceConfig* c) { return ParseCount(v, &c->maxOpens); }},
    {"eom1", "null_handle", "yes or no",
     [](Text v, DeviceConfig* c) { return ParseYesNo(v, &c->nullHandle); }},
    {"eom1", "fail_read", "cell addresses 0x00 to 0xFF or all",
     [](Text v, DeviceConfig* c) { return ParseCells(v, &c->failRead); }},
    {"eom1", "fail_write", "cell addresses 0x00 to 0xFF or all",
     [](Text v, DeviceConfig* c) { return ParseCells(v, &c->failWrite); }},
    {"eom1", "read_stores_nothing", "cell addresses 0x00 to 0xFF or all",
     [](Text v, DeviceConfig* c) { return ParseCells(v, &c->readStoresNothing); }},
    {"registry", "deny", "registry key paths",
     [](Text v, DeviceConfig* c) { return ParseKeyPaths(v, &c->deniedKeys); }},
    {"registry", "persistence", "hive or ram",
     [](Text v, DeviceConfig* c) {
       static constexpr Word<RegistryPersistence> kWords[] = {{"hive", RegistryPersistence::kHive},
                                                              {"ram", RegistryPersistence::kRam}};
       return OneOf(v, kWords, &c->persistence);
     }},
    {"files", "flash_free_bytes", "a decimal byte count",
     [](Text v, DeviceConfig* c) {
       std::uint64_t n = 0;
       if (!ParseDecimal(v, UINT64_MAX / 10, &n)) return false;
       c->flashFreeBytes = n;
       return true;
     }},
    {"files", "cache", "write-through or write-back",
     [](Text v, DeviceConfig* c) {
       return ParseChoice(v, "write-through", "write-back", &c->writeBack);
     }},
    {"files", "volume flush", "works, unsupported or fails",
     [](Text v, DeviceConfig* c) {
       static constexpr Word<VolumeFlush> kWords[] = {{"works", VolumeFlush::kWorks},
                                                      {"unsupported", VolumeFlush::kUnsupported},
                                                      {"fails", VolumeFlush::kFails}};
       return OneOf(v, kWords, &c->volumeFlush);
     }},
    {"power", "reset", "allowed, refused, ignored or late",
     [](Text v, DeviceConfig* c) {
       static constexpr Word<ResetKind> kWords[] = {{"allowed", ResetKind::kAllowed},
                                                    {"refused", ResetKind::kRefused},
                                                    {"ignored", ResetKind::kIgnored},
                                                    {"late", ResetKind::kLate}};
       return OneOf(v, kWords, &c->reset);
     }},
    {"power", "longest_sleep_ms", "a decimal count of milliseconds",
     [](Text v, DeviceConfig* c) { return ParseCount(v, &c->longestSleepMs); }},
    {"boot", "object store", "kept or cleared at every boot",
     [](Text v, DeviceConfig* c) {
       return ParseChoice(v, "kept", "cleared at every boot", &c->objectStoreCleared);
     }},
    {"boot", "merge", "the name of a .reg file in the terminal folder",
     [](Text v, DeviceConfig* c) {
       if (v.empty() || v.find_first_of("/\\") != Text::npos) return false;
       c->bootMerge = v;
       return true;
     }},
    // Read by scripts/cold-boot; only checked here.
    {"boot", "clock after cold boot", "a time as YYYY-MM-DD HH:MM:SS",
     [](Text v, DeviceConfig*) { return IsClockTime(v); }},
    {"sdio", "card", "4319, 4329 or none",
     [](Text v, DeviceConfig* c) {
       static constexpr Word<Text> kWords[] = {{"4319", "4319"}, {"4329", "4329"}, {"none", ""}};
       Text card;
       if (!OneOf(v, kWords, &card)) return false;
       c->sdioCard = card;
       return true;
     }},
    {"sdio", "load delay ms", "a decimal count of milliseconds",
     [](Text v, DeviceConfig* c) {
       std::optional<std::uint32_t> delay;
       if (!ParseCount(v, &delay)) return false;
       c->sdioLoadDelayMs = *delay;
       return true;
     }},
    {"drivers", "init fails", "names of driver keys",
     [](Text v, DeviceConfig* c) {
       if (!SplitList(v, &c->failingInits)) return false;
       for (const std::string& key : c->failingInits) {
         if (key.empty() || key.find('\\') != std::string::npos) return false;
       }
       return true;
     }},
    {"drivers", "list", "available or unavailable",
     [](Text v, DeviceConfig* c) {
       return ParseChoice(v, "available", "unavailable", &c->driverListUnavailable);
     }},
    {"terminal", "id", "hex digits, two a byte, or none",
     [](Text v, DeviceConfig* c) { return ParseDeviceId(v, &c->deviceId); }},
    {"terminal", "uuid", "32 hex digits",
     [](Text v, DeviceConfig* c) { return ParseHexBytes(v, kUuidBytes, kUuidBytes, &c->uuid); }},
    {"terminal", "preset id", "hex digits, two a byte",
     [](Text v, DeviceConfig* c) { return ParseHexBytes(v, 1, kMaxDeviceIdBytes, &c->presetId); }},
};

const Row* FindRow(Text section, Text key) {
  for (const Row& row : kRows) {
    if (row.section == section && row.key == key) return &row;
  }
  return nullptr;
}

bool IsSection(Text section) {
  for (const Row& row : kRows) {
    if (row.section == section) return true;
  }
  return false;
}

}  // namespace

bool ParseDeviceConfig(std::string_view text, DeviceConfig* config, ParseError* error) {
  std::vector<IniSection> sections;
  if (!ParseIni(text, &sections, error)) return false;
  *config = DeviceConfig{};
  std::vector<const Row*> seen;
  for (const IniSection& section : sections) {
    const std::string name = FoldCase(section.name);
    if (!IsSection(name)) {
      return Fail(error, section.line, "unknown section [" + section.name + "]");
    }
    for (const IniEntry& entry : section.entries) {
      const Row* row = FindRow(name, FoldCase(entry.key));
      if (row == nullptr) {
        return Fail(error, entry.line,
                    "unknown key \"" + entry.key + "\" in [" + section.name + "]");
      }
      if (std::find(seen.begin(), seen.end(), row) != seen.end()) {
        return Fail(error, entry.line, "\"" + entry.key + "\" is set twice");
      }
      seen.push_back(row);
      if (!row->set(entry.value, config)) {
        return Fail(error, entry.line,
                    "bad value \"" + entry.value + "\" for " + entry.key + ": expected " +
                        std::string(row->expected));
      }
    }
  }
  return true;
}

}  // namespace hw::sim
