#include "platform/simulator/registry/RegistryEncoding.h"

#include <algorithm>
#include <cstddef>
#include <utility>

#include "platform/simulator/TextCodec.h"
#include "platform/simulator/registry/RegistrySyntax.h"

namespace hw::sim {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";

int LinesUpTo(std::string_view text, std::size_t offset) {
  return 1 + static_cast<int>(std::count(text.begin(), text.begin() + offset, '\n'));
}

// Windows-1252's characters for the bytes 0x80 to 0x9F. The five bytes it
// leaves undefined stand for the C1 controls of the same number, as Windows'
// own conversion makes them, so that every byte reads and writes back.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The byte of a character in Windows-1252, or -1 when it has none.
int Windows1252Byte(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
  for (int i = 0; i < 32; ++i) {
    if (kHighControls[i] == cp) return 0x80 + i;
  }
  return -1;
}

// Whether the first line is the REGEDIT4 header, whatever follows it.
bool StartsWithRegedit4(std::string_view bytes) {
  const std::size_t size = kRegedit4Header.size();
  if (bytes.substr(0, size) != kRegedit4Header) return false;
  return bytes.size() == size || bytes[size] == '\r' || bytes[size] == '\n' || bytes[size] == ' ' ||
         bytes[size] == '\t';
}

std::string Windows1252ToUtf8(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size() + bytes.size() / 8);
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    AppendUtf8(b >= 0x80 && b < 0xA0 ? kHighControls[b - 0x80] : b, &text);
  }
  return text;
}

// Calls `each` with every character of valid UTF-8 text until it returns false.
template <typename Each>
bool ForEachCharacter(std::string_view utf8, Each each) {
  for (std::size_t i = 0; i < utf8.size();) {
    char32_t cp = 0;
    const std::size_t length = DecodeUtf8(utf8, i, &cp);
    if (length == 0 || !each(cp)) return false;
    i += length;
  }
  return true;
}

// Text that FitsWindows1252 as its bytes.
std::string Utf8ToWindows1252(std::string_view text) {
  std::string bytes;
  bytes.reserve(text.size());
  ForEachCharacter(text, [&bytes](char32_t cp) {
    bytes.push_back(static_cast<char>(Windows1252Byte(cp)));
    return true;
  });
  return bytes;
}

}  // namespace

bool FitsWindows1252(std::string_view utf8) {
  return ForEachCharacter(utf8, [](char32_t cp) { return Windows1252Byte(cp) >= 0; });
}

bool DecodeRegistryText(std::string file, RegistryEncoding* encoding, std::string* text,
                        ParseError* error) {
  std::string_view bytes = file;
  if (bytes.substr(0, 2) == kUtf16LeBom) {
    *encoding = RegistryEncoding::kUtf16LeBom;
    bytes.remove_prefix(2);
    std::size_t bad = 0;
    if (!Utf16LeToUtf8(bytes, text, &bad)) {
      // The line of the unit: the newlines before it, each one unit long.
      int line = 1;
      for (std::size_t i = 0; i < bad; ++i) line += bytes[2 * i] == '\n' && bytes[2 * i + 1] == 0;
      return Fail(error, line, "unpaired UTF-16 surrogate");
    }
    if (bytes.size() % 2 != 0) {
      return Fail(error, LinesUpTo(*text, text->size()), "UTF-16 file has an odd byte count");
    }
    return true;
  }
  if (bytes.substr(0, 2) == "\xFE\xFF") {
    return Fail(error, 1, "UTF-16BE is not read; save the file as UTF-8 or UTF-16LE");
  }
  if (StartsWithRegedit4(bytes)) {
    *encoding = RegistryEncoding::kWindows1252;
    // Every byte is a character: the text cannot be malformed.
    if (IsAscii(bytes)) {
      *text = std::move(file);
    } else {
      *text = Windows1252ToUtf8(bytes);
    }
    return true;
  }
  *encoding = RegistryEncoding::kUtf8;
  if (bytes.substr(0, 3) == kUtf8Bom) {
    *encoding = RegistryEncoding::kUtf8Bom;
    bytes.remove_prefix(3);
  }
  const std::size_t bad = FindInvalidUtf8(bytes);
  if (bad != std::string_view::npos && *encoding == RegistryEncoding::kUtf8) {
    // 8-bit text that is not UTF-8 under regedit's header, as a BSP's .reg
    // keeps a comment's (c): read as Platform Builder reads it, Windows-1252.
    *encoding = RegistryEncoding::kWindows1252;
    *text = Windows1252ToUtf8(bytes);
    return true;
  }
  if (bad != std::string_view::npos) return Fail(error, LinesUpTo(bytes, bad), "not valid UTF-8");
  if (*encoding == RegistryEncoding::kUtf8Bom) file.erase(0, kUtf8Bom.size());
  *text = std::move(file);
  return true;
}

