#include "platform/simulator/registry/RegistryFile.h"

#include <algorithm>
#include <utility>

#include "platform/simulator/TextCodec.h"
#include "platform/simulator/registry/RegistryKeyIndex.h"

namespace hw::sim {

namespace {

// Whether a line made for the file reads back: a name or a text that regedit
// could not write must not spoil the file.
bool ReadsBack(std::string_view line) {
  std::string_view data;
  std::string reason;
  return ParseValueName(line, nullptr, nullptr, &data, &reason) &&
         DecodeValueData(data, nullptr, &reason);
}

}  // namespace

RegistryFile::RegistryFile() = default;
RegistryFile::RegistryFile(const RegistryFile& other)
    : encoding_(other.encoding_), text_(other.text_), sections_(other.sections_) {}
RegistryFile::RegistryFile(RegistryFile&& other) noexcept = default;
RegistryFile& RegistryFile::operator=(RegistryFile other) noexcept {
  encoding_ = other.encoding_;
  text_ = std::move(other.text_);
  sections_ = std::move(other.sections_);
  keys_ = std::move(other.keys_);
  return *this;
}
RegistryFile::~RegistryFile() = default;

RegistryFile::Line RegistryFile::LineAt(std::size_t begin) const {
  const std::size_t newline = FindChar(text_, '\n', begin);
  if (newline == std::string::npos) return {begin, text_.size(), text_.size()};
  const bool crlf = newline > begin && text_[newline - 1] == '\r';
  return {begin, crlf ? newline - 1 : newline, newline + 1};
}

bool RegistryFile::Parse(std::string_view bytes, RegistryFile* file, ParseError* error) {
  return Parse(std::string(bytes), file, error);
}

bool RegistryFile::Parse(std::string&& bytes, RegistryFile* file, ParseError* error) {
  std::vector<ParseError> refused;
  if (Parse(std::move(bytes), file, &refused)) return true;
  *error = std::move(refused.front());
  return false;
}

bool RegistryFile::Parse(std::string&& bytes, RegistryFile* file,
                         std::vector<ParseError>* refused) {
  RegistryFile parsed;
  ParseError error;
  refused->clear();
  if (!DecodeRegistryText(std::move(bytes), &parsed.encoding_, &parsed.text_, &error)) {
    refused->push_back(std::move(error));
    return false;
  }
  parsed.Index(refused);
  if (!refused->empty()) return false;
  // The key index now, while the paths are fresh in the processor's cache:
  // made at the first look-up, it was what made a first press slower than
  // the next ones.
  parsed.Keys();
  *file = std::move(parsed);
  return true;
}

// Every line is checked, so that a refusal names all it can; past
// kMaxRefusedLines the list only says that there are more.
void RegistryFile::Index(std::vector<ParseError>* refused) {
  const std::string_view text = text_;
  const Line first = LineAt(0);
  std::size_t at = first.next;
  if (text.empty() || !IsRegistryHeader(text.substr(0, first.end))) {
    refused->push_back({1, "the first line must be \"" + std::string(kRegistryHeader) + "\" or \"" +
                               std::string(kRegedit4Header) + "\""});
    at = 0;  // a file without a header may still say more about itself
  }
  // About 200 bytes a key in a terminal's export: the list seldom grows by copying.
  sections_.reserve(text.size() / 200);
  std::string reason;
  std::string joined;  // a value's continued lines, its memory reused
  int lineNumber = at == 0 ? 0 : 1;
  while (at < text.size() && refused->size() <= kMaxRefusedLines) {
    const Line line = LineAt(at);
    ++lineNumber;
    // A first line that is no header has been refused as such.
    if (!IndexLine(line, &at, &joined, &reason) && (line.begin != 0 || refused->empty())) {
      refused->push_back({lineNumber, std::move(reason)});
    }
    // The continuation lines of a list are lines too.
    for (std::size_t i = line.next; i < at; ++i) lineNumber += text[i] == '\n';
  }
}

// Checks the line at `line` (and the lines a value continues on), moving
// `*at` past them; a key's line starts a section.
bool RegistryFile::IndexLine(const Line& line, std::size_t* at, std::string* joined,
                             std::string* reason) {
  const std::string_view text = text_;
  const std::string_view trimmed = Trim(text.substr(line.begin, line.end - line.begin));
  *at = line.next;
  if (trimmed.empty() || trimmed.front() == ';') return true;
  if (trimmed.front() == '[') {
    const std::string_view header = KeyHeaderOf(trimmed);
    if (!ParseKeyHeader(header, nullptr, reason)) {
      *reason = ReasonForLine(trimmed, *reason);
      return false;
    }
    const auto pathBegin = static_cast<std::size_t>(header.data() - text.data()) + 1;
    sections_.push_back({pathBegin, header.size() - 2});
    return true;
  }
  if (trimmed.front() != '"' && trimmed.front() != '@') {
    *reason = ReasonForOtherLine(trimmed);
    return false;
  }
  if (sections_.empty()) {
    *reason = "a value before the first [key]";
    return false;
  }
  if (IsPlainValueLine(trimmed)) return true;
  Value value;
  std::string_view data;
  if (!ReadValue(line, &value, &data, joined, at, reason) ||
      !DecodeValueData(data, nullptr, reason)) {
    *reason = ReasonForLine(trimmed, *reason);
    return false;
  }
  return true;
}

bool RegistryFile::ReadValue(const Line& first, Value* value, std::string_view* data,
                             std::string* joined, std::size_t* next, std::string* reason) const {
  const std::string_view text = text_;
  const std::string_view line = Trim(text.substr(first.begin, first.end - first.begin));
  std::size_t nameEnd = 1;
  std::string_view rest;
  if (!ParseValueName(line, nullptr, &nameEnd, &rest, reason)) return false;
  const auto nameBegin = static_cast<std::size_t>(line.data() - text.data()) + 1;
  const std::size_t nameLength = line.front() == '"' ? nameEnd - 2 : 0;
  const bool escaped = text.substr(nameBegin, nameLength).find('\\') != std::string_view::npos;
  const auto dataBegin = static_cast<std::size_t>(rest.data() - text.data());
  *value = {first.begin, first.end, dataBegin, nameBegin, nameLength, escaped};
  *next = first.next;
  *data = WithoutComment(rest);
  bool dropLast = false;
  if (!ContinuesOnNextLine(*data, &dropLast)) return true;
  joined->assign(*data);
  do {
    if (dropLast) joined->pop_back();
    if (*next >= text.size()) {
      *reason = "the list continues past the end of the file";
      return false;
    }
    const Line more = LineAt(*next);
    joined->append(WithoutComment(Trim(text.substr(more.begin, more.end - more.begin))));
    value->end = more.end;
    *next = more.next;
  } while (ContinuesOnNextLine(*joined, &dropLast));
  *data = *joined;
  return true;
}

std::string_view RegistryFile::Path(const Section& section) const {
  return std::string_view(text_).substr(section.pathBegin, section.pathLength);
}

std::string_view RegistryFile::Name(const Value& value) const {
  return std::string_view(text_).substr(value.nameBegin, value.nameLength);
}

std::vector<RegistryFile::Value> RegistryFile::ValuesOf(const Section& section,
                                                        std::size_t* entryEnd) const {
  std::vector<Value> values;
  std::string_view data;
  std::string joined;
  std::string reason;
  const Line header = LineAt(section.pathBegin);
  *entryEnd = header.end;
  // Every line was checked when the file was read: these reads cannot fail.
  for (std::size_t at = header.next; at < text_.size();) {
    const Line line = LineAt(at);
    const std::string_view trimmed =
        Trim(std::string_view(text_).substr(line.begin, line.end - line.begin));
    if (!trimmed.empty() && trimmed.front() == '[') break;
    at = line.next;
    if (trimmed.empty() || trimmed.front() == ';') continue;
    Value value{};
    ReadValue(line, &value, &data, &joined, &at, &reason);
    values.push_back(value);
    *entryEnd = value.end;
  }
  return values;
}

RegistryKeyIndex::PathOf RegistryFile::SectionPaths() const {
  return [this](std::size_t section) { return Path(sections_[section]); };
}

const RegistryKeyIndex& RegistryFile::Keys() const {
  if (keys_ == nullptr)
    keys_ = std::make_unique<RegistryKeyIndex>(sections_.size(), SectionPaths());
  return *keys_;
}

bool RegistryFile::HasKey(std::string_view path) const {
  return Keys().Has(path, SectionPaths());
}

std::optional<RegistryFile::Value> RegistryFile::FindValue(std::string_view key,
                                                           std::string_view name) const {
  std::optional<Value> found;
  std::size_t entryEnd = 0;
  for (std::size_t s : Keys().SectionsOf(key, SectionPaths())) {
    for (const Value& value : ValuesOf(sections_[s], &entryEnd)) {
      if (value.nameEscaped ? EqualsFolded(UnescapeName(Name(value)), name)
                            : EqualsFolded(Name(value), name)) {
        found = value;
      }
    }
  }
  return found;
}

std::optional<RegistryValue> RegistryFile::QueryValue(std::string_view key,
                                                      std::string_view name) const {
  const std::optional<Value> found = FindValue(key, name);
  if (!found) return std::nullopt;
  return DataOf(*found);
}

RegistryValue RegistryFile::DataOf(const Value& found) const {
  Value value{};
  std::string_view data;
  std::string joined;
  std::string reason;
  std::size_t next = 0;
  RegistryValue decoded;
  // The file was checked when it was read; these cannot fail.
  ReadValue(LineAt(found.begin), &value, &data, &joined, &next, &reason);
  DecodeValueData(data, &decoded, &reason);
  return decoded;
}

bool RegistryFile::SetValue(std::string_view key, std::string_view name,
                            const RegistryValue& value) {
  const std::optional<Value> found = FindValue(key, name);
  if (!HasKey(key)) return false;
  // A set that changes nothing leaves the line as written, comment and all.
  if (found && DataOf(*found) == value) return true;
  const bool ansi = encoding_ == Encoding::kWindows1252;
  // Under regedit's header, 8-bit text reads as Windows-1252 only because it
  // is not UTF-8: a set adds no byte beyond ASCII, so that what it wrote
  // reads the same afterwards.
  const bool asciiOnly =
      ansi && Trim(std::string_view(text_).substr(0, LineAt(0).end)) == kRegistryHeader;
  std::string data;
  FormatValueData(value, ansi, &data, asciiOnly);
  if (found) {
    // The line keeps the spelling of its name, whatever case the caller used.
    ReplaceData(*found, data);
    return true;
  }
  std::string line;
  if (!FormatValueLine(name, data, &line) || !ReadsBack(line) ||
      (ansi && !FitsWindows1252(line + std::string(key))) || (asciiOnly && !IsAscii(line))) {
    return false;
  }
  if (const std::vector<std::size_t> sections = Keys().SectionsOf(key, SectionPaths());
      !sections.empty()) {
    InsertValue(sections.back(), line);
    return true;
  }
  // A new section spells the key as the caller does.
  if (asciiOnly && !IsAscii(key)) return false;
  AppendSection(key, line);
  return true;
}

EncodedText RegistryFile::Bytes(std::string* scratch) const {
  return EncodeRegistryText(text_, encoding_, scratch);
}

std::string RegistryFile::Serialize() const {
  std::string scratch;
  const EncodedText bytes = Bytes(&scratch);
  if (bytes.body.data() == scratch.data()) return scratch;
  std::string serialized;
  serialized.reserve(bytes.bom.size() + bytes.body.size());
  serialized.append(bytes.bom).append(bytes.body);
  return serialized;
}

bool RegistryFile::SerializesTo(std::string_view bytes) const {
  return IsRegistryTextEncoded(text_, encoding_, bytes);
}

std::vector<std::string> RegistryFile::KeyPaths() const {
  std::vector<std::string> paths;
  paths.reserve(sections_.size());
  for (const Section& section : sections_) paths.emplace_back(Path(section));
  return paths;
}

std::string DescribeRefusal(std::string_view name, const std::vector<ParseError>& refused) {
  const std::string file(name);
  std::string text;
  const std::size_t shown = std::min(refused.size(), RegistryFile::kMaxRefusedLines);
  for (std::size_t i = 0; i < shown; ++i) {
    text += file + ":" + std::to_string(refused[i].line) + ": " + refused[i].reason + "\n";
  }
  if (refused.size() > shown) {
    text += file + ": more lines after line " + std::to_string(refused[shown - 1].line) +
            " are refused too\n";
  }
  text += file +
          ": the simulator loads a registry as an image holds it: resolve the build's lines "
          "first (#include, #if, IF, $(...): the merged reginit.ini of the release folder has "
          "none), and leave deletions out, which have no place in a registry snapshot";
  return text;
}

}  // namespace hw::sim
