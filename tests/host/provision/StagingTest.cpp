// The terminal's identity, the log and the run with no arguments, over the
// recording fake and the program's files in memory.
#include <gtest/gtest.h>

#include <set>

#include "FakeProgramIo.h"
#include "provision/Identity.h"
#include "provision/Staging.h"

namespace hw {
namespace {

using test::FakeProgramIo;
using test::RecordingPlatform;
using test::RunProgram;
using Bytes = std::vector<std::uint8_t>;

const Bytes kId = {0x00, 0x17, 0x23, 0xA4, 0x5B, 0xFF};

// A fake terminal named `name` (null: no Ident key) whose id request answers
// the two ids, or fails.
void Prepare(RecordingPlatform& os, const char16_t* name, bool idWorks, Bytes preset = {},
             Bytes platform = kId) {
  if (name != nullptr) os.keys[u"Ident"][u"Name"] = name;
  os.deviceIdWorks = idWorks;
  os.presetId = preset;
  os.platformId = platform;
}

TEST(Identity, IsTheIdentNameAndTheUuidOrTheDeviceIdInHex) {
  const Bytes uuid = {0x6B, 0xA7, 0xB8, 0x10, 0x9D, 0xAD, 0x11, 0xD1,
                      0x80, 0xB4, 0x00, 0xC0, 0x4F, 0xD4, 0x30, 0xC8};
  std::string kPreset;  // 40 bytes of 0x48 in hex
  for (int i = 0; i < 40; ++i) kPreset += "48";
  const struct {
    const char16_t* name;
    bool idWorks;
    Bytes preset, platform;
    std::string line;
    Bytes uuid = {};
    const char* file = nullptr;  // the staged terminal's own result file
  } cases[] = {
      {u"Line 3: A/B.",
       false,
       {},
       kId,
       "terminal: Line 3: A/B. unknown",
       {},
       "\\Card\\HWProvision-Line 3_ A_B_.txt"},
      {nullptr, false, {}, kId, "terminal: unknown unknown", {}, "\\Card\\HWProvision-unknown.txt"},
      {u"HT-CE6",
       true,
       {},
       kId,
       "terminal: HT-CE6 6BA7B8109DAD11D180B400C04FD430C8",
       uuid,
       "\\Card\\HWProvision-6BA7B8109DAD11D180B400C04FD430C8.txt"},
      {u"HT-CE6", false, {}, kId, "terminal: HT-CE6 6BA7B8109DAD11D180B400C04FD430C8", uuid},
      {u"HT-CE6", true, {}, kId, "terminal: HT-CE6 001723A45BFF", Bytes(15, 1)},
      {u"HT-CE6", true, {}, kId, "terminal: HT-CE6 001723A45BFF", Bytes(17, 1)},
      {u"HT-CE6", true, {}, kId, "terminal: HT-CE6 001723A45BFF"},
      {nullptr, true, {}, kId, "terminal: unknown 001723A45BFF"},
      {u"", true, {}, kId, "terminal: unknown 001723A45BFF"},
      {u"L3, \"B\"", true, {}, kId, "terminal: L3, \"B\" 001723A45BFF"},
      {u"HT-CE6", false, {}, kId, "terminal: HT-CE6 unknown"},
      {nullptr, true, {0xAB, 0x0C}, {0x01}, "terminal: unknown AB0C01"},
      {nullptr, true, {}, {}, "terminal: unknown unknown"},
      {nullptr, true, {}, Bytes(256, 0x77), "terminal: unknown " + std::string(512, '7')},
      {nullptr, true, {}, Bytes(257, 0x77), "terminal: unknown unknown"},
      // A preset id is the platform's name, the same on every unit: the file
      // is named by the platform id, whole.
      {u"HT-CE6",
       true,
       Bytes(40, 0x48),
       {0x01, 0x02},
       "terminal: HT-CE6 " + kPreset + "0102",
       {},
       "\\Card\\HWProvision-0102.txt"},
      {u"HT-CE6",
       true,
       Bytes(40, 0x48),
       {0x01, 0x03},
       "terminal: HT-CE6 " + kPreset + "0103",
       {},
       "\\Card\\HWProvision-0103.txt"},
  };
  for (const auto& c : cases) {
    RecordingPlatform os;
    Prepare(os, c.name, c.idWorks, c.preset, c.platform);
    os.uuid = c.uuid;
    TerminalIdentity identity;
    ReadIdentity(&os, &identity);
    TextLine line;
    AppendIdentityLine(identity, line);
    EXPECT_EQ(test::Utf8(line.text()), c.line);
    EXPECT_TRUE(os.faults.empty()) << c.line;
    if (c.file == nullptr) continue;
    StagingFiles staging;
    std::copy_n(u"\\Card\\", 7, staging.folder);
    char16_t path[kPathCapacity];
    TerminalResultPath(staging, identity, path);
    EXPECT_EQ(test::Utf8(path), c.file);
  }
}

const std::string kHeader =
    "local time,id,name,command,profile,applied,would apply,unchanged,restored,consistent,"
    "inconsistent,unreadable,failed,not permanent,exit,problems,drivers\r\n";

TEST(Log, AddsOneCsvLinePerRunAfterAHeaderInANewLog) {
  const struct {
    std::vector<std::u16string> arguments;
    const char16_t* name;
    bool idWorks;
    const char* before;  // null: no log yet
    std::string after;
    std::set<std::uint8_t> failRead = {};
  } cases[] = {
      {{u"sync"},
       u"HT-CE6",
       true,
       nullptr,
       kHeader + "2026-03-09 07:05:03,001723A45BFF,HT-CE6,sync,,,,,0,0,,2,0,0,1,"
                 "3G: unreadable; WiFi: unreadable,3G: unknown; WiFi: unknown\r\n",
       {0x91, 0x11}},
      {{u"report"},
       u"HT-CE6",
       true,
       nullptr,
       kHeader + "2026-03-09 07:05:03,001723A45BFF,HT-CE6,report,,,,,,,0,0,,,0,,3G: unknown; WiFi: "
                 "unknown\r\n"},
      {{u"sync"},
       nullptr,
       true,
       "earlier\r\n",
       "earlier\r\n2026-03-09 07:05:03,001723A45BFF,unknown,sync,,,,,0,0,,0,0,0,0\r\n"},
      {{u"report"},
       u"L3, \"B\"",
       true,
       "",
       kHeader + "2026-03-09 07:05:03,001723A45BFF,\"L3, \"\"B\"\"\",report,,,,,,,0,0,,,0,,3G: "
                 "unknown; WiFi: unknown\r\n"},
      {{u"apply", u"\\Card\\p.ini", u"--dry-run"},
       nullptr,
       false,
       "",
       kHeader + "2026-03-09 07:05:03,unknown,unknown,apply --dry-run,p.ini,,1,0,,,,,,,0,,\r\n"},
      {{u"apply", u"bad.ini"},
       nullptr,
       true,
       "",
       kHeader + "2026-03-09 07:05:03,001723A45BFF,unknown,apply,bad.ini,,,,,,,,,,2,profile "
                 "refused: 1 error,\r\n"},
  };
  for (const auto& c : cases) {
    RecordingPlatform os;
    Prepare(os, c.name, c.idWorks);
    os.failRead = c.failRead;
    FakeProgramIo io;
    io.files[u"\\Card\\p.ini"] = "[modules]\nkeypad = Simple\n";
    io.files[u"bad.ini"] = "[modules]\nkeypad = Complex\n";
    if (c.before != nullptr) io.files[u"s.csv"] = c.before;
    auto arguments = c.arguments;
    arguments.insert(arguments.end(), {u"--log", u"s.csv"});
    RunProgram(arguments, &os, io);
    EXPECT_EQ(io.files[u"s.csv"], c.after);
    EXPECT_EQ(io.OpenCount(), 0u) << c.after;
  }
}

// Also the box a command line asks for, which says why as well.
TEST(Log, ThatCannotTakeTheLineFailsTheRunWhoseWorkStands) {
  for (const bool opens : {false, true}) {
    RecordingPlatform os;
    FakeProgramIo io;
    (opens ? io.full : io.unwritable) = {u"s.csv"};
    EXPECT_EQ(RunProgram({u"report", u"--log", u"s.csv", u"--box"}, &os, io), kExitFailed);
    ASSERT_EQ(io.console.size(), 14u)
        << "the identity, the log, nine modules, two drivers, the result";
    const std::string why =
        opens ? "s.csv: the log cannot be written (its volume is full); this run's line is "
                "missing or cut"
              : "s.csv: the log cannot be opened (its volume is read-only); this run is not in it";
    EXPECT_EQ(io.console[1], why);
    EXPECT_EQ(io.console[13], "result: consistent (exit 1)");
    ASSERT_EQ(io.boxes.size(), 1u);
    EXPECT_EQ(io.boxes[0].text, io.console[0] + "\n" + why + "\n" + io.console[13]);
    EXPECT_TRUE(io.boxes[0].warning);
  }
}

// A card that cannot keep the run's records stops the staging run before the
// terminal changes: exit 2, and the box says why.
TEST(Staging, ACardThatCannotKeepTheRecordsChangesNothing) {
  const std::u16string card = u"\\Storage Card\\";
  const std::u16string own = card + u"HWProvision-001723A45BFF.txt";
  const struct {
    const char* what;
    std::u16string file;  // the card refuses it
    std::uint32_t error;  // 0: writes to it fail, the card is full
    const char* why;      // the box's line above the result
  } cases[] = {
      {"full", own, 0, "HWProvision-001723A45BFF.txt: cannot be written: the card is full"},
      {"read-only", own, 19,
       "HWProvision-001723A45BFF.txt: cannot be created: the card is read-only"},
      {"folder missing", own, 3,
       "HWProvision-001723A45BFF.txt: cannot be created: the card's folder is missing"},
      {"log full", card + u"HWProvision.log", 0,
       "HWProvision.log: the log cannot be written (the card is full); this run's line is missing "
       "or cut"},
  };
  for (const auto& c : cases) {
    RecordingPlatform os;
    Prepare(os, u"HT-CE6", true);
    os.eeprom.fill(0xFF);
    FakeProgramIo io;
    io.files[card + u"HWProvision.ini"] = "[modules]\nkeypad = Simple\n3G = SIMCOM_WCDMA\n";
    (c.error == 0 ? io.full : io.unwritable) = {c.file};
    io.unwritableError = c.error;
    EXPECT_EQ(RunProgram({}, &os, io), kExitRefused) << c.what;
    ASSERT_EQ(io.boxes.size(), 1u) << c.what;
    const std::string box = io.boxes[0].text;
    EXPECT_EQ(box.substr(0, box.find("\n\n")),
              "terminal: HT-CE6 001723A45BFF\n" + std::string(c.why) +
                  "\nresult: the card cannot keep this run's records, nothing was done (exit 2)")
        << c.what;
    EXPECT_TRUE(os.CallsNamed("DeviceIoControl").empty()) << c.what << ": the EEPROM was touched";
    EXPECT_TRUE(os.CallsNamed("RegOpenKeyEx").size() == 1) << c.what << ": only HKLM\\Ident";
  }
}

// Every terminal's records carry the part of its identity that names its
// file, the same in the log; a terminal without an id makes one once.
TEST(Staging, EachTerminalKeepsAFileOfItsOwnNamedAsItsLogLine) {
  const struct {
    bool idWorks;
    Bytes preset, platform;
    std::string recordId;  // whole, or its first digits and a checksum
  } cases[] = {
      {false, {}, kId, "HWP-5A5B5C5D5E5F6061"},
      {true, {}, kId, "001723A45BFF"},
      {true, Bytes(40, 0x48), {0x01, 0x02}, "0102"},
      {true, {}, Bytes(40, 0x77), std::string(48, '7')},
  };
  for (const auto& c : cases) {
    RecordingPlatform os;
    Prepare(os, u"HT-CE6", c.idWorks, c.preset, c.platform);
    for (int run = 0; run < 2; ++run) {
      FakeProgramIo io;
      RunProgram({}, &os, io);
      const auto own = std::find_if(io.files.begin(), io.files.end(), [](const auto& file) {
        return file.first.find(u"HWProvision-") != std::u16string::npos;
      });
      ASSERT_NE(own, io.files.end()) << c.recordId;
      const std::string name = test::Utf8(own->first);
      const std::string id = name.substr(name.find('-') + 1, name.size() - name.find('-') - 5);
      EXPECT_EQ(id.substr(0, c.recordId.size()), c.recordId) << name;
      EXPECT_EQ(id.size(), c.recordId.size() == 48 ? 64u : c.recordId.size()) << name;
      const auto log = test::CrlfLines(io.files[u"\\Storage Card\\HWProvision.log"]);
      EXPECT_EQ(log.at(1).substr(20, id.size() + 1), id + ",") << "the log's id column";
      if (!c.idWorks) {
        EXPECT_EQ(test::CrlfLines(own->second).at(0), "terminal: HT-CE6 " + id);
      }
    }
    EXPECT_EQ(os.CallsNamed("CeGenRandom").size(), c.idWorks ? 0u : 1u) << "made once, then kept";
  }
}

}  // namespace
}  // namespace hw
