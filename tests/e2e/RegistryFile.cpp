#include "RegistryFile.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "Text.h"

namespace e2e {
namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

std::string MachinePath(const std::string& key) {
  return Lower("HKEY_LOCAL_MACHINE\\" + key);
}

std::string AsUtf8(const std::string& bytes) {
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
      static_cast<unsigned char>(bytes[1]) == 0xFE) {
    std::wstring wide((bytes.size() - 2) / 2, L'\0');
    for (std::size_t i = 0; i < wide.size(); ++i) {
      wide[i] = static_cast<wchar_t>(static_cast<unsigned char>(bytes[2 + 2 * i]) |
                                     static_cast<unsigned char>(bytes[3 + 2 * i]) << 8);
    }
    return Utf8(wide);
  }
  if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) return bytes.substr(3);
  return bytes;
}

// Logical lines: "\r\n" or "\n" ends a line, a trailing backslash continues it.
std::vector<std::string> LogicalLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string current;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line.back() == '\\') {
      line.pop_back();
      current += line;
    } else {
      current += line;
      lines.push_back(current);
      current.clear();
    }
    start = end + 1;
  }
  return lines;
}

// A quoted text starting at `pos` (on the opening quote); advances past it.
bool Quoted(const std::string& line, std::size_t& pos, std::string& out) {
  if (pos >= line.size() || line[pos] != '"') return false;
  out.clear();
  for (++pos; pos < line.size(); ++pos) {
    char c = line[pos];
    if (c == '\\' && pos + 1 < line.size()) {
      out += line[++pos];
    } else if (c == '"') {
      ++pos;
      return true;
    } else {
      out += c;
    }
  }
  return false;
}

std::string Escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out;
}

}  // namespace

RegistryFile RegistryFile::Parse(const std::string& bytes) {
  RegistryFile file;
  std::string current;
  int number = 0;
  for (const std::string& raw : LogicalLines(AsUtf8(bytes))) {
    ++number;
    std::string line = raw;
    line.erase(0, line.find_first_not_of(" \t"));
    if (line.empty() || line[0] == ';' || line.rfind("Windows Registry Editor", 0) == 0) continue;
    if (line[0] == '[') {
      std::size_t close = line.rfind(']');
      current = Lower(line.substr(1, close == std::string::npos ? std::string::npos : close - 1));
      file.keys_[current];
      continue;
    }
    std::string name;
    std::size_t pos = 0;
    if (line[0] == '@') {
      name = "@";
      pos = 1;
    } else if (!Quoted(line, pos, name)) {
      file.error_ = "line " + std::to_string(number) + ": " + raw;
      continue;
    }
    if (pos >= line.size() || line[pos] != '=') {
      file.error_ = "line " + std::to_string(number) + ": " + raw;
      continue;
    }
    ++pos;
    std::string data;
    if (pos < line.size() && line[pos] == '"') {
      Quoted(line, pos, data);
    } else {
      data = line.substr(pos);
    }
    file.keys_[current][Lower(name)] = data;
  }
  return file;
}

std::string RegistryFile::TextOf(const std::string& bytes) {
  return AsUtf8(bytes);
}

bool RegistryFile::HasKey(const std::string& machineKey) const {
  return keys_.count(MachinePath(machineKey)) != 0;
}

std::optional<std::string> RegistryFile::Get(const std::string& machineKey,
                                             const std::string& name) const {
  auto key = keys_.find(MachinePath(machineKey));
  if (key == keys_.end()) return std::nullopt;
  auto value = key->second.find(Lower(name));
  if (value == key->second.end()) return std::nullopt;
  return value->second;
}

void RegistryFile::Set(const std::string& machineKey, const std::string& name,
                       const std::string& data) {
  keys_[MachinePath(machineKey)][Lower(name)] = data;
}

bool RegistryFile::SetString(std::string& bytes, const std::string& machineKey,
                             const std::string& name, const std::string& data) {
  const std::string eol = bytes.find("\r\n") != std::string::npos ? "\r\n" : "\n";
  const std::string header = MachinePath(machineKey);
  const std::string entry = "\"" + Escaped(name) + "\"=\"" + Escaped(data) + "\"";
  std::size_t start = 0;
  bool inKey = false;
  std::size_t afterHeader = std::string::npos;
  while (start < bytes.size()) {
    std::size_t end = bytes.find('\n', start);
    std::size_t next = end == std::string::npos ? bytes.size() : end + 1;
    std::string line = bytes.substr(start, next - start);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    if (!line.empty() && line[0] == '[') {
      if (inKey) break;
      inKey = Lower(line) == "[" + header + "]";
      if (inKey) afterHeader = next;
    } else if (inKey) {
      std::size_t pos = 0;
      std::string valueName;
      if (Quoted(line, pos, valueName) && Lower(valueName) == Lower(name)) {
        bytes.replace(start, line.size(), entry);
        return true;
      }
    }
    start = next;
  }
  if (afterHeader == std::string::npos) return false;
  bytes.insert(afterHeader, entry + eol);
  return true;
}

}  // namespace e2e
