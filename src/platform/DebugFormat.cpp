#include "platform/DebugFormat.h"

namespace hw {

std::size_t FormatDebugLine(char16_t* out, std::size_t capacity, const char16_t* format,
                            std::uint32_t value) {
  if (capacity == 0) return 0;
  std::size_t n = 0;
  auto put = [&](char16_t c) {
    if (n + 1 < capacity) out[n++] = c;
  };
  for (const char16_t* p = format; *p != u'\0'; ++p) {
    if (p[0] == u'%' && p[1] == u'X') {
      char16_t digits[8];
      int count = 0;
      std::uint32_t v = value;
      do {
        digits[count++] = u"0123456789ABCDEF"[v & 0xF];
        v >>= 4;
      } while (v != 0);
      while (count > 0) put(digits[--count]);
      ++p;
    } else if (p[0] == u'%' && p[1] == u'%') {
      put(u'%');
      ++p;
    } else {
      put(*p);
    }
  }
  out[n] = u'\0';
  return n;
}

}  // namespace hw
