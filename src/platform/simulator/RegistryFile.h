#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/simulator/ParseError.h"
#include "platform/simulator/RegistrySyntax.h"

namespace hw::sim {

// A "Windows Registry Editor Version 5.00" file kept as its lines, so that a
// change touches one line and every other byte (keys, values, comments, blank
// lines, line endings, encoding) is written back as it was read.
//
// Key paths are full ("HKEY_LOCAL_MACHINE\Drivers\..."); keys and value names
// compare without regard to ASCII case. A key exists when it has a section or
// when a section of one of its subkeys exists, as it would after an import.
class RegistryFile {
 public:
  enum class Encoding { kUtf8, kUtf8Bom, kUtf16LeBom };

  // Parses the bytes of a file: UTF-8 with or without a BOM, or UTF-16LE with
  // its BOM. False with the line and the reason when any line is malformed.
  static bool Parse(std::string_view bytes, RegistryFile* file, ParseError* error);

  bool HasKey(std::string_view path) const;
  std::optional<RegistryValue> QueryValue(std::string_view key, std::string_view name) const;
  // Replaces the value's line (its last one, which an import would keep), or
  // adds a line after the last value of the key's last section. A key that
  // exists only through its subkeys gets a section at the end of the file.
  // False when the key is absent or the name cannot be written; the file is
  // then unchanged.
  bool SetValue(std::string_view key, std::string_view name, const RegistryValue& value);
  // The whole file again, in the encoding it was read in.
  std::string Serialize() const;

  Encoding encoding() const { return encoding_; }
  std::vector<std::string> KeyPaths() const;  // the sections' paths, in file order

 private:
  struct Line {
    std::string text;    // UTF-8, without its ending
    std::string ending;  // "\r\n", "\n" or, for a last line without one, ""
  };
  struct ValueEntry {
    std::string name;
    RegistryValue value;
    std::size_t firstLine;
    std::size_t lastLine;
  };
  struct Section {
    std::string path;
    std::size_t lastEntryLine;  // the header or the last line of its last value
    std::vector<ValueEntry> values;
  };

  bool Index(ParseError* error);
  const ValueEntry* FindValue(std::string_view key, std::string_view name) const;
  const Section* LastSection(std::string_view key) const;
  std::string EndingBefore(std::size_t line) const;  // the nearest one at or above it
  void InsertLine(std::size_t after, std::string text);

  Encoding encoding_ = Encoding::kUtf8;
  std::vector<Line> lines_;
  std::vector<Section> sections_;
};

}  // namespace hw::sim
