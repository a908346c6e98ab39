#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace hw::sim {

inline constexpr std::string_view kRegistryHeader = "Windows Registry Editor Version 5.00";

inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;

// A value as the registry holds it: its type and its bytes. A string's bytes
// are its UTF-16LE text with the terminator.
struct RegistryValue {
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;

  bool operator==(const RegistryValue& other) const {
    return type == other.type && data == other.data;
  }
};

// The text of one line of a .reg file, one piece at a time. Each returns false
// and a reason when the text is not what it must be. An output given as null
// is not produced: the text is only checked, which is what a file's parse
// does for each of its many lines.

// "[ROOT\path]" -> "ROOT\path". The root is one of the HKEY_* names; deletions
// ("[-...]") are not part of a registry snapshot.
bool ParseKeyHeader(std::string_view line, std::string* path, std::string* reason);

// `"name"=` or `@=` at the start of a line: the name (empty for @) and the
// text after '='. `*nameEnd` is the length up to and including the name's
// closing quote (1 for @).
bool ParseValueName(std::string_view line, std::string* name, std::size_t* nameEnd,
                    std::string_view* rest, std::string* reason);

// A quoted name's text between its quotes with the escapes \\ and \" undone.
std::string UnescapeName(std::string_view quoted);

// True for a whole (trimmed) line of the two shapes most of an export is
// made of, "name"="text" and "name"=dword:digits, spelled without escapes or
// spaces: what the other functions accept, checked in one pass. False does
// not mean malformed, only that the line needs the functions above.
bool IsPlainValueLine(std::string_view line);

// True when the data text is a hex list, which may continue on the next line.
bool IsHexData(std::string_view data);

// The data after '=' (hex continuations already joined) as a value.
bool DecodeValueData(std::string_view data, RegistryValue* value, std::string* reason);

// The line that stores `value` under `name` the way regedit writes it: a plain
// string when the bytes are exactly a one-line text and its terminator, else
// dword: or hex(N):. False when the name cannot stand on one line.
bool FormatValueLine(std::string_view name, const RegistryValue& value, std::string* line);

}  // namespace hw::sim
