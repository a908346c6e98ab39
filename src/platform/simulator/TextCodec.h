#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace hw::sim {

// The terminal's files are UTF-8 and the tool's text is UTF-16. Both
// conversions refuse what the other side cannot represent (bad UTF-8, lone
// surrogates), so a file that converts once converts back byte for byte.
// `badOffset`, when given, receives the offset of the first bad unit.
bool Utf8ToUtf16(std::string_view in, std::u16string* out, std::size_t* badOffset = nullptr);
bool Utf16ToUtf8(std::u16string_view in, std::string* out, std::size_t* badOffset = nullptr);
// One code point (not a surrogate) as UTF-8.
void AppendUtf8(char32_t cp, std::string* out);
// The code point of the UTF-8 sequence at in[i], and its length; 0 when it is
// malformed, overlong, a surrogate or above U+10FFFF.
std::size_t DecodeUtf8(std::string_view in, std::size_t i, char32_t* cp);

// Whole files in one pass, a run of ASCII eight bytes at a time.
// The offset of the first byte that does not belong to valid UTF-8, or npos.
std::size_t FindInvalidUtf8(std::string_view in);
// Whether every byte is ASCII: most of a terminal's registry is.
bool IsAscii(std::string_view text);
// The first `c` at or after `from`, or npos. Eight bytes at a time: the C
// runtime's memchr, which std::string::find calls, goes a byte at a time in
// the Windows build.
std::size_t FindChar(std::string_view text, char c, std::size_t from = 0);
// UTF-16LE bytes without BOM as UTF-8. False with the index of the first
// unpaired surrogate (in units) in `*badUnit`. A last odd byte is ignored.
bool Utf16LeToUtf8(std::string_view bytes, std::string* out, std::size_t* badUnit);
// Valid UTF-8 as UTF-16LE bytes, appended to `out`.
void AppendUtf16Le(std::string_view utf8, std::string* out);

// Registry keys, value names, INI keys and CE file names compare without
// regard to ASCII case. Other letters compare exactly.
std::string FoldCase(std::string_view text);
bool EqualsFolded(std::string_view a, std::string_view b);

// Spaces and tabs at either end removed.
std::string_view Trim(std::string_view text);

}  // namespace hw::sim
