#include "platform/simulator/TextCodec.h"

#include <cstdint>
#include <cstring>

namespace hw::sim {

namespace {

char FoldChar(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsContinuation(unsigned char c) {
  return (c & 0xC0) == 0x80;
}

constexpr std::uint64_t kHighBits = 0x8080808080808080ull;

// Whether the eight bytes at `p` are all ASCII.
bool AsciiWord(const char* p) {
  std::uint64_t word;
  std::memcpy(&word, p, sizeof word);
  return (word & kHighBits) == 0;
}

}  // namespace

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

bool IsAscii(std::string_view text) {
  std::size_t i = 0;
  for (; i + 8 <= text.size(); i += 8) {
    if (!AsciiWord(text.data() + i)) return false;
  }
  for (; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0x80) != 0) return false;
  }
  return true;
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

std::size_t FindInvalidUtf8(std::string_view in) {
  for (std::size_t i = 0; i < in.size();) {
    if (i + 8 <= in.size() && AsciiWord(in.data() + i)) {
      i += 8;
      continue;
    }
    char32_t cp = 0;
    const std::size_t length = DecodeUtf8(in, i, &cp);
    if (length == 0) return i;
    i += length;
  }
  return std::string_view::npos;
}

std::size_t FindChar(std::string_view text, char c, std::size_t from) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ull;
  const std::uint64_t pattern = kOnes * static_cast<unsigned char>(c);
  std::size_t i = from;
  for (; i + 8 <= text.size(); i += 8) {
    std::uint64_t word;
    std::memcpy(&word, text.data() + i, sizeof word);
    const std::uint64_t matches = word ^ pattern;  // a zero byte where `c` is
    if (((matches - kOnes) & ~matches & kHighBits) != 0) break;
  }
  for (; i < text.size(); ++i) {
    if (text[i] == c) return i;
  }
  return std::string_view::npos;
}

bool Utf16LeToUtf8(std::string_view bytes, std::string* out, std::size_t* badUnit) {
  const std::size_t units = bytes.size() / 2;
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  out->clear();
  out->reserve(units);
  for (std::size_t i = 0; i < units; ++i) {
    char32_t cp = static_cast<char32_t>(p[2 * i] | (p[2 * i + 1] << 8));
    if (cp < 0x80) {
      out->push_back(static_cast<char>(cp));
      continue;
    }
    if (cp >= 0xD800 && cp <= 0xDFFF) {
      const char32_t next =
          i + 1 < units ? static_cast<char32_t>(p[2 * i + 2] | (p[2 * i + 3] << 8)) : 0;
      if (cp > 0xDBFF || next < 0xDC00 || next > 0xDFFF) {
        *badUnit = i;
        return false;
      }
      cp = 0x10000 + ((cp - 0xD800) << 10) + (next - 0xDC00);
      ++i;
    }
    AppendUtf8(cp, out);
  }
  return true;
}

void AppendUtf16Le(std::string_view utf8, std::string* out) {
  std::size_t at = out->size();
  out->resize(at + 2 * utf8.size());  // no UTF-8 sequence makes more bytes than twice its own
  char* p = out->data();
  for (std::size_t i = 0; i < utf8.size();) {
    char32_t cp = 0;
    const std::size_t length = DecodeUtf8(utf8, i, &cp);
    if (length == 0) cp = 0xFFFD;  // unreachable for checked text; never loop on a bad byte
    i += length == 0 ? 1 : length;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      const char32_t high = 0xD800 + (cp >> 10);
      p[at++] = static_cast<char>(high & 0xFF);
      p[at++] = static_cast<char>(high >> 8);
      cp = 0xDC00 + (cp & 0x3FF);
    }
    p[at++] = static_cast<char>(cp & 0xFF);
    p[at++] = static_cast<char>(cp >> 8);
  }
  out->resize(at);
}

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
  // By hand: find_first_not_of looks each character up in the set with a
  // call, and a registry file has millions of them.
  std::size_t first = 0;
  std::size_t last = text.size();
  while (first < last && (text[first] == ' ' || text[first] == '\t')) ++first;
  while (last > first && (text[last - 1] == ' ' || text[last - 1] == '\t')) --last;
  return text.substr(first, last - first);
}

}  // namespace hw::sim
