#include "platform/DebugFormat.h"

namespace hw {

namespace {

// Appends while there is room for the terminator.
class LineWriter {
 public:
  LineWriter(Char* out, size_t capacity) : out_(out), capacity_(capacity), length_(0) {}
  void Put(Char c) {
    if (length_ + 1 < capacity_) out_[length_++] = c;
  }
  size_t Finish() {
    out_[length_] = 0;
    return length_;
  }

 private:
  Char* out_;
  size_t capacity_;
  size_t length_;
};

void PutHex(LineWriter& line, UInt32 value) {
  static const char kDigits[] = "0123456789ABCDEF";
  Char digits[8];
  int count = 0;
  do {
    digits[count++] = static_cast<Char>(kDigits[value & 0xF]);
    value >>= 4;
  } while (value != 0);
  while (count > 0) line.Put(digits[--count]);
}

}  // namespace

size_t FormatDebugLine(Char* out, size_t capacity, const Char* format, UInt32 value) {
  if (capacity == 0) return 0;
  LineWriter line(out, capacity);
  for (const Char* p = format; *p != 0; ++p) {
    if (p[0] == '%' && p[1] == 'X') {
      PutHex(line, value);
      ++p;
    } else if (p[0] == '%' && p[1] == '%') {
      line.Put('%');
      ++p;
    } else {
      line.Put(*p);
    }
  }
  return line.Finish();
}

}  // namespace hw
