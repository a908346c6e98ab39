#include "platform/simulator/RegistryFile.h"

#include <algorithm>
#include <utility>

#include "platform/simulator/TextCodec.h"

namespace hw::sim {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";

int LineOfOffset(std::string_view text, std::size_t offset) {
  return 1 + static_cast<int>(std::count(text.begin(), text.begin() + offset, '\n'));
}

bool Fail(ParseError* error, int line, std::string reason) {
  error->line = line;
  error->reason = std::move(reason);
  return false;
}

// The file's text as UTF-8, whichever encoding it came in.
bool DecodeText(std::string_view bytes, RegistryFile::Encoding* encoding, std::string* text,
                ParseError* error) {
  if (bytes.substr(0, 2) == kUtf16LeBom) {
    *encoding = RegistryFile::Encoding::kUtf16LeBom;
    bytes.remove_prefix(2);
    std::u16string units;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
      units.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                            (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    }
    std::size_t bad = 0;
    if (!Utf16ToUtf8(units, text, &bad)) {
      std::string before;
      Utf16ToUtf8(units.substr(0, bad), &before);
      return Fail(error, LineOfOffset(before, before.size()), "unpaired UTF-16 surrogate");
    }
    if (bytes.size() % 2 != 0) {
      return Fail(error, LineOfOffset(*text, text->size()), "UTF-16 file has an odd byte count");
    }
    return true;
  }
  if (bytes.substr(0, 2) == "\xFE\xFF") {
    return Fail(error, 1, "UTF-16BE is not read; save the file as UTF-8 or UTF-16LE");
  }
  *encoding = RegistryFile::Encoding::kUtf8;
  if (bytes.substr(0, 3) == kUtf8Bom) {
    *encoding = RegistryFile::Encoding::kUtf8Bom;
    bytes.remove_prefix(3);
  }
  std::u16string ignored;
  std::size_t bad = 0;
  if (!Utf8ToUtf16(bytes, &ignored, &bad)) {
    return Fail(error, LineOfOffset(bytes, bad), "not valid UTF-8");
  }
  *text = std::string(bytes);
  return true;
}

}  // namespace

bool RegistryFile::Parse(std::string_view bytes, RegistryFile* file, ParseError* error) {
  RegistryFile parsed;
  std::string text;
  if (!DecodeText(bytes, &parsed.encoding_, &text, error)) return false;
  std::string_view rest = text;
  while (!rest.empty()) {
    const std::size_t end = rest.find('\n');
    Line line;
    if (end == std::string_view::npos) {
      line.text = std::string(rest);
      rest = {};
    } else {
      const bool crlf = end > 0 && rest[end - 1] == '\r';
      line.text = std::string(rest.substr(0, crlf ? end - 1 : end));
      line.ending = crlf ? "\r\n" : "\n";
      rest.remove_prefix(end + 1);
    }
    parsed.lines_.push_back(std::move(line));
  }
  if (!parsed.Index(error)) return false;
  *file = std::move(parsed);
  return true;
}

bool RegistryFile::Index(ParseError* error) {
  sections_.clear();
  if (lines_.empty() || Trim(lines_[0].text) != kRegistryHeader) {
    return Fail(error, 1, "the first line must be \"" + std::string(kRegistryHeader) + "\"");
  }
  std::string reason;
  for (std::size_t i = 1; i < lines_.size(); ++i) {
    const int lineNumber = static_cast<int>(i + 1);
    const std::string_view line = Trim(lines_[i].text);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      Section section{{}, i, {}};
      if (!ParseKeyHeader(line, &section.path, &reason)) return Fail(error, lineNumber, reason);
      sections_.push_back(std::move(section));
      continue;
    }
    if (line.front() != '"' && line.front() != '@') {
      return Fail(error, lineNumber, "expected a [key], a \"value\"=, @= or a ; comment");
    }
    if (sections_.empty()) return Fail(error, lineNumber, "a value before the first [key]");
    ValueEntry entry{{}, {}, i, i};
    std::string_view data;
    if (!ParseValueName(line, &entry.name, &data, &reason)) return Fail(error, lineNumber, reason);
    std::string joined(data);
    // regedit breaks long hex lists with a trailing '\' and indents the rest.
    while (IsHexData(joined) && !joined.empty() && joined.back() == '\\') {
      joined.pop_back();
      if (++entry.lastLine == lines_.size()) {
        return Fail(error, lineNumber, "the hex list continues past the end of the file");
      }
      joined += Trim(lines_[entry.lastLine].text);
    }
    if (!DecodeValueData(joined, &entry.value, &reason)) return Fail(error, lineNumber, reason);
    i = entry.lastLine;
    sections_.back().lastEntryLine = i;
    sections_.back().values.push_back(std::move(entry));
  }
  return true;
}

