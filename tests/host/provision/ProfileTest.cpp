// The profile reader: what it accepts, and everything that refuses a profile.
#include <gtest/gtest.h>

#include <string>

#include "RecordingPlatform.h"
#include "provision/Profile.h"

namespace hw {
namespace {

std::string Utf16Le(const std::u16string& text, bool bom = true) {
  std::string bytes = bom ? "\xFF\xFE" : "";
  for (char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

// Every error reported, as "LINE: reason".
struct Errors final : ProfileErrors {
  std::vector<std::string> seen;
  void Refuse(std::uint32_t line, const char16_t* reason) override {
    seen.push_back(std::to_string(line) + ": " + test::Utf8(reason));
  }
};

// The first error's line and reason; the later ones in *more.
bool Parse(const std::string& bytes, Profile* profile, std::uint32_t* line, std::string* reason,
           std::vector<std::string>* more = nullptr) {
  Errors errors;
  const bool ok = ParseProfile(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                               static_cast<std::uint32_t>(bytes.size()), profile, errors);
  const std::string first = errors.seen.empty() ? "0: " : errors.seen[0];
  *line = static_cast<std::uint32_t>(std::stoul(first));
  *reason = first.substr(first.find(": ") + 2);
  if (more != nullptr && !errors.seen.empty()) {
    more->assign(errors.seen.begin() + 1, errors.seen.end());
  }
  EXPECT_EQ(ok, errors.seen.empty());
  return ok;
}

// The captions of the buttons a profile selects, by module; "-" for none.
std::string Selected(const Profile& profile) {
  std::string out;
  for (std::size_t i = 0; i < kModuleCellCount; ++i) {
    const SelectionAction* row = profile.selections[i];
    out += (i ? "|" : "") + (row ? test::Utf8(row->caption) : std::string("-"));
  }
  return out;
}

TEST(Profile, AcceptsCaptionsAndCodesInAnyCaseAndEncoding) {
  const struct {
    const char* what;
    std::string bytes;
    const char* selected;
  } cases[] = {
      {"all nine by caption",
       "[modules]\nkeypad = All Func\nfingerprint = EM02\n3G = SIMCOM_WCDMA\nLF = OutSide\n"
       "handle key = One Message\nBluetooth = 2to1\nWiFi = muRate 8XQF\nserial chip = VK3224\n"
       "power chip = None\n",
       "All Func|EM02|SIMCOM_WCDMA|OutSide|One Message|2to1|muRate 8XQF|VK3224|None"},
      {"codes, one or two digits", "[modules]\n3G=0x12\nWiFi = 0X0\nBluetooth = 0x1\n",
       "-|-|SIMCOM_CDMA2K|-|-|46LCS3|None|-|-"},
      {"the hidden 3G button by code and caption", "[modules]\n3G = 0x01\n",
       "-|-|HUAWEI_WCDMA|-|-|-|-|-|-"},
      {"any case", "[MODULES]\nWIFI = MURATE 2TO1\nHandle Key = multi message\n",
       "-|-|-|-|Multi Message|-|muRate 2to1|-|-"},
      {"comments, blanks, CRLF and tabs",
       "; factory profile\r\n\r\n# second comment\r\n [ modules ] ; the one section\r\n"
       "\tLF\t=\tInside # reader\r\n",
       "-|-|-|Inside|-|-|-|-|-"},
      {"UTF-8 with a byte-order mark and text beyond ASCII in comments",
       "\xEF\xBB\xBF; \xE7\xBB\x88\xE7\xAB\xAF \xF0\x9F\x93\x9F\n[modules]\npower chip = BQ27510\n",
       "-|-|-|-|-|-|-|-|BQ27510"},
      {"UTF-16LE with a byte-order mark",
       Utf16Le(u"; \u7EC8\u7AEF \U0001F4DF\r\n[modules]\r\nserial chip = 74HC4052\r\n"),
       "-|-|-|-|-|-|-|74HC4052|-"},
      {"an empty section", "[modules]\n", "-|-|-|-|-|-|-|-|-"},
      {"no end of line at the end", "[modules]\nkeypad = Turkey", "Turkey|-|-|-|-|-|-|-|-"},
      {"a value in quotes", "[modules]\nWiFi = \"muRate 8XQF\"\n", "-|-|-|-|-|-|muRate 8XQF|-|-"},
      {"CR line ends", "[modules]\rkeypad = Simple\r3G = 0xFF\r", "Simple|-|None|-|-|-|-|-|-"},
  };
  for (const auto& c : cases) {
    Profile profile;
    std::uint32_t line = 0;
    std::string reason;
    ASSERT_TRUE(Parse(c.bytes, &profile, &line, &reason))
        << c.what << ": " << line << ": " << reason;
    EXPECT_EQ(Selected(profile), c.selected) << c.what;
  }
}

TEST(Profile, RefusesTheWholeProfileWithLineAndReason) {
  const struct {
    const char* what;
    std::string bytes;
    std::uint32_t line;
    const char* reason;
    std::vector<std::string> more = {};  // the errors after the first
  } cases[] = {
      {"every error, each with its line",
       "[modules]\nLF =\nkeypad Simple\n[extras]\nx = 1\n",
       2,
       "LF = \"\": no such button; LF takes OutSide (0xFF), Inside (0x01)",
       {"3: expected \"module = button\", a [section] or a comment",
        "4: [extras]: unknown section; a profile has only [modules]"}},
      {"lines counted across CR and CRLF ends", "[modules]\r\n\rkeypad Simple\r", 3,
       "expected \"module = button\", a [section] or a comment"},
      {"unknown section", "[modules]\nkeypad = Simple\n[extras]\n", 3,
       "[extras]: unknown section; a profile has only [modules]"},
      {"section twice", "[modules]\n[Modules]\n", 2, "[modules] again (first on line 1)"},
      {"unclosed section",
       "[modules\n",
       1,
       "a section name without its closing ']'",
       {"0: no [modules] section: not a profile"}},
      {"unknown key", "[modules]\n\ncamera = On\n", 3,
       "\"camera\": unknown module; the modules are keypad, fingerprint, 3G, LF, handle key, "
       "Bluetooth, WiFi, serial chip, power chip"},
      {"a key before the section", "keypad = Simple\n[modules]\n", 1, "a module before [modules]"},
      {"duplicate key", "[modules]\nWiFi = None\nkeypad = Simple\nwifi = None\n", 4,
       "WiFi again (first on line 2)"},
      {"unknown caption", "[modules]\nWiFi = muRata 2To1\n", 2,
       "WiFi = \"muRata 2To1\": no such button; WiFi takes muRate 2to1 (0xFF), USI SD40 (0x01), "
       "None (0x00), muRate 8XQF (0x10)"},
      {"another module's caption", "[modules]\nkeypad = EM02\n", 2,
       "keypad = \"EM02\": no such button; keypad takes All Func (0xFF), Simple (0x32), Turkey "
       "(0x33)"},
      {"a code no button of the module writes", "[modules]\nfingerprint = 0x00\n", 2,
       "fingerprint = \"0x00\": no such button; fingerprint takes None (0xFF), EM02 (0x01)"},
      {"a code too long", "[modules]\nLF = 0x001\n", 2,
       "LF = \"0x001\": no such button; LF takes OutSide (0xFF), Inside (0x01)"},
      {"empty value", "[modules]\nLF =\n", 2,
       "LF = \"\": no such button; LF takes OutSide (0xFF), Inside (0x01)"},
      {"no equals sign", "[modules]\nkeypad Simple\n", 2,
       "expected \"module = button\", a [section] or a comment"},
      {"no section at all", "; only a comment\n", 0, "no [modules] section: not a profile"},
      {"an empty file", "", 0, "no [modules] section: not a profile"},
      {"a line too long", "[modules]\nkeypad = " + std::string(200, 'x') + "\n", 2,
       "longer than 200 characters before its comment"},
      {"invalid UTF-8", "[modules]\n; caf\xE9\n", 2,
       "bad encoding: not UTF-8 (nor UTF-16LE with a byte-order mark)"},
      {"overlong UTF-8", "[modules]\n\xC0\xBB\n", 2,
       "bad encoding: not UTF-8 (nor UTF-16LE with a byte-order mark)"},
      {"UTF-8 cut short", "[modules]\n; \xE7\xBB", 2,
       "bad encoding: not UTF-8 (nor UTF-16LE with a byte-order mark)"},
      {"UTF-16 without a byte-order mark", Utf16Le(u"[modules]\n", false), 1,
       "bad encoding: a NUL character (UTF-16 without a byte-order mark?)"},
      {"UTF-16 big-endian", std::string("\xFE\xFF\0[", 4), 1,
       "bad encoding: UTF-16 big-endian; save it as UTF-16LE or UTF-8"},
      {"UTF-16 with an odd byte", Utf16Le(u"[modules]\n") + "x", 2,
       "bad encoding: UTF-16LE text with an odd number of bytes"},
      {"UTF-16 with a lone surrogate", Utf16Le(u"[modules]\n; \xDC00\n"), 2,
       "bad encoding: a UTF-16 surrogate without its pair"},
      {"larger than 64 KB", "[modules]\n" + std::string(65536, ';'), 0,
       "larger than 64 KB (65546 bytes)"},
  };
  for (const auto& c : cases) {
    Profile profile;
    std::uint32_t line = 0;
    std::string reason;
    std::vector<std::string> more;
    EXPECT_FALSE(Parse(c.bytes, &profile, &line, &reason, &more)) << c.what;
    EXPECT_EQ(line, c.line) << c.what;
    EXPECT_EQ(reason, c.reason) << c.what;
    EXPECT_EQ(more, c.more) << c.what;
  }
  // Twenty errors, then one that says there are more.
  std::vector<std::string> more;
  std::uint32_t line = 0;
  std::string reason;
  Profile profile;
  std::string lines = "[modules]\n";
  for (int i = 0; i < 30; ++i) lines += "x\n";
  EXPECT_FALSE(Parse(lines, &profile, &line, &reason, &more));
  ASSERT_EQ(more.size(), kMaxProfileErrors);
  EXPECT_EQ(more.back(), "22: and more errors from this line on, not shown");
}

TEST(Profile, SixtyFourKilobytesExactlyIsAccepted) {
  std::string bytes = "[modules]\nkeypad = Simple\n";
  bytes += std::string(kMaxProfileBytes - bytes.size(), '\n');
  Profile profile;
  std::uint32_t line = 0;
  std::string reason;
  EXPECT_TRUE(Parse(bytes, &profile, &line, &reason)) << reason;
}

}  // namespace
}  // namespace hw
