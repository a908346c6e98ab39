#include "platform/simulator/registry/RegistrySyntax.h"

#include <cstddef>

#include "platform/simulator/TextCodec.h"

namespace hw::sim {

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Two backslashes in a row: a key name between them is empty.
bool HasEmptyName(std::string_view path) {
  for (std::size_t at = FindChar(path, '\\'); at != std::string_view::npos;
       at = FindChar(path, '\\', at + 1)) {
    if (at + 1 < path.size() && path[at + 1] == '\\') return true;
  }
  return false;
}

// Whether `line` starts with `word` as a whole word, without regard to case.
bool StartsWithWord(std::string_view line, std::string_view word) {
  return StartsWithFolded(line, word) &&
         (line.size() == word.size() || line[word.size()] == ' ' || line[word.size()] == '\t');
}

}  // namespace

bool IsRegistryHeader(std::string_view line) {
  const std::string_view trimmed = Trim(line);
  return trimmed == kRegistryHeader || trimmed == kRegedit4Header;
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

std::string_view WithoutComment(std::string_view text) {
  bool quoted = false;
  std::size_t end = text.size();
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (quoted && text[i] == '\\') {
      ++i;
    } else if (text[i] == '"') {
      quoted = !quoted;
    } else if (!quoted && text[i] == ';') {
      end = i;
      break;
    }
  }
  while (end > 0 && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
  return text.substr(0, end);
}

std::string_view KeyHeaderOf(std::string_view line) {
  return !line.empty() && line.back() == ']' ? line : WithoutComment(line);
}

bool ParseKeyHeader(std::string_view header, std::string* path, std::string* reason) {
  if (header.size() < 2 || header.front() != '[' || header.back() != ']') {
    *reason = "a key must be written [HKEY_...\\path]";
    return false;
  }
  const std::string_view inner = header.substr(1, header.size() - 2);
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

bool ContinuesOnNextLine(std::string_view data, bool* dropLast) {
  if (data.empty()) return false;
  const char last = data.back();
  *dropLast = last == '\\';
  if (StartsWithFolded(data, "hex")) return last == '\\';
  return StartsWithFolded(data, "multi_sz:") && (last == ',' || last == '\\');
}

std::string ReasonForOtherLine(std::string_view line) {
  const std::string_view word = line.substr(0, line.find_first_of(" \t"));
  if (line.front() == '#' || StartsWithWord(line, "IF") || StartsWithWord(line, "ENDIF")) {
    return "a build line (" + std::string(word) +
           "): an image's registry has none; take the merged reginit.ini of the release folder";
  }
  return ReasonForLine(line, "expected a [key], a \"value\"=, @= or a ; comment");
}

std::string ReasonForLine(std::string_view line, std::string reason) {
  const std::size_t macro = line.find("$(");
  if (macro == std::string_view::npos) return reason;
  const std::size_t close = line.find(')', macro);
  const std::string_view name = line.substr(
      macro, close == std::string_view::npos ? std::string_view::npos : close + 1 - macro);
  return "unexpanded build macro " + std::string(name) +
         ": an image's registry holds the values the build gave it";
}

bool FormatValueLine(std::string_view name, std::string_view data, std::string* line) {
  if (name.find_first_of("\r\n") != std::string_view::npos) return false;
  line->clear();
  if (name.empty()) {
    line->push_back('@');
  } else {
    AppendQuoted(name, line);
  }
  line->push_back('=');
  line->append(data);
  return true;
}

}  // namespace hw::sim
