#pragma once

#include "platform/Types.h"

namespace hw {

size_t TextLength(const Char* text);
// The name after a path's last '\\' or '/'.
const Char* FileNameOf(const Char* path);
bool TextEquals(const Char* a, const Char* b);
// `a` of `length` characters against zero-terminated `b`; ASCII letters
// compare without case, everything else exactly.
bool TextEqualsIgnoringCase(const Char* a, size_t length, const Char* b);

// A line of text built in place, with no heap: result lines and messages.
// What does not fit is cut off; the text is always zero-terminated.
class TextLine {
 public:
  enum { kCapacity = 1024 };

  TextLine() : length_(0) { text_[0] = 0; }

  TextLine& Clear();
  TextLine& Append(const Char* text);
  TextLine& Append(const Char* text, size_t length);
  TextLine& AppendQuoted(const Char* text);  // "text"
  TextLine& AppendHexByte(UInt8 value);      // 0xNN, two uppercase digits
  TextLine& AppendDecimal(UInt32 value);
  // Spaces up to `column`, and always at least one, so columns never run together.
  TextLine& PadTo(size_t column);

  const Char* text() const { return text_; }
  size_t length() const { return length_; }
  // True at capacity, where whatever came after was cut off.
  bool Full() const { return length_ + 1 >= kCapacity; }

 private:
  TextLine(const TextLine&);
  TextLine& operator=(const TextLine&);

  void Put(Char c);

  Char text_[kCapacity];
  size_t length_;
};

}  // namespace hw
