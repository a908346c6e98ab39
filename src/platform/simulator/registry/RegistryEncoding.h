#pragma once

#include <string>
#include <string_view>

#include "platform/simulator/ParseError.h"

namespace hw::sim {

// How registry.reg is stored: it is written back the way it was read. A file
// whose first line is "REGEDIT4" and that has no BOM is ANSI text, Windows-1252,
// as regedit's older exports and the build's reginit.ini are; so is 8-bit text
// under regedit's 5.00 header, without a BOM, that is not valid UTF-8.
enum class RegistryEncoding { kUtf8, kUtf8Bom, kUtf16LeBom, kWindows1252 };

// The file's text as UTF-8, whichever encoding it came in: UTF-8 with or
// without a BOM, UTF-16LE with its BOM, or Windows-1252 under a REGEDIT4
// header. False with the line and the reason when the bytes are not text in
// one of those (or 8-bit text under the 5.00 header that is not UTF-8, read
// as Windows-1252). UTF-8 bytes, and ANSI bytes that are all ASCII, become
// the text without a copy.
bool DecodeRegistryText(std::string bytes, RegistryEncoding* encoding, std::string* text,
                        ParseError* error);

// A file of Platform Builder's (a BSP's platform.reg, an OS design's
// project.reg) has no header line: its 8-bit text is Windows-1252 unless it
// is valid UTF-8. `bytes` with the header that says which, and a blank line,
// before its first line (after a UTF-8 BOM); a file with a header, or with a
// UTF-16LE BOM, comes back as it is.
std::string WithRegistryHeader(std::string bytes);

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
