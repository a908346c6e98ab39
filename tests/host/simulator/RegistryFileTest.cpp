#include <string>
#include <string_view>

#include "TerminalFixture.h"
#include "platform/simulator/registry/RegistryFile.h"

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

RegistryValue Sz(std::u16string_view text, std::uint32_t type = 1) {
  RegistryValue value{type, {}};
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

// A line of a real registry under a key, after a neighbour that a set
// rewrites: it reads as `value`, or is refused for `reason`; the rewrite keeps
// the neighbour's indentation and blanks, drops the comment on its old data,
// and keeps every byte of the line, as a set of the data it holds does.
TEST(RegistryFileTest, RealRegistryLinesReadAndSurviveANeighboursRewrite) {
  const std::string head =
      std::string(kRegHeader) + "[HKEY_LOCAL_MACHINE\\A]\r\n  \"n\" = \"1\" ; old\r\n";
  const struct {
    const char* lines;
    const char* reason;  // null when the line reads
    RegistryValue value;
  } cases[] = {
      {"\"v\"=dword:80 ; after the GPS driver\r\n", nullptr, {4, {0x80, 0, 0, 0}}},
      {"\t\"v\" =\tDWORD: 1f\r\n", nullptr, {4, {0x1f, 0, 0, 0}}},
      {"\"v\"=\"a\\\";b\\\\\" ; \"c\"\r\n", nullptr, Sz(u"a\";b\\\0"sv)},
      {"\"v\"=multi_sz:\"a\", \"\",\"b\"\r\n", nullptr, Sz(u"a\0\0b\0\0"sv, 7)},
      {"\"v\"=multi_sz:\"a\",  ; first\r\n    \"b\",\\\r\n    \"c\"\r\n", nullptr,
       Sz(u"a\0b\0c\0\0"sv, 7)},
      {"\"v\"=mui_sz:\"netmui.dll,#12\"\r\n", nullptr, Sz(u"netmui.dll,#12\0"sv, 21)},
      {"\"v\"=hex(7):61,00,\\\r\n  00,00 ; tail\r\n", nullptr, Sz(u"a\0"sv, 7)},
      {"\"v\"=dword:LOC_LCID\r\n",
       "\"LOC_LCID\" is a name, not a number: an unexpanded build macro",
       {}},
      {"\"v\"=dword:0x80\r\n", "a dword is 1 to 8 hex digits, not \"0x80\"", {}},
      {"\"v\"=$(DRIVER_DLL)\r\n", "unexpanded build macro $(DRIVER_DLL)", {}},
      {"[$(PCI_BUS_ROOT)\\Template]\r\n", "unexpanded build macro $(PCI_BUS_ROOT)", {}},
      {"#if BSP_WIFI\r\n", "a build line (#if)", {}},
      {"IF BSP_NOGPS !\r\n", "a build line (IF)", {}},
      {"\"v\"=- ; gone\r\n", "value deletions have no place", {}},
      {"[-HKEY_LOCAL_MACHINE\\A]\r\n", "key deletions have no place", {}},
      {"\"v\"=multi_sz:\"a\" \"b\"\r\n", "expected ',' between the strings", {}},
      {"\"v\"=multi_sz:\"a\",\r\n", "the list continues past the end of the file", {}},
      {"\"v\"=\"\\\\Windows\\\\wceload.exe \"%1\"\" ; CE's export\r\n", nullptr,
       Sz(u"\\Windows\\wceload.exe \"%1\"\0"sv)},
      {"\"v\"=\"a\"b\"\r\n", nullptr, Sz(u"a\"b\0"sv)},
      {"\"v\"=\"a\" b\r\n", "text after the closing quote", {}},
      {"\"v\"=\"Soci\xE9t\xE9\" ; \xA9 Korva\r\n", nullptr, Sz(u"Soci\u00E9t\u00E9\0"sv)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lines);
    const std::string text = head + c.lines;
    RegistryFile file;
    sim::ParseError error;
    ASSERT_EQ(RegistryFile::Parse(text, &file, &error), c.reason == nullptr) << error.reason;
    if (c.reason != nullptr) {
      EXPECT_EQ(error.line, 4);
      EXPECT_NE(error.reason.find(c.reason), std::string::npos) << error.reason;
      continue;
    }
    EXPECT_EQ(file.QueryValue("HKEY_LOCAL_MACHINE\\A", "V"), c.value);
    ASSERT_TRUE(file.SetValue("HKEY_LOCAL_MACHINE\\A", "v", c.value));
    EXPECT_EQ(file.Serialize(), text);
    ASSERT_TRUE(file.SetValue("HKEY_LOCAL_MACHINE\\A", "N", Sz(u"2\0"sv)));
    EXPECT_EQ(file.Serialize(), ReplacedAfter(text, "", "\"1\" ; old", "\"2\""));
    // Written again, a text is escaped as regedit writes it, and reads the same.
    ASSERT_TRUE(file.SetValue("HKEY_LOCAL_MACHINE\\A", "v", {3, {1}}));
    ASSERT_TRUE(file.SetValue("HKEY_LOCAL_MACHINE\\A", "v", c.value));
    EXPECT_EQ(Parsed(file.Serialize()).QueryValue("HKEY_LOCAL_MACHINE\\A", "v"), c.value);
  }
  // A file that does not load names each refused line once, then what would
  // make it load.
  RegistryFile file;
  std::vector<sim::ParseError> refused;
  ASSERT_FALSE(RegistryFile::Parse(
      head + "#include \"x.reg\"\r\n\"v\"=-\r\n[-HKEY_LOCAL_MACHINE\\B]\r\n"s, &file, &refused));
  ASSERT_EQ(refused.size(), 3u);
  const std::string said = sim::DescribeRefusal("r.reg", refused);
  for (const char* line : {"r.reg:4: a build line", "\nr.reg:5: value deletions",
                           "\nr.reg:6: key deletions", "\nr.reg: the simulator loads"}) {
    EXPECT_EQ(Count(said, line), 1u) << said;
  }
}

// All of them in one file as CE's build writes it: REGEDIT4 and ANSI text. It
// reads back byte for byte; sets keep the header and the encoding, write
// hex(1) for a text Windows-1252 cannot hold, and indent a new line.
TEST(RegistryFileTest, AReginitIniKeepsItsHeaderAndEncoding) {
  const std::string head =
      "REGEDIT4\r\n\r\n; \xA9 Korva\r\n[" + std::string(kKey) + "] ; miniport\r\n";
  const std::string text = head +
                           "    \"Name\"=\"Soci\xE9t\xE9\"\r\n"
                           "    \"Bind\"=multi_sz:\"SDCSD40N1\",   ; itself\r\n"
                           "                    \"TCPIP\"\r\n"
                           "    \"Label\"=mui_sz:\"netmui.dll,#4319\"\r\n";
  RegistryFile file = Parsed(text);
  EXPECT_EQ(file.encoding(), RegistryFile::Encoding::kWindows1252);
  EXPECT_EQ(file.Serialize(), text);
  EXPECT_EQ(file.QueryValue(kKey, "Name"), Sz(u"Soci\u00E9t\u00E9\0"sv));
  EXPECT_EQ(file.QueryValue(kKey, "Bind"), Sz(u"SDCSD40N1\0TCPIP\0\0"sv, 7));
  ASSERT_TRUE(file.SetValue(kKey, "Name", Sz(u"Caf\u00E9\0"sv)));
  ASSERT_TRUE(file.SetValue(kKey, "Bind", Sz(u"\u7EC8\0"sv)));
  ASSERT_TRUE(file.SetValue(kKey, "New", Sz(u"x\0"sv, 21)));
  EXPECT_FALSE(file.SetValue(kKey, "\u7EC8", Sz(u"x\0"sv))) << "a name ANSI cannot hold";
  const std::string expected = head +
                               "    \"Name\"=\"Caf\xE9\"\r\n"
                               "    \"Bind\"=hex(1):c8,7e,00,00\r\n"
                               "    \"Label\"=mui_sz:\"netmui.dll,#4319\"\r\n"
                               "    \"New\"=mui_sz:\"x\"\r\n";
  EXPECT_EQ(file.Serialize(), expected);
  EXPECT_EQ(Parsed(expected).QueryValue(kKey, "Bind"), Sz(u"\u7EC8\0"sv));
}

// A Platform Builder file has no header: it gets the one that says how its
// 8-bit text reads, and then reads as the file it came from.
TEST(RegistryFileTest, AFileWithoutAHeaderGetsTheOneItsTextCallsFor) {
  const struct {
    std::string bytes;
    std::string expected;
  } cases[] = {
      {"[HKEY_LOCAL_MACHINE\\A]\r\n\"v\"=\"\xC3\xA9\"\r\n",
       std::string(kRegHeader) + "\r\n[HKEY_LOCAL_MACHINE\\A]\r\n\"v\"=\"\xC3\xA9\"\r\n"},
      {"; \xA9\n[HKEY_LOCAL_MACHINE\\A]\n", "REGEDIT4\n\n; \xA9\n[HKEY_LOCAL_MACHINE\\A]\n"},
      {"\xEF\xBB\xBF[HKEY_LOCAL_MACHINE\\A]",
       "\xEF\xBB\xBF" + std::string(kRegHeader) + "\r\n[HKEY_LOCAL_MACHINE\\A]"},
      {"REGEDIT4 \r\n; \xA9\r\n", "REGEDIT4 \r\n; \xA9\r\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(sim::WithRegistryHeader(c.bytes), c.expected);
    Parsed(c.expected);
  }
}

}  // namespace
}  // namespace hw::simtest
