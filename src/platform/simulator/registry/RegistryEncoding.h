#pragma once

#include <string>
#include <string_view>

#include "platform/simulator/ParseError.h"

namespace hw::sim {

// How registry.reg is stored: it is written back the way it was read. A file
// whose first line is "REGEDIT4" and that has no BOM is ANSI text, Windows-1252,
// as regedit's older exports and the build's reginit.ini are.
enum class RegistryEncoding { kUtf8, kUtf8Bom, kUtf16LeBom, kWindows1252 };

// The file's text as UTF-8, whichever encoding it came in: UTF-8 with or
// without a BOM, UTF-16LE with its BOM, or Windows-1252 under a REGEDIT4
// header. False with the line and the reason when the bytes are not text in
// one of those. UTF-8 bytes, and ANSI bytes that are all ASCII, become the
// text without a copy.
bool DecodeRegistryText(std::string bytes, RegistryEncoding* encoding, std::string* text,
                        ParseError* error);

// The bytes of `text` (UTF-8, checked, and for Windows-1252 within its
// characters) in `encoding`: a byte-order mark and `text` itself where the
// encoding allows, else all of them made in `scratch` as the body.
struct EncodedText {
  std::string_view bom;
  std::string_view body;
};
EncodedText EncodeRegistryText(std::string_view text, RegistryEncoding encoding,
                               std::string* scratch);
// Whether `bytes` are those EncodeRegistryText would give, found without
// making them where the encoding allows: a file read again is compared with
// the one in memory this way.
bool IsRegistryTextEncoded(std::string_view text, RegistryEncoding encoding,
                           std::string_view bytes);

// Whether every character of `utf8` has a byte in Windows-1252.
bool FitsWindows1252(std::string_view utf8);

}  // namespace hw::sim
