#include "platform/simulator/terminal/DeviceConfig.h"

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

// One of two words, which stand for false and true.
bool ParseChoice(std::string_view text, std::string_view no, std::string_view yes, bool* value) {
  if (!EqualsFolded(text, no) && !EqualsFolded(text, yes)) return false;
  *value = EqualsFolded(text, yes);
  return true;
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

bool ParseYesNo(std::string_view text, bool* value) {
  for (std::string_view yes : {"yes", "true", "on", "1"}) {
    if (EqualsFolded(text, yes)) {
      *value = true;
      return true;
    }
  }
  for (std::string_view no : {"no", "false", "off", "0"}) {
    if (EqualsFolded(text, no)) {
      *value = false;
      return true;
    }
  }
  return false;
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

// [power] and [boot]: how the terminal resets and boots.
std::optional<std::string> ApplyBoots(const std::string& key, std::string_view value,
                                      DeviceConfig* config) {
  if (key == "reset") {
    if (EqualsFolded(value, "ignored")) {
      config->reset = ResetKind::kIgnored;
      return std::nullopt;
    }
    bool refused = false;
    if (!ParseChoice(value, "allowed", "refused", &refused)) return "allowed, refused or ignored";
    config->reset = refused ? ResetKind::kRefused : ResetKind::kAllowed;
  } else if (key == "longest_sleep_ms") {
    std::uint64_t n = 0;
    if (!ParseDecimal(value, 0xFFFFFFFFu, &n)) return "a decimal count of milliseconds";
    config->longestSleepMs = static_cast<std::uint32_t>(n);
  } else if (key == "object store") {
    if (!ParseChoice(value, "kept", "cleared at every boot", &config->objectStoreCleared)) {
      return "kept or cleared at every boot";
    }
  } else if (key == "merge") {
    if (value.empty() || value.find_first_of("/\\") != std::string_view::npos) {
      return "the name of a .reg file in the terminal folder";
    }
    config->bootMerge = value;
  } else if (key == "clock after cold boot") {
    if (!IsClockTime(value)) return "a time as YYYY-MM-DD HH:MM:SS";
  } else {
    return std::string();
  }
  return std::nullopt;
}

// Applies one entry; returns the expectation it failed, or nothing.
std::optional<std::string> Apply(std::string_view section, const IniEntry& entry,
                                 DeviceConfig* config) {
  const std::string key = FoldCase(entry.key);
  const std::string_view value = entry.value;
  if (section == "eom1") {
    if (key == "max_opens") {
      std::uint64_t n = 0;
      if (!ParseDecimal(value, 0xFFFFFFFFu, &n)) return "a decimal count";
      config->maxOpens = static_cast<std::uint32_t>(n);
      return std::nullopt;
    }
    if (key == "null_handle") {
      if (!ParseYesNo(value, &config->nullHandle)) return "yes or no";
      return std::nullopt;
    }
    CellSet* cells = key == "fail_read"             ? &config->failRead
                     : key == "fail_write"          ? &config->failWrite
                     : key == "read_stores_nothing" ? &config->readStoresNothing
                                                    : nullptr;
    if (cells != nullptr) {
      if (!ParseCells(value, cells)) return "cell addresses 0x00 to 0xFF or all";
      return std::nullopt;
    }
  } else if (section == "registry" && key == "deny") {
    if (!ParseKeyPaths(value, &config->deniedKeys)) return "registry key paths";
    return std::nullopt;
  } else if (section == "registry" && key == "persistence") {
    bool ram = false;
    if (!ParseChoice(value, "hive", "ram", &ram)) return "hive or ram";
    config->persistence = ram ? RegistryPersistence::kRam : RegistryPersistence::kHive;
    return std::nullopt;
  } else if (section == "terminal" && key == "id") {
    if (!ParseDeviceId(value, &config->deviceId)) return "hex digits, two a byte, or none";
    return std::nullopt;
  } else if (section == "terminal" && key == "uuid") {
    if (!ParseHexBytes(value, kUuidBytes, kUuidBytes, &config->uuid)) return "32 hex digits";
    return std::nullopt;
  } else if (section == "files" && key == "flash_free_bytes") {
    std::uint64_t n = 0;
    if (!ParseDecimal(value, UINT64_MAX / 10, &n)) return "a decimal byte count";
    config->flashFreeBytes = n;
    return std::nullopt;
  } else if (section == "files" && key == "cache") {
    if (!ParseChoice(value, "write-through", "write-back", &config->writeBack)) {
      return "write-through or write-back";
    }
    return std::nullopt;
  } else if (section == "terminal" && key == "preset id") {
    if (!ParseHexBytes(value, 1, kMaxDeviceIdBytes, &config->presetId)) {
      return "hex digits, two a byte";
    }
    return std::nullopt;
  } else if (section == "power" || section == "boot") {
    return ApplyBoots(key, value, config);
  }
  return std::string();  // an unknown key: no expectation to name
}

bool Fail(ParseError* error, int line, std::string reason) {
  error->line = line;
  error->reason = std::move(reason);
  return false;
}

}  // namespace

bool ParseDeviceConfig(std::string_view text, DeviceConfig* config, ParseError* error) {
  std::vector<IniSection> sections;
  if (!ParseIni(text, &sections, error)) return false;
  *config = DeviceConfig{};
  std::vector<std::string> seen;  // "section/key", folded
  for (const IniSection& section : sections) {
    const std::string name = FoldCase(section.name);
    if (name != "eom1" && name != "registry" && name != "files" && name != "terminal" &&
        name != "power" && name != "boot") {
      return Fail(error, section.line, "unknown section [" + section.name + "]");
    }
    for (const IniEntry& entry : section.entries) {
      const std::string id = name + "/" + FoldCase(entry.key);
      for (const std::string& earlier : seen) {
        if (earlier == id) return Fail(error, entry.line, "\"" + entry.key + "\" is set twice");
      }
      seen.push_back(id);
      const std::optional<std::string> expected = Apply(name, entry, config);
      if (!expected) continue;
      if (expected->empty()) {
        return Fail(error, entry.line,
                    "unknown key \"" + entry.key + "\" in [" + section.name + "]");
      }
      return Fail(error, entry.line,
                  "bad value \"" + entry.value + "\" for " + entry.key + ": expected " + *expected);
    }
  }
  return true;
}

}  // namespace hw::sim
