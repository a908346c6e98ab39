#include "provision/Text.h"

namespace hw {

namespace {

Char Folded(Char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<Char>(c - 'A' + 'a') : c;
}

}  // namespace

size_t TextLength(const Char* text) {
  size_t length = 0;
  while (text[length] != 0) ++length;
  return length;
}

const Char* FileNameOf(const Char* path) {
  const Char* name = path;
  for (const Char* c = path; *c != 0; ++c) {
    if (*c == '\\' || *c == '/') name = c + 1;
  }
  return name;
}

bool TextEquals(const Char* a, const Char* b) {
  while (*a != 0 && *a == *b) {
    ++a;
    ++b;
  }
  return *a == *b;
}

bool TextEqualsIgnoringCase(const Char* a, size_t length, const Char* b) {
  for (size_t i = 0; i < length; ++i) {
    if (b[i] == 0 || Folded(a[i]) != Folded(b[i])) return false;
  }
  return b[length] == 0;
}

void TextLine::Put(Char c) {
  if (length_ + 1 >= kCapacity) return;
  text_[length_++] = c;
  text_[length_] = 0;
}

TextLine& TextLine::Clear() {
  length_ = 0;
  text_[0] = 0;
  return *this;
}

TextLine& TextLine::Append(const Char* text) {
  return Append(text, TextLength(text));
}

TextLine& TextLine::Append(const Char* text, size_t length) {
  for (size_t i = 0; i < length; ++i) Put(text[i]);
  return *this;
}

TextLine& TextLine::AppendQuoted(const Char* text) {
  Put('"');
  Append(text);
  Put('"');
  return *this;
}

TextLine& TextLine::AppendHexByte(UInt8 value) {
  static const char kDigits[] = "0123456789ABCDEF";
  Put('0');
  Put('x');
  Put(static_cast<Char>(kDigits[value >> 4]));
  Put(static_cast<Char>(kDigits[value & 0xF]));
  return *this;
}

TextLine& TextLine::AppendDecimal(UInt32 value) {
  Char digits[10];
  size_t count = 0;
  do {
    digits[count++] = static_cast<Char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  while (count > 0) Put(digits[--count]);
  return *this;
}

TextLine& TextLine::PadTo(size_t column) {
  do {
    Put(' ');
  } while (length_ < column && length_ + 1 < kCapacity);
  return *this;
}

}  // namespace hw
