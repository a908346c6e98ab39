#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/simulator/ParseError.h"
#include "platform/simulator/registry/RegistryEncoding.h"
#include "platform/simulator/registry/RegistryKeyIndex.h"
#include "platform/simulator/registry/RegistrySyntax.h"

namespace hw::sim {

// A registry file ("Windows Registry Editor Version 5.00", or "REGEDIT4" as
// the build's reginit.ini) kept as its text, with the place of every key and
// value in it, so that a change touches one value and every other byte (keys,
// values, comments, indentation, blank lines, line endings, header, encoding)
// is written back as it was read. A real terminal's export runs to
// megabytes: a parse checks every line but keeps only where each section
// starts, a look-up reads the few lines of the key's sections, and a change
// moves the places after it instead of reading the file again.
//
// Key paths are full ("HKEY_LOCAL_MACHINE\Drivers\..."); keys and value names
// compare without regard to ASCII case. A key exists when it has a section or
// when a section of one of its subkeys exists, as it would after an import.
class RegistryFile {
 public:
  using Encoding = RegistryEncoding;

  RegistryFile();
  RegistryFile(const RegistryFile& other);
  RegistryFile(RegistryFile&& other) noexcept;
  RegistryFile& operator=(RegistryFile other) noexcept;
  ~RegistryFile();

  // Parses the bytes of a file: UTF-8 with or without a BOM, UTF-16LE with its
  // BOM, or Windows-1252 under a REGEDIT4 header. False with the line and the
  // reason when any line is malformed.
  static bool Parse(std::string_view bytes, RegistryFile* file, ParseError* error);
  // The same, taking the bytes over: a UTF-8 file's bytes become its text.
  static bool Parse(std::string&& bytes, RegistryFile* file, ParseError* error);
  // The same, naming every refused line in file order, up to
  // kMaxRefusedLines, and one more when there are more.
  static constexpr std::size_t kMaxRefusedLines = 20;
  static bool Parse(std::string&& bytes, RegistryFile* file, std::vector<ParseError>* refused);

  bool HasKey(std::string_view path) const;
  std::optional<RegistryValue> QueryValue(std::string_view key, std::string_view name) const;
  // Replaces the value's data (of its last line, which an import would keep):
  // the line keeps its indentation, its name as spelled and the blanks around
  // '=', and loses the comment that spoke of the old data; a set of the data
  // the value already holds changes no byte. Or adds a line, indented like the
  // one above it, after the last value of the key's last section. A key that
  // exists only through its subkeys gets a section at the end of the file.
  // False when the key is absent or the name cannot be written (in an ANSI
  // file, a name beyond Windows-1252); the file is then unchanged.
  bool SetValue(std::string_view key, std::string_view name, const RegistryValue& value);
  // The whole file again, in the encoding it was read in.
  std::string Serialize() const;
  // The same without a copy where the encoding allows (else made in `scratch`).
  EncodedText Bytes(std::string* scratch) const;
  // Whether Serialize() would give exactly `bytes`; it does not make them.
  bool SerializesTo(std::string_view bytes) const;

  Encoding encoding() const { return encoding_; }
  std::vector<std::string> KeyPaths() const;  // the sections' paths, in file order

 private:
  // Places are offsets into text_. A value spans its lines, from the start of
  // the first to the end of the last one's text (its ending excluded).
  struct Value {
    std::size_t begin;
    std::size_t end;
    std::size_t dataBegin;  // just after '=' and its blanks
    std::size_t nameBegin;  // the name between its quotes, escapes and all
    std::size_t nameLength;
    bool nameEscaped;
  };
  struct Section {
    std::size_t pathBegin;  // just after its '['
    std::size_t pathLength;
  };
  struct Line {  // [begin, end) is its text without the ending; `next` starts the next line
    std::size_t begin;
    std::size_t end;
    std::size_t next;
  };

  Line LineAt(std::size_t begin) const;
  void Index(std::vector<ParseError>* refused);
  bool IndexLine(const Line& line, std::size_t* at, std::string* joined, std::string* reason);
  bool ReadValue(const Line& first, Value* value, std::string_view* data, std::string* joined,
                 std::size_t* next, std::string* reason) const;
  std::string_view Path(const Section& section) const;
  std::string_view Name(const Value& value) const;
  RegistryValue DataOf(const Value& value) const;
  // A section's values in file order, and the end of its last entry's text
  // (of its header's when it has none).
  std::vector<Value> ValuesOf(const Section& section, std::size_t* entryEnd) const;
  std::optional<Value> FindValue(std::string_view key, std::string_view name) const;
  RegistryKeyIndex::PathOf SectionPaths() const;
  const RegistryKeyIndex& Keys() const;
  std::string_view EndingAt(std::size_t offset) const;
  std::string_view EndingAbove(std::size_t offset) const;
  void Shift(std::size_t from, std::ptrdiff_t by);
  void ReplaceData(const Value& value, const std::string& data);
  void InsertValue(std::size_t section, const std::string& line);
  std::size_t AppendLine(std::string_view line);
  void AppendSection(std::string_view key, const std::string& line);

  Encoding encoding_ = Encoding::kUtf8;
  std::string text_;                                // UTF-8, without a BOM
  std::vector<Section> sections_;                   // in file order
  mutable std::unique_ptr<RegistryKeyIndex> keys_;  // made by the parse, or a copy's first look-up
};

// A refused file's lines, each as "NAME:LINE: reason" on a line of its own,
// then what would make it load.
std::string DescribeRefusal(std::string_view name, const std::vector<ParseError>& refused);

}  // namespace hw::sim
