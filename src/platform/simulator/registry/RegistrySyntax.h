#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace hw::sim {

// The first line of a registry file: regedit's, or the older one that
// regedit's ANSI exports and the build's reginit.ini begin with.
inline constexpr std::string_view kRegistryHeader = "Windows Registry Editor Version 5.00";
inline constexpr std::string_view kRegedit4Header = "REGEDIT4";
// Whether a first line (without its ending) is one of the two, blanks aside.
bool IsRegistryHeader(std::string_view line);

inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegMultiSz = 7;
// CE's REG_MUI_SZ, 21 in its winnt.h: a text naming a string resource
// ("netmui.dll,#1234") that CE loads in the user's language. Its bytes are
// those of a REG_SZ; desktop Windows has no such type.
inline constexpr std::uint32_t kRegMuiSz = 21;

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

// A quoted text at text[0] with the escapes \\ and \" (undone in `out`, which
// may be null); `*used` is its length with both quotes.
bool ParseQuoted(std::string_view text, std::string* out, std::size_t* used, std::string* reason);
void AppendQuoted(std::string_view text, std::string* out);
// 1 to 8 hex digits, nothing else.
bool ParseHex32(std::string_view text, std::uint32_t* value);
bool StartsWithFolded(std::string_view text, std::string_view prefix);

// The text before a trailing "; comment" (a ';' outside quotes), without the
// blanks before it.
std::string_view WithoutComment(std::string_view text);

// The "[...]" of a key's (trimmed) line: the line itself when it ends with
// ']', else the line without its comment.
std::string_view KeyHeaderOf(std::string_view line);

// "[ROOT\path]" -> "ROOT\path". The root is one of the HKEY_* names; deletions
// ("[-...]") are not part of a registry snapshot.
bool ParseKeyHeader(std::string_view header, std::string* path, std::string* reason);

// `"name"=` or `@=` at the start of a line, blanks allowed around '=': the
// name (empty for @) and the text after '=' and its blanks. `*nameEnd` is the
// length up to and including the name's closing quote (1 for @).
bool ParseValueName(std::string_view line, std::string* name, std::size_t* nameEnd,
                    std::string_view* rest, std::string* reason);

// A quoted name's text between its quotes with the escapes \\ and \" undone.
std::string UnescapeName(std::string_view quoted);

// True for a whole (trimmed) line of the two shapes most of an export is
// made of, "name"="text" and "name"=dword:digits, spelled without escapes,
// spaces or comments: what the other functions accept, checked in one pass.
// False does not mean malformed, only that the line needs the functions above.
bool IsPlainValueLine(std::string_view line);

// Whether the data (without its comment) goes on in the next line: a hex list
// after a trailing '\', as regedit breaks one; a multi_sz list after a
// trailing ',' (or '\'). `*dropLast` says whether that last character goes.
bool ContinuesOnNextLine(std::string_view data, bool* dropLast);

// Why a line that is none of a key, a value and a comment is refused: a line
// of the build's (#include, #if, IF, ENDIF) says so before any macro in it.
std::string ReasonForOtherLine(std::string_view line);
// A refusal's reason as it is given: an unexpanded build macro "$(...)" in the
// line is the real reason, whatever else failed because of it.
std::string ReasonForLine(std::string_view line, std::string reason);

// The data after '=' (its comment removed, continuations joined) as a value.
bool DecodeValueData(std::string_view data, RegistryValue* value, std::string* reason);

// The text that stores `value` after '=' the way regedit writes it: a plain
// string when the bytes are exactly a one-line text and its terminator (a
// mui_sz:"text" for a REG_MUI_SZ), else dword: or hex(N):. With `ansi`, only
// text that Windows-1252 can hold is written as text; with `asciiOnly`, only
// ASCII text.
void FormatValueData(const RegistryValue& value, bool ansi, std::string* data,
                     bool asciiOnly = false);

// `"name"=data`, or `@=data` for the unnamed value. False when the name cannot
// stand on one line.
bool FormatValueLine(std::string_view name, std::string_view data, std::string* line);

}  // namespace hw::sim
