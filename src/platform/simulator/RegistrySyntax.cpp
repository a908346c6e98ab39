#include "platform/simulator/RegistrySyntax.h"

#include <cstddef>

#include "platform/simulator/TextCodec.h"

namespace hw::sim {

namespace {

constexpr std::uint32_t kRegSz = 1;

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool ParseHex32(std::string_view text, std::uint32_t* value) {
  if (text.empty() || text.size() > 8) return false;
  std::uint32_t v = 0;
  for (char c : text) {
    const int digit = HexDigit(c);
    if (digit < 0) return false;
    v = (v << 4) | static_cast<std::uint32_t>(digit);
  }
  *value = v;
  return true;
}

bool StartsWithFolded(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualsFolded(text.substr(0, prefix.size()), prefix);
}

// Reads a quoted string at text[0] with the escapes \\ and \"; `*used` is the
// length up to and including the closing quote. `out` may be null.
bool ParseQuoted(std::string_view text, std::string* out, std::size_t* used, std::string* reason) {
  if (out != nullptr) out->clear();
  for (std::size_t i = 1; i < text.size(); ++i) {
    if (text[i] == '"') {
      *used = i + 1;
      return true;
    }
    if (text[i] == '\\') {
      if (i + 1 < text.size() && (text[i + 1] == '\\' || text[i + 1] == '"')) {
        ++i;
      } else {
        *reason = "a backslash in a string must be written \\\\";
        return false;
      }
    }
    if (out != nullptr) out->push_back(text[i]);
  }
  *reason = "string lacks its closing quote";
  return false;
}

void AppendQuoted(std::string_view text, std::string* out) {
  out->push_back('"');
  for (char c : text) {
    if (c == '\\' || c == '"') out->push_back('\\');
    out->push_back(c);
  }
  out->push_back('"');
}

bool FitsOnOneLine(std::string_view text) {
  return text.find_first_of("\r\n") == std::string_view::npos;
}

// The text of REG_SZ bytes when they are exactly a text and one terminator.
bool PlainText(const std::vector<std::uint8_t>& data, std::string* text) {
  if (data.size() < 2 || data.size() % 2 != 0) return false;
  std::u16string units;
  for (std::size_t i = 0; i + 2 < data.size(); i += 2) {
    units.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
  }
  if (data[data.size() - 2] != 0 || data[data.size() - 1] != 0) return false;
  // A NUL inside the text would survive the file, but regedit shows such a
  // value as hex(1) and so do we.
  return Utf16ToUtf8(units, text) && FitsOnOneLine(*text) && text->find('\0') == std::string::npos;
}

const char kHexDigits[] = "0123456789abcdef";

// Two backslashes in a row: a key name between them is empty.
bool HasEmptyName(std::string_view path) {
  for (std::size_t at = FindChar(path, '\\'); at != std::string_view::npos;
       at = FindChar(path, '\\', at + 1)) {
    if (at + 1 < path.size() && path[at + 1] == '\\') return true;
  }
  return false;
}

}  // namespace

bool ParseKeyHeader(std::string_view line, std::string* path, std::string* reason) {
  if (line.size() < 2 || line.front() != '[' || line.back() != ']') {
    *reason = "a key must be written [HKEY_...\\path]";
    return false;
  }
  const std::string_view inner = line.substr(1, line.size() - 2);
  if (!inner.empty() && inner.front() == '-') {
    *reason = "key deletions have no place in a registry snapshot";
    return false;
  }
  const std::string_view root = inner.substr(0, FindChar(inner, '\\'));
  bool known = false;
  for (std::string_view name : {"HKEY_LOCAL_MACHINE", "HKEY_CURRENT_USER", "HKEY_CLASSES_ROOT",
                                "HKEY_USERS", "HKEY_CURRENT_CONFIG"}) {
    known = known || EqualsFolded(root, name);
  }
  if (!known) {
    *reason = "unknown root \"" + std::string(root) + "\"";
    return false;
  }
  if (inner.back() == '\\' || HasEmptyName(inner)) {
    *reason = "empty key name in \"" + std::string(inner) + "\"";
    return false;
  }
  if (path != nullptr) *path = std::string(inner);
  return true;
}

bool ParseValueName(std::string_view line, std::string* name, std::size_t* nameEnd,
                    std::string_view* rest, std::string* reason) {
  std::size_t used = 1;
  if (name != nullptr) name->clear();
  if (line.front() == '"' && !ParseQuoted(line, name, &used, reason)) return false;
  if (nameEnd != nullptr) *nameEnd = used;
  const std::string_view after = Trim(line.substr(used));
  if (after.empty() || after.front() != '=') {
    *reason = "expected '=' after the value name";
    return false;
  }
  *rest = Trim(after.substr(1));
  return true;
}

std::string UnescapeName(std::string_view quoted) {
  std::string name;
  for (std::size_t i = 0; i < quoted.size(); ++i) {
    if (quoted[i] == '\\' && i + 1 < quoted.size()) ++i;
    name.push_back(quoted[i]);
  }
  return name;
}

bool IsPlainValueLine(std::string_view line) {
  // The end of a quoted text without escapes that starts at text[0].
  auto closingQuote = [](std::string_view text) {
    std::size_t i = 1;
    while (i < text.size() && text[i] != '"' && text[i] != '\\') ++i;
    return i < text.size() && text[i] == '"' ? i : std::string_view::npos;
  };
  if (line.empty() || line.front() != '"') return false;
  const std::size_t nameEnd = closingQuote(line);
  if (nameEnd == std::string_view::npos || nameEnd + 2 > line.size() || line[nameEnd + 1] != '=') {
    return false;
  }
  const std::string_view data = line.substr(nameEnd + 2);
  if (!data.empty() && data.front() == '"') return closingQuote(data) == data.size() - 1;
  std::uint32_t ignored = 0;
  return data.substr(0, 6) == "dword:" && ParseHex32(data.substr(6), &ignored);
}

bool IsHexData(std::string_view data) {
  return StartsWithFolded(data, "hex");
}

bool DecodeValueData(std::string_view data, RegistryValue* value, std::string* reason) {
  RegistryValue unused;
  const bool checkOnly = value == nullptr;
  if (checkOnly) value = &unused;
  value->data.clear();
  if (!data.empty() && data.front() == '"') {
    std::string text;
    std::size_t used = 0;
    if (!ParseQuoted(data, checkOnly ? nullptr : &text, &used, reason)) return false;
    if (!Trim(data.substr(used)).empty()) {
      *reason = "text after the closing quote";
      return false;
    }
    if (checkOnly) return true;
    std::u16string units;
    Utf8ToUtf16(text, &units);  // the file was checked as UTF-8 already
    for (char16_t unit : units) {
      value->data.push_back(static_cast<std::uint8_t>(unit & 0xFF));
      value->data.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    value->data.insert(value->data.end(), {0, 0});
    value->type = kRegSz;
    return true;
  }
  if (StartsWithFolded(data, "dword:")) {
    std::uint32_t v = 0;
    if (!ParseHex32(data.substr(6), &v)) {
      *reason = "a dword is 1 to 8 hex digits";
      return false;
    }
    value->type = kRegDword;
    if (checkOnly) return true;
    for (int shift = 0; shift < 32; shift += 8) {
      value->data.push_back(static_cast<std::uint8_t>(v >> shift));
    }
    return true;
  }
  if (data == "-") {
    *reason = "value deletions have no place in a registry snapshot";
    return false;
  }
  if (!IsHexData(data)) {
    *reason = "unknown value type; expected \"text\", dword: or hex:";
    return false;
  }
  std::string_view bytes = data.substr(3);
  value->type = kRegBinary;
  if (!bytes.empty() && bytes.front() == '(') {
    const std::size_t close = bytes.find(')');
    if (close == std::string_view::npos || !ParseHex32(bytes.substr(1, close - 1), &value->type)) {
      *reason = "hex(N) needs a hex type number";
      return false;
    }
    bytes.remove_prefix(close + 1);
  }
  if (bytes.empty() || bytes.front() != ':') {
    *reason = "expected ':' after hex";
    return false;
  }
  bytes.remove_prefix(1);
  if (Trim(bytes).empty()) return true;
  while (true) {
    const std::size_t comma = bytes.find(',');
    std::uint32_t byte = 0;
    const std::string_view token = Trim(bytes.substr(0, comma));
    if (token.size() > 2 || !ParseHex32(token, &byte)) {
      *reason = "bad byte \"" + std::string(token) + "\" in hex list";
      return false;
    }
    if (!checkOnly) value->data.push_back(static_cast<std::uint8_t>(byte));
    if (comma == std::string_view::npos) return true;
    bytes.remove_prefix(comma + 1);
  }
}

bool FormatValueLine(std::string_view name, const RegistryValue& value, std::string* line) {
  if (!FitsOnOneLine(name)) return false;
  line->clear();
  if (name.empty()) {
    line->push_back('@');
  } else {
    AppendQuoted(name, line);
  }
  line->push_back('=');
  std::string text;
  if (value.type == kRegSz && PlainText(value.data, &text)) {
    AppendQuoted(text, line);
    return true;
  }
  if (value.type == kRegDword && value.data.size() == 4) {
    line->append("dword:");
    for (int i = 3; i >= 0; --i) {
      line->push_back(kHexDigits[value.data[static_cast<std::size_t>(i)] >> 4]);
      line->push_back(kHexDigits[value.data[static_cast<std::size_t>(i)] & 0xF]);
    }
    return true;
  }
  line->append("hex");
  if (value.type != kRegBinary) {
    std::string number;
    std::uint32_t t = value.type;
    do {
      number.insert(number.begin(), kHexDigits[t & 0xF]);
      t >>= 4;
    } while (t != 0);
    line->append("(" + number + ")");
  }
  line->push_back(':');
  for (std::size_t i = 0; i < value.data.size(); ++i) {
    if (i != 0) line->push_back(',');
    line->push_back(kHexDigits[value.data[i] >> 4]);
    line->push_back(kHexDigits[value.data[i] & 0xF]);
  }
  return true;
}

}  // namespace hw::sim
