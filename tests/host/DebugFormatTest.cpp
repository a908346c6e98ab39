#include "platform/DebugFormat.h"

#include <gtest/gtest.h>

#include "RecordingPlatform.h"

namespace hw {
namespace {

struct FormatCase {
  const char16_t* format;
  std::uint32_t value;
  const char* expected;
};

TEST(FormatDebugLine, FormatsLikePrintfUppercaseHex) {
  const FormatCase cases[] = {
      {u"v: 0x%X \r\n", 0x05, "v: 0x5 \r\n"},
      {u"v: 0x%X \r\n", 0x00, "v: 0x0 \r\n"},
      {u"v: 0x%X \r\n", 0xFF, "v: 0xFF \r\n"},
      {u"v: 0x%X \r\n", 0x32, "v: 0x32 \r\n"},
      {u"%X", 0xDEADBEEF, "DEADBEEF"},
      {u"no placeholder\r\n", 0x12, "no placeholder\r\n"},
      {u"100%% %X", 0xA, "100% A"},
      {u"", 7, ""},
  };
  for (const FormatCase& c : cases) {
    char16_t out[kDebugLineCapacity];
    const std::size_t n = FormatDebugLine(out, kDebugLineCapacity, c.format, c.value);
    EXPECT_EQ(test::Utf8(out), c.expected) << test::Utf8(c.format);
    EXPECT_EQ(n, std::char_traits<char>::length(c.expected));
  }
}

TEST(FormatDebugLine, TruncatesToTheBufferAndTerminates) {
  char16_t out[5];
  EXPECT_EQ(FormatDebugLine(out, 5, u"abc%Xdef", 0x1234), 4u);
  EXPECT_EQ(test::Utf8(out), "abc1");
}

}  // namespace
}  // namespace hw
