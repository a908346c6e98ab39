#include <string>
#include <string_view>

#include "TerminalFixture.h"
#include "platform/simulator/RegistryFile.h"

namespace hw::simtest {
namespace {

using sim::RegistryFile;
using sim::RegistryValue;
using namespace std::literals;

constexpr char kKey[] = "HKEY_LOCAL_MACHINE\\Comm\\Parms";

// A key with a hex list that regedit broke over two lines, a comment and a
// second key after it.
const std::string kText = std::string(kRegHeader) +
                          "[HKEY_LOCAL_MACHINE\\Comm\\Parms]\r\n"
                          "\"Bind\"=hex(7):53,00,44,00,\\\r\n"
                          "  00,00,00,00\r\n"
                          "; kept\r\n"
                          "\r\n"
                          "[HKEY_LOCAL_MACHINE\\Comm\\Other]\r\n"
                          "\"Bind\"=\"other\"\r\n";

RegistryFile Parsed(const std::string& bytes) {
  RegistryFile file;
  sim::ParseError error;
  EXPECT_TRUE(RegistryFile::Parse(bytes, &file, &error)) << error.line << ": " << error.reason;
  return file;
}

RegistryValue Sz(std::u16string_view text) {
  RegistryValue value{1, {}};
  for (char16_t u : text)
    value.data.insert(value.data.end(), {std::uint8_t(u), std::uint8_t(u >> 8)});
  return value;
}

TEST(RegistryFileTest, ReadsAHexListAcrossItsContinuation) {
  const auto value = Parsed(kText).QueryValue(kKey, "bind");
  ASSERT_TRUE(value);
  EXPECT_EQ(value->type, 7u);
  EXPECT_EQ(value->data, (std::vector<std::uint8_t>{0x53, 0, 0x44, 0, 0, 0, 0, 0}));
}

TEST(RegistryFileTest, ReplacingAContinuedValueReplacesAllItsLines) {
  RegistryFile file = Parsed(kText);
  ASSERT_TRUE(file.SetValue(kKey, "Bind", Sz(u"one\0"sv)));
  EXPECT_EQ(file.Serialize(),
            ReplacedAfter(kText, "Parms]", "hex(7):53,00,44,00,\\\r\n  00,00,00,00", "\"one\""));
}

TEST(RegistryFileTest, ValuesOfEveryTypeSurviveTheFile) {
  const RegistryValue values[] = {
      Sz(u"plain\0"sv),
      Sz(u"no terminator"sv),
      Sz(u"two\0lines\n\0"sv),
      {4, {0x0A, 0, 0, 0}},
      {4, {1, 2}},
      {3, {0xDE, 0xAD}},
      {7, {}},
      {0xFFFFFFFF, {0}},
  };
  for (const RegistryValue& value : values) {
    RegistryFile file = Parsed(kText);
    ASSERT_TRUE(file.SetValue(kKey, "V", value));
    const auto back = Parsed(file.Serialize()).QueryValue(kKey, "V");
    ASSERT_TRUE(back);
    EXPECT_EQ(back->type, value.type);
    EXPECT_EQ(back->data, value.data) << "type " << value.type;
  }
}

TEST(RegistryFileTest, WritesDwordsAsRegeditDoes) {
  RegistryFile file = Parsed(kText);
  ASSERT_TRUE(file.SetValue(kKey, "Order", {4, {0x0A, 0, 0, 0}}));
  EXPECT_NE(file.Serialize().find("\"Order\"=dword:0000000a\r\n"), std::string::npos);
}

TEST(RegistryFileTest, TheLastOfTwoSpellingsIsTheOneReplaced) {
  const std::string text = std::string(kRegHeader) + "[" + kKey + "]\r\n\"A\"=\"1\"\r\n[" + kKey +
                           "]\r\n\"a\"=\"2\"\r\n";
  RegistryFile file = Parsed(text);
  EXPECT_EQ(file.QueryValue(kKey, "A"), Sz(u"2\0"sv));
  ASSERT_TRUE(file.SetValue(kKey, "A", Sz(u"3\0"sv)));
  EXPECT_EQ(file.Serialize(), ReplacedAfter(text, "\"a\"", "\"2\"", "\"3\""));
}

TEST(RegistryFileTest, AKeyKnownOnlyByItsSubkeysGetsASectionAtTheEnd) {
  RegistryFile file = Parsed(kText);
  ASSERT_TRUE(file.HasKey("hkey_local_machine\\comm"));
  ASSERT_TRUE(file.SetValue("HKEY_LOCAL_MACHINE\\Comm", "", Sz(u"d\0"sv)));
  EXPECT_EQ(file.Serialize(), kText + "\r\n[HKEY_LOCAL_MACHINE\\Comm]\r\n@=\"d\"\r\n");
}

TEST(RegistryFileTest, RefusesWhatItCannotWriteAndStaysAsItWas) {
  RegistryFile file = Parsed(kText);
  EXPECT_FALSE(file.HasKey("HKEY_LOCAL_MACHINE\\Com"));
  EXPECT_FALSE(file.SetValue("HKEY_LOCAL_MACHINE\\Com", "x", Sz(u"1\0"sv)));
  EXPECT_FALSE(file.SetValue(kKey, "two\nlines", Sz(u"1\0"sv)));
  EXPECT_EQ(file.Serialize(), kText);
}

// A set moves everything after it; later sets and look-ups must land where
// the text now is, whether it grew or shrank before them.
TEST(RegistryFileTest, SetsOneAfterAnotherLandOnTheLinesTheyName) {
  const std::string text = std::string(kRegHeader) +
                           "[HKEY_LOCAL_MACHINE\\A]\r\n\"x\"=\"short\"\r\n\r\n"
                           "[HKEY_LOCAL_MACHINE\\B]\r\n\"x\"=hex:01,\\\r\n  02\r\n; b\r\n"
                           "[HKEY_LOCAL_MACHINE\\C]\r\n\"x\"=dword:00000001\r\n";
  struct Set {
    const char* key;
    const char* name;
    std::u16string_view text;
  };
  const Set sets[] = {
      {"HKEY_LOCAL_MACHINE\\A", "x", u"a much longer text than before\0"sv},
      {"HKEY_LOCAL_MACHINE\\C", "x", u"c\0"sv},
      {"HKEY_LOCAL_MACHINE\\B", "x", u"b\0"sv},
      {"HKEY_LOCAL_MACHINE\\A", "x", u"\0"sv},
      {"HKEY_LOCAL_MACHINE\\B", "new", u"after b\0"sv},
      {"HKEY_LOCAL_MACHINE\\C", "new", u"after c\0"sv},
  };
  RegistryFile file = Parsed(text);
  for (const Set& set : sets) ASSERT_TRUE(file.SetValue(set.key, set.name, Sz(set.text)));
  EXPECT_EQ(file.Serialize(),
            std::string(kRegHeader) +
                "[HKEY_LOCAL_MACHINE\\A]\r\n\"x\"=\"\"\r\n\r\n"
                "[HKEY_LOCAL_MACHINE\\B]\r\n\"x\"=\"b\"\r\n\"new\"=\"after b\"\r\n; b\r\n"
                "[HKEY_LOCAL_MACHINE\\C]\r\n\"x\"=\"c\"\r\n\"new\"=\"after c\"\r\n");
  for (const RegistryFile& reading : {file, Parsed(file.Serialize())}) {
    EXPECT_EQ(reading.QueryValue("HKEY_LOCAL_MACHINE\\B", "NEW"), Sz(u"after b\0"sv));
    EXPECT_EQ(reading.QueryValue("HKEY_LOCAL_MACHINE\\C", "x"), Sz(u"c\0"sv));
  }
}

}  // namespace
}  // namespace hw::simtest
