#include "platform/simulator/RegistryEncoding.h"

#include <algorithm>
#include <cstddef>
#include <utility>

#include "platform/simulator/TextCodec.h"

namespace hw::sim {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";

int LinesUpTo(std::string_view text, std::size_t offset) {
  return 1 + static_cast<int>(std::count(text.begin(), text.begin() + offset, '\n'));
}

bool Fail(ParseError* error, int line, std::string reason) {
  error->line = line;
  error->reason = std::move(reason);
  return false;
}

}  // namespace

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
  *encoding = RegistryEncoding::kUtf8;
  if (bytes.substr(0, 3) == kUtf8Bom) {
    *encoding = RegistryEncoding::kUtf8Bom;
    bytes.remove_prefix(3);
  }
  const std::size_t bad = FindInvalidUtf8(bytes);
  if (bad != std::string_view::npos) return Fail(error, LinesUpTo(bytes, bad), "not valid UTF-8");
  if (*encoding == RegistryEncoding::kUtf8Bom) file.erase(0, kUtf8Bom.size());
  *text = std::move(file);
  return true;
}

std::string EncodeRegistryText(std::string_view text, RegistryEncoding encoding) {
  std::string bytes;
  if (encoding == RegistryEncoding::kUtf16LeBom) {
    bytes.reserve(kUtf16LeBom.size() + 2 * text.size());
    bytes = kUtf16LeBom;
    AppendUtf16Le(text, &bytes);
    return bytes;
  }
  const std::string_view bom = encoding == RegistryEncoding::kUtf8Bom ? kUtf8Bom : "";
  bytes.reserve(bom.size() + text.size());
  bytes.append(bom).append(text);
  return bytes;
}

bool IsRegistryTextEncoded(std::string_view text, RegistryEncoding encoding,
                           std::string_view bytes) {
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
