#include "provision/Utf8.h"

namespace hw {

namespace {

bool IsHigh(UInt32 unit) {
  return unit >= 0xD800 && unit < 0xDC00;
}
bool IsLow(UInt32 unit) {
  return unit >= 0xDC00 && unit < 0xE000;
}

size_t Put(UInt32 c, UInt8* out) {
  if (c < 0x80) {
    out[0] = static_cast<UInt8>(c);
    return 1;
  }
  if (c < 0x800) {
    out[0] = static_cast<UInt8>(0xC0 | (c >> 6));
    out[1] = static_cast<UInt8>(0x80 | (c & 0x3F));
    return 2;
  }
  if (c < 0x10000) {
    out[0] = static_cast<UInt8>(0xE0 | (c >> 12));
    out[1] = static_cast<UInt8>(0x80 | ((c >> 6) & 0x3F));
    out[2] = static_cast<UInt8>(0x80 | (c & 0x3F));
    return 3;
  }
  out[0] = static_cast<UInt8>(0xF0 | (c >> 18));
  out[1] = static_cast<UInt8>(0x80 | ((c >> 12) & 0x3F));
  out[2] = static_cast<UInt8>(0x80 | ((c >> 6) & 0x3F));
  out[3] = static_cast<UInt8>(0x80 | (c & 0x3F));
  return 4;
}

const Char kNotUtf8[] = HW_TEXT("bad encoding: not UTF-8 (nor UTF-16LE with a byte-order mark)");
const Char kOddUtf16[] = HW_TEXT("bad encoding: UTF-16LE text with an odd number of bytes");
const Char kBadSurrogate[] = HW_TEXT("bad encoding: a UTF-16 surrogate without its pair");
const Char kBigEndian[] = HW_TEXT("bad encoding: UTF-16 big-endian; save it as UTF-16LE or UTF-8");
const Char kNul[] = HW_TEXT("bad encoding: a NUL character (UTF-16 without a byte-order mark?)");

}  // namespace

size_t EncodeUtf8(const Char* text, size_t length, UInt8* out) {
  size_t bytes = 0;
  for (size_t i = 0; i < length; ++i) {
    UInt32 c = static_cast<UInt32>(text[i]) & 0xFFFF;
    if (IsHigh(c) && i + 1 < length && IsLow(text[i + 1] & 0xFFFFu)) {
      c = 0x10000 + ((c - 0xD800) << 10) + ((text[++i] & 0xFFFFu) - 0xDC00);
    } else if (IsHigh(c) || IsLow(c)) {
      c = 0xFFFD;
    }
    bytes += Put(c, out + bytes);
  }
  return bytes;
}

TextDecoder::TextDecoder(const UInt8* bytes, UInt32 size)
    : bytes_(bytes), size_(size), at_(0), utf16_(false), pendingLow_(0), problem_(NULL) {
  if (size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
    utf16_ = true;
    at_ = 2;
  } else if (size >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
    at_ = 3;
  } else if (size >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF) {
    problem_ = kBigEndian;
  }
}

TextDecoder::Result TextDecoder::Fail(const Char* problem) {
  problem_ = problem;
  return kBadEncoding;
}

TextDecoder::Result TextDecoder::Next(Char* unit) {
  if (problem_ != NULL) return kBadEncoding;
  const Result result = utf16_ ? NextUtf16(unit) : NextUtf8(unit);
  if (result == kUnit && *unit == 0) return Fail(kNul);
  return result;
}

TextDecoder::Result TextDecoder::NextUtf16(Char* unit) {
  if (at_ == size_) return kEnd;
  if (size_ - at_ < 2) return Fail(kOddUtf16);
  const UInt32 first = bytes_[at_] | (bytes_[at_ + 1] << 8);
  const bool pairStarts = IsHigh(first);
  const bool pairEnds = IsLow(first);
  // A high unit must be followed by a low one, and a low one preceded by a high one.
  if (pairEnds && !(at_ >= 4 && IsHigh(bytes_[at_ - 2] | (bytes_[at_ - 1] << 8)))) {
    return Fail(kBadSurrogate);
  }
  if (pairStarts && !(size_ - at_ >= 4 && IsLow(bytes_[at_ + 2] | (bytes_[at_ + 3] << 8)))) {
    return Fail(kBadSurrogate);
  }
  at_ += 2;
  *unit = static_cast<Char>(first);
  return kUnit;
}

TextDecoder::Result TextDecoder::NextUtf8(Char* unit) {
  if (pendingLow_ != 0) {
    *unit = pendingLow_;
    pendingLow_ = 0;
    return kUnit;
  }
  if (at_ == size_) return kEnd;
  const UInt32 lead = bytes_[at_];
  UInt32 extra = 0;
  UInt32 c = 0;
  UInt32 least = 0;  // below this the form is overlong
  if (lead < 0x80) {
    c = lead;
  } else if (lead >= 0xC2 && lead < 0xE0) {
    extra = 1;
    c = lead & 0x1F;
    least = 0x80;
  } else if (lead >= 0xE0 && lead < 0xF0) {
    extra = 2;
    c = lead & 0x0F;
    least = 0x800;
  } else if (lead >= 0xF0 && lead < 0xF5) {
    extra = 3;
    c = lead & 0x07;
    least = 0x10000;
  } else {
    return Fail(kNotUtf8);
  }
  if (size_ - at_ <= extra) return Fail(kNotUtf8);
  for (UInt32 i = 1; i <= extra; ++i) {
    const UInt32 next = bytes_[at_ + i];
    if ((next & 0xC0) != 0x80) return Fail(kNotUtf8);
    c = (c << 6) | (next & 0x3F);
  }
  if (c < least || c > 0x10FFFF || IsHigh(c) || IsLow(c)) return Fail(kNotUtf8);
  at_ += extra + 1;
  if (c >= 0x10000) {
    *unit = static_cast<Char>(0xD800 + ((c - 0x10000) >> 10));
    pendingLow_ = static_cast<Char>(0xDC00 + ((c - 0x10000) & 0x3FF));
  } else {
    *unit = static_cast<Char>(c);
  }
  return kUnit;
}

}  // namespace hw