bool RegistryFile::HasKey(std::string_view path) const {
  for (const Section& section : sections_) {
    const std::string_view candidate = section.path;
    if (EqualsFolded(candidate, path)) return true;
    if (candidate.size() > path.size() && candidate[path.size()] == '\\' &&
        EqualsFolded(candidate.substr(0, path.size()), path)) {
      return true;
    }
  }
  return false;
}

const RegistryFile::Section* RegistryFile::LastSection(std::string_view key) const {
  const Section* found = nullptr;
  for (const Section& section : sections_) {
    if (EqualsFolded(section.path, key)) found = &section;
  }
  return found;
}

const RegistryFile::ValueEntry* RegistryFile::FindValue(std::string_view key,
                                                        std::string_view name) const {
  const ValueEntry* found = nullptr;
  for (const Section& section : sections_) {
    if (!EqualsFolded(section.path, key)) continue;
    for (const ValueEntry& entry : section.values) {
      if (EqualsFolded(entry.name, name)) found = &entry;
    }
  }
  return found;
}

std::optional<RegistryValue> RegistryFile::QueryValue(std::string_view key,
                                                      std::string_view name) const {
  const ValueEntry* entry = FindValue(key, name);
  if (entry == nullptr) return std::nullopt;
  return entry->value;
}

std::string RegistryFile::EndingBefore(std::size_t line) const {
  for (std::size_t i = line + 1; i-- > 0;) {
    if (!lines_[i].ending.empty()) return lines_[i].ending;
  }
  return "\r\n";
}

void RegistryFile::InsertLine(std::size_t after, std::string text) {
  Line line{std::move(text), lines_[after].ending};
  if (line.ending.empty()) {
    // The file ended without a line ending; it still does, after the new line.
    lines_[after].ending = EndingBefore(after);
  }
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(after + 1), std::move(line));
}

bool RegistryFile::SetValue(std::string_view key, std::string_view name,
                            const RegistryValue& value) {
  const ValueEntry* entry = FindValue(key, name);
  // A value keeps the spelling of its name, whatever case the caller used.
  std::string text;
  if (!HasKey(key) || !FormatValueLine(entry ? entry->name : name, value, &text)) return false;
  const std::vector<Line> before = lines_;
  if (entry != nullptr) {
    const auto first = lines_.begin() + static_cast<std::ptrdiff_t>(entry->firstLine);
    const std::string ending = lines_[entry->lastLine].ending;
    lines_.erase(first, lines_.begin() + static_cast<std::ptrdiff_t>(entry->lastLine + 1));
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(entry->firstLine),
                  Line{std::move(text), ending});
  } else if (const Section* section = LastSection(key)) {
    InsertLine(section->lastEntryLine, std::move(text));
  } else {
    if (!Trim(lines_.back().text).empty()) InsertLine(lines_.size() - 1, "");
    InsertLine(lines_.size() - 1, "[" + std::string(key) + "]");
    InsertLine(lines_.size() - 1, std::move(text));
  }
  ParseError ignored;
  if (!Index(&ignored)) {
    lines_ = before;
    Index(&ignored);
    return false;
  }
  return true;
}

std::string RegistryFile::Serialize() const {
  std::string text;
  for (const Line& line : lines_) text += line.text + line.ending;
  if (encoding_ == Encoding::kUtf8) return text;
  if (encoding_ == Encoding::kUtf8Bom) return std::string(kUtf8Bom) + text;
  std::u16string units;
  Utf8ToUtf16(text, &units);
  std::string bytes(kUtf16LeBom);
  for (char16_t unit : units) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  return bytes;
}

std::vector<std::string> RegistryFile::KeyPaths() const {
  std::vector<std::string> paths;
  for (const Section& section : sections_) paths.push_back(section.path);
  return paths;
}

}  // namespace hw::sim
