// The data of a value line, after its '=': what each spelling means as a
// value, and the spelling the simulator writes for a value.
#include <cstddef>

#include "platform/simulator/TextCodec.h"
#include "platform/simulator/registry/RegistryEncoding.h"
#include "platform/simulator/registry/RegistrySyntax.h"

namespace hw::sim {

namespace {

const char kHexDigits[] = "0123456789abcdef";

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

// `text` (checked UTF-8) as UTF-16LE bytes and a terminator.
void AppendString(std::string_view text, std::vector<std::uint8_t>* data) {
  std::u16string units;
  Utf8ToUtf16(text, &units);
  for (char16_t unit : units) {
    data->push_back(static_cast<std::uint8_t>(unit & 0xFF));
    data->push_back(static_cast<std::uint8_t>(unit >> 8));
  }
  data->insert(data->end(), {0, 0});
}

// CE's export writes a string's inner quotes as they are
// ("\\Windows\\wceload.exe "%1""): when the text ends with a quote, the
// string is all between the first quote and that last one, in which a quote
// stands for itself and \\ and \" keep their meaning.
bool ParseLooselyQuoted(std::string_view text, std::string* out, std::string* reason) {
  if (text.size() < 2 || text.back() != '"') {
    *reason = "text after the closing quote";
    return false;
  }
  if (out != nullptr) out->clear();
  const std::string_view inner = text.substr(1, text.size() - 2);
  for (std::size_t i = 0; i < inner.size(); ++i) {
    if (inner[i] == '\\') {
      if (i + 1 == inner.size() || (inner[i + 1] != '\\' && inner[i + 1] != '"')) {
        *reason = "a backslash in a string must be written \\\\";
        return false;
      }
      ++i;
    }
    if (out != nullptr) out->push_back(inner[i]);
  }
  return true;
}

// One quoted string that is all of `text`. `value` may be null.
bool DecodeString(std::string_view text, std::vector<std::uint8_t>* value, std::string* reason) {
  std::string decoded;
  std::size_t used = 0;
  if (text.empty() || text.front() != '"') {
    *reason = "expected a \"string\"";
    return false;
  }
  if (!ParseQuoted(text, value == nullptr ? nullptr : &decoded, &used, reason)) return false;
  if (!Trim(text.substr(used)).empty() &&
      !ParseLooselyQuoted(text, value == nullptr ? nullptr : &decoded, reason)) {
    return false;
  }
  if (value != nullptr) AppendString(decoded, value);
  return true;
}

// "a","b",...: each string and its terminator, then the list's own.
bool DecodeMultiSz(std::string_view list, std::vector<std::uint8_t>* value, std::string* reason) {
  std::string decoded;
  for (std::string_view rest = Trim(list);;) {
    std::size_t used = 0;
    if (rest.empty() || rest.front() != '"') {
      *reason = "a multi_sz list is \"strings\" separated by commas";
      return false;
    }
    if (!ParseQuoted(rest, value == nullptr ? nullptr : &decoded, &used, reason)) return false;
    if (value != nullptr) AppendString(decoded, value);
    rest = Trim(rest.substr(used));
    if (rest.empty()) break;
    if (rest.front() != ',') {
      *reason = "expected ',' between the strings of a multi_sz list";
      return false;
    }
    rest = Trim(rest.substr(1));
  }
  if (value != nullptr) value->insert(value->end(), {0, 0});
  return true;
}

// A word of letters, digits and '_' that no hex number spells: what a build
// leaves of a macro it did not expand.
bool IsBuildName(std::string_view token) {
  bool hex = true;
  for (char c : token) {
    const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
    if (!letter && !(c >= '0' && c <= '9')) return false;
    hex = hex && c != '_' && (c < 'g' || c > 'z') && (c < 'G' || c > 'Z');
  }
  return !token.empty() && !(token[0] >= '0' && token[0] <= '9') && !hex;
}

bool DecodeDword(std::string_view digits, RegistryValue* value, std::string* reason) {
  const std::string_view token = Trim(digits);
  std::uint32_t v = 0;
  if (!ParseHex32(token, &v)) {
    *reason =
        IsBuildName(token)
            ? "\"" + std::string(token) + "\" is a name, not a number: an unexpanded build macro"
            : "a dword is 1 to 8 hex digits, not \"" + std::string(token) + "\"";
    return false;
  }
  value->type = kRegDword;
  for (int shift = 0; shift < 32; shift += 8) {
    value->data.push_back(static_cast<std::uint8_t>(v >> shift));
  }
  return true;
}

// hex: or hex(N): and a list of bytes. `value` may be null.
bool DecodeHex(std::string_view data, std::uint32_t* type, std::vector<std::uint8_t>* value,
               std::string* reason) {
  std::string_view bytes = data.substr(3);
  *type = kRegBinary;
  if (!bytes.empty() && bytes.front() == '(') {
    const std::size_t close = bytes.find(')');
    if (close == std::string_view::npos || !ParseHex32(bytes.substr(1, close - 1), type)) {
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
    if (value != nullptr) value->push_back(static_cast<std::uint8_t>(byte));
    if (comma == std::string_view::npos) return true;
    bytes.remove_prefix(comma + 1);
  }
}

}  // namespace

bool DecodeValueData(std::string_view data, RegistryValue* value, std::string* reason) {
  RegistryValue unused;
  const bool checkOnly = value == nullptr;
  if (checkOnly) value = &unused;
  value->data.clear();
  std::vector<std::uint8_t>* bytes = checkOnly ? nullptr : &value->data;
  if (!data.empty() && data.front() == '"') {
    value->type = kRegSz;
    return DecodeString(data, bytes, reason);
  }
  if (StartsWithFolded(data, "mui_sz:")) {
    value->type = kRegMuiSz;
    return DecodeString(Trim(data.substr(7)), bytes, reason);
  }
  if (StartsWithFolded(data, "multi_sz:")) {
    value->type = kRegMultiSz;
    return DecodeMultiSz(data.substr(9), bytes, reason);
  }
  if (StartsWithFolded(data, "dword:")) return DecodeDword(data.substr(6), value, reason);
  if (data == "-") {
    *reason = "value deletions have no place in a registry snapshot";
    return false;
  }
  if (StartsWithFolded(data, "hex")) return DecodeHex(data, &value->type, bytes, reason);
  *reason = "unknown value type; expected \"text\", dword:, hex:, hex(N):, multi_sz: or mui_sz:";
  return false;
}

void FormatValueData(const RegistryValue& value, bool ansi, std::string* data, bool asciiOnly) {
  data->clear();
  std::string text;
  if ((value.type == kRegSz || value.type == kRegMuiSz) && PlainText(value.data, &text) &&
      (!ansi || FitsWindows1252(text)) && (!asciiOnly || IsAscii(text))) {
    if (value.type == kRegMuiSz) data->append("mui_sz:");
    AppendQuoted(text, data);
    return;
  }
  if (value.type == kRegDword && value.data.size() == 4) {
    data->append("dword:");
    for (int i = 3; i >= 0; --i) {
      data->push_back(kHexDigits[value.data[static_cast<std::size_t>(i)] >> 4]);
      data->push_back(kHexDigits[value.data[static_cast<std::size_t>(i)] & 0xF]);
    }
    return;
  }
  data->append("hex");
  if (value.type != kRegBinary) {
    std::string number;
    std::uint32_t t = value.type;
    do {
      number.insert(number.begin(), kHexDigits[t & 0xF]);
      t >>= 4;
    } while (t != 0);
    data->append("(" + number + ")");
  }
  data->push_back(':');
  for (std::size_t i = 0; i < value.data.size(); ++i) {
    if (i != 0) data->push_back(',');
    data->push_back(kHexDigits[value.data[i] >> 4]);
    data->push_back(kHexDigits[value.data[i] & 0xF]);
  }
}

}  // namespace hw::sim
