#pragma once

#include <string>
#include <string_view>

#include "platform/simulator/ParseError.h"

namespace hw::sim {

// How registry.reg is stored: it is written back the way it was read.
enum class RegistryEncoding { kUtf8, kUtf8Bom, kUtf16LeBom };

// The file's text as UTF-8, whichever encoding it came in: UTF-8 with or
// without a BOM, or UTF-16LE with its BOM. False with the line and the reason
// when the bytes are not text in one of those. UTF-8 bytes become the text
// without a copy.
bool DecodeRegistryText(std::string bytes, RegistryEncoding* encoding, std::string* text,
                        ParseError* error);

// The bytes of `text` (UTF-8, checked) in `encoding`.
std::string EncodeRegistryText(std::string_view text, RegistryEncoding encoding);
// Whether `bytes` are those EncodeRegistryText would give, found without
// making them: a file read again is compared with the one in memory this way.
bool IsRegistryTextEncoded(std::string_view text, RegistryEncoding encoding,
                           std::string_view bytes);

}  // namespace hw::sim
