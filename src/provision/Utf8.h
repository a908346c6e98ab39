#pragma once

#include "platform/Types.h"

namespace hw {

// The longest UTF-8 form of one UTF-16 unit: three bytes (a surrogate pair,
// two units, takes four).
const size_t kUtf8BytesPerUnit = 3;

// Encodes `length` UTF-16 units as UTF-8 into `out`, which holds at least
// length * kUtf8BytesPerUnit bytes; an unpaired surrogate becomes U+FFFD.
// Returns the bytes written.
size_t EncodeUtf8(const Char* text, size_t length, UInt8* out);

// The characters of a text file, one UTF-16 unit at a time: UTF-8 with or
// without a byte-order mark, or UTF-16LE with one. Anything else, a NUL
// character included, is bad encoding.
class TextDecoder {
 public:
  enum Result { kUnit, kEnd, kBadEncoding };

  TextDecoder(const UInt8* bytes, UInt32 size);
  Result Next(Char* unit);
  // Why the text was refused, once Next returned kBadEncoding.
  const Char* problem() const { return problem_; }

 private:
  Result Fail(const Char* problem);
  Result NextUtf8(Char* unit);
  Result NextUtf16(Char* unit);

  const UInt8* bytes_;
  UInt32 size_;
  UInt32 at_;
  bool utf16_;
  Char pendingLow_;  // the second unit of a UTF-8 character above U+FFFF
  const Char* problem_;
};

}  // namespace hw
