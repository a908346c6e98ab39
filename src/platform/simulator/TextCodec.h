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

// Registry keys, value names, INI keys and CE file names compare without
// regard to ASCII case. Other letters compare exactly.
std::string FoldCase(std::string_view text);
bool EqualsFolded(std::string_view a, std::string_view b);

// Spaces and tabs at either end removed.
std::string_view Trim(std::string_view text);

}  // namespace hw::sim
