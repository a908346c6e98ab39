// How a set changes the text of registry.reg: one line replaced or added, and
// the places of everything after it moved by the difference. Nothing else in
// the text changes, so nothing else needs reading again.
#include <utility>

#include "platform/simulator/TextCodec.h"
#include "platform/simulator/registry/RegistryFile.h"
#include "platform/simulator/registry/RegistryKeyIndex.h"

namespace hw::sim {

namespace {

// The ending of the file's last line: "" when it has none.
std::string_view FinalEnding(const std::string& text) {
  if (text.empty() || text.back() != '\n') return "";
  return text.size() >= 2 && text[text.size() - 2] == '\r' ? "\r\n" : "\n";
}

}  // namespace

// The ending of the line whose text ends at `offset`: "" at the end of a file
// that has no final one.
std::string_view RegistryFile::EndingAt(std::size_t offset) const {
  if (offset >= text_.size()) return "";
  return text_[offset] == '\r' ? "\r\n" : "\n";
}

// The ending of the nearest line above `offset`; "\r\n" when there is none.
std::string_view RegistryFile::EndingAbove(std::size_t offset) const {
  const std::size_t newline = offset == 0 ? std::string::npos : text_.rfind('\n', offset - 1);
  if (newline == std::string::npos) return "\r\n";
  return newline > 0 && text_[newline - 1] == '\r' ? "\r\n" : "\n";
}

void RegistryFile::Shift(std::size_t from, std::ptrdiff_t by) {
  for (Section& section : sections_) {
    if (section.pathBegin >= from) {
      section.pathBegin =
          static_cast<std::size_t>(static_cast<std::ptrdiff_t>(section.pathBegin) + by);
    }
  }
}

// The value's data, with its comment and continuation lines, gives way to
// `data`; what stands before it on the first line stays, and so does the
// ending of the last.
void RegistryFile::ReplaceData(const Value& value, const std::string& data) {
  text_.replace(value.dataBegin, value.end - value.dataBegin, data);
  Shift(value.end, static_cast<std::ptrdiff_t>(data.size()) -
                       static_cast<std::ptrdiff_t>(value.end - value.dataBegin));
}

// `line` goes after the section's last value, indented as that value is, and
// takes that line's ending. A file that ended without one still does, after
// the new line.
void RegistryFile::InsertValue(std::size_t section, const std::string& line) {
  std::size_t at = 0;
  const std::vector<Value> values = ValuesOf(sections_[section], &at);
  std::string_view ending = EndingAt(at);
  if (ending.empty()) ending = EndingAbove(at);
  std::string inserted(ending);
  if (!values.empty()) {
    const std::string_view above = std::string_view(text_).substr(values.back().begin);
    inserted.append(above.substr(0, above.find_first_not_of(" \t")));
  }
  inserted.append(line);
  text_.insert(at, inserted);
  Shift(at + 1, static_cast<std::ptrdiff_t>(inserted.size()));
}

// Adds `line` after the last line of the file, the way InsertValue does;
// returns where its text starts.
std::size_t RegistryFile::AppendLine(std::string_view line) {
  const std::string_view last = FinalEnding(text_);
  if (!last.empty()) {
    const std::size_t begin = text_.size();
    text_.append(line).append(last);
    return begin;
  }
  text_.append(EndingAbove(text_.size())).append(line);
  return text_.size() - line.size();
}

// A key known only by its subkeys gets a section of its own at the end,
// after a blank line unless the file ends with one.
void RegistryFile::AppendSection(std::string_view key, const std::string& line) {
  const std::size_t lastEnd = text_.size() - FinalEnding(text_).size();
  const std::size_t newline = lastEnd == 0 ? std::string::npos : text_.rfind('\n', lastEnd - 1);
  const std::size_t lastBegin = newline == std::string::npos ? 0 : newline + 1;
  if (!Trim(std::string_view(text_).substr(lastBegin, lastEnd - lastBegin)).empty()) {
    AppendLine("");
  }
  const std::size_t header = AppendLine("[" + std::string(key) + "]");
  AppendLine(line);
  sections_.push_back({header + 1, key.size()});
  if (keys_ != nullptr) keys_->Add(sections_.size() - 1, SectionPaths());
}

}  // namespace hw::sim