std::string WithRegistryHeader(std::string bytes) {
  const std::size_t bom = bytes.compare(0, kUtf8Bom.size(), kUtf8Bom) == 0 ? kUtf8Bom.size() : 0;
  const std::size_t newline = FindChar(bytes, '\n', bom);
  const std::size_t lineEnd = newline == std::string::npos ? bytes.size() : newline;
  const bool crlf = lineEnd > bom && bytes[lineEnd - 1] == '\r';
  const std::string_view first = std::string_view(bytes).substr(bom, lineEnd - bom - crlf);
  if (IsRegistryHeader(first) || bytes.compare(0, kUtf16LeBom.size(), kUtf16LeBom) == 0) {
    return bytes;
  }
  const std::string_view ending = crlf || newline == std::string::npos ? "\r\n" : "\n";
  const bool utf8 = FindInvalidUtf8(std::string_view(bytes).substr(bom)) == std::string_view::npos;
  std::string header(utf8 ? kRegistryHeader : kRegedit4Header);
  header.append(ending).append(ending);
  bytes.insert(bom, header);
  return bytes;
}

EncodedText EncodeRegistryText(std::string_view text, RegistryEncoding encoding,
                               std::string* scratch) {
  switch (encoding) {
    case RegistryEncoding::kUtf8: return {"", text};
    case RegistryEncoding::kUtf8Bom: return {kUtf8Bom, text};
    case RegistryEncoding::kWindows1252:
      if (IsAscii(text)) return {"", text};
      *scratch = Utf8ToWindows1252(text);
      return {"", *scratch};
    case RegistryEncoding::kUtf16LeBom: break;
  }
  scratch->reserve(kUtf16LeBom.size() + 2 * text.size());
  scratch->assign(kUtf16LeBom);
  AppendUtf16Le(text, scratch);
  return {"", *scratch};
}

bool IsRegistryTextEncoded(std::string_view text, RegistryEncoding encoding,
                           std::string_view bytes) {
  if (encoding == RegistryEncoding::kWindows1252) {
    if (IsAscii(text)) return bytes == text;
    std::string scratch;
    return bytes == EncodeRegistryText(text, encoding, &scratch).body;
  }
  if (encoding != RegistryEncoding::kUtf16LeBom) {
    const std::string_view bom = encoding == RegistryEncoding::kUtf8Bom ? kUtf8Bom : "";
    return bytes.size() == bom.size() + text.size() && bytes.substr(0, bom.size()) == bom &&
           bytes.substr(bom.size()) == text;
  }
  if (bytes.substr(0, kUtf16LeBom.size()) != kUtf16LeBom) return false;
  bytes.remove_prefix(kUtf16LeBom.size());
  // A piece at a time, each cut before a UTF-8 lead byte, in one small buffer.
  constexpr std::size_t kPiece = 64 * 1024;
  std::string encoded;
  while (!text.empty()) {
    std::size_t cut = std::min(kPiece, text.size());
    while (cut < text.size() && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) ++cut;
    encoded.clear();
    AppendUtf16Le(text.substr(0, cut), &encoded);
    if (bytes.substr(0, encoded.size()) != encoded) return false;
    bytes.remove_prefix(encoded.size());
    text.remove_prefix(cut);
  }
  return bytes.empty();
}

}  // namespace hw::sim
