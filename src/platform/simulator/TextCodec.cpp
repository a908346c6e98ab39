#include "platform/simulator/TextCodec.h"

namespace hw::sim {

namespace {

char FoldChar(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsContinuation(unsigned char c) {
  return (c & 0xC0) == 0x80;
}

// Decodes one UTF-8 sequence at in[i]; 0 when it is malformed, overlong, a
// surrogate or above U+10FFFF.
std::size_t DecodeUtf8(std::string_view in, std::size_t i, char32_t* cp) {
  const auto b0 = static_cast<unsigned char>(in[i]);
  std::size_t length = 0;
  char32_t value = 0;
  char32_t minimum = 0;
  if (b0 < 0x80) {
    *cp = b0;
    return 1;
  } else if ((b0 & 0xE0) == 0xC0) {
    length = 2, value = b0 & 0x1F, minimum = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    length = 3, value = b0 & 0x0F, minimum = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    length = 4, value = b0 & 0x07, minimum = 0x10000;
  } else {
    return 0;
  }
  if (in.size() - i < length) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    const auto b = static_cast<unsigned char>(in[i + k]);
    if (!IsContinuation(b)) return 0;
    value = (value << 6) | (b & 0x3F);
  }
  if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
  *cp = value;
  return length;
}

void AppendUtf8(char32_t cp, std::string* out) {
  if (cp < 0x80) {
    out->push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

}  // namespace

bool Utf8ToUtf16(std::string_view in, std::u16string* out, std::size_t* badOffset) {
  out->clear();
  out->reserve(in.size());
  for (std::size_t i = 0; i < in.size();) {
    char32_t cp = 0;
    const std::size_t length = DecodeUtf8(in, i, &cp);
    if (length == 0) {
      if (badOffset != nullptr) *badOffset = i;
      return false;
    }
    if (cp < 0x10000) {
      out->push_back(static_cast<char16_t>(cp));
    } else {
      cp -= 0x10000;
      out->push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out->push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    }
    i += length;
  }
  return true;
}

bool Utf16ToUtf8(std::u16string_view in, std::string* out, std::size_t* badOffset) {
  out->clear();
  out->reserve(in.size());
  for (std::size_t i = 0; i < in.size(); ++i) {
    char32_t cp = in[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < in.size() && in[i + 1] >= 0xDC00 &&
        in[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (in[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      if (badOffset != nullptr) *badOffset = i;
      return false;
    }
    AppendUtf8(cp, out);
  }
  return true;
}

std::string FoldCase(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) c = FoldChar(c);
  return folded;
}

bool EqualsFolded(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldChar(a[i]) != FoldChar(b[i])) return false;
  }
  return true;
}

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

}  // namespace hw::sim
