// The terminal's identity, the log and the run with no arguments, over the
// recording fake and the program's files in memory.
#include <gtest/gtest.h>

#include <functional>

#include "FakeProgramIo.h"
#include "provision/Identity.h"

namespace hw {
namespace {

using test::CrlfLines;
using test::FakeProgramIo;
using test::RecordingPlatform;
using test::RunProgram;
using Prepare = std::function<void(RecordingPlatform&)>;

void Named(RecordingPlatform& os, const std::u16string& name) {
  os.keys[u"Ident"][u"Name"] = name;
}
void Nothing(RecordingPlatform&) {}

TEST(Identity, IsTheIdentNameAndTheDeviceIdInHex) {
  const struct {
    const char* what;
    Prepare setup;
    std::string line;
  } cases[] = {
      {"both", [](RecordingPlatform& os) { Named(os, u"HT-CE6"); },
       "terminal: HT-CE6 001723A45BFF"},
      {"no Ident key", Nothing, "terminal: unknown 001723A45BFF"},
      {"an empty name", [](RecordingPlatform& os) { Named(os, u""); },
       "terminal: unknown 001723A45BFF"},
      {"a comma and a quote", [](RecordingPlatform& os) { Named(os, u"L3, \"B\""); },
       "terminal: L3, \"B\" 001723A45BFF"},
      {"the id call fails", [](RecordingPlatform& os) { os.deviceIdWorks = false; },
       "terminal: unknown unknown"},
      {"preset id, then platform id",
       [](RecordingPlatform& os) {
         os.presetId = {0xAB, 0x0C}, os.platformId = {0x01};
       },
       "terminal: unknown AB0C01"},
      {"no id bytes", [](RecordingPlatform& os) { os.platformId.clear(); },
       "terminal: unknown unknown"},
      {"the longest id shown", [](RecordingPlatform& os) { os.platformId.assign(108, 0x77); },
       "terminal: unknown " + std::string(216, '7')},
      {"one byte longer", [](RecordingPlatform& os) { os.platformId.assign(109, 0x77); },
       "terminal: unknown unknown"},
  };
  for (const auto& c : cases) {
    RecordingPlatform os;
    c.setup(os);
    TerminalIdentity identity;
    ReadIdentity(&os, &identity);
    TextLine line;
    AppendIdentityLine(identity, line);
    EXPECT_EQ(test::Utf8(line.text()), c.line) << c.what;
    EXPECT_TRUE(os.faults.empty()) << c.what;
  }
}

const std::string kHeader =
    "local time,id,name,command,profile,applied,would apply,unchanged,restored,consistent,"
    "inconsistent,unreadable,failed,not permanent,exit\r\n";

TEST(Log, AddsOneCsvLinePerRunAndAHeaderToANewLog) {
  const struct {
    const char* what;
    std::vector<std::u16string> arguments;
    Prepare setup;
    const char* before;  // null: no log yet
    std::string after;
  } cases[] = {
      {"a new log",
       {u"report"},
       [](RecordingPlatform& os) { Named(os, u"HT-CE6"); },
       nullptr,
       kHeader + "2026-03-09 07:05:03,001723A45BFF,HT-CE6,report,,,,,,,0,0,,,0\r\n"},
      {"an existing log",
       {u"sync"},
       Nothing,
       "earlier\r\n",
       "earlier\r\n2026-03-09 07:05:03,001723A45BFF,unknown,sync,,,,,0,0,,,0,0,0\r\n"},
      {"a name to quote",
       {u"report"},
       [](RecordingPlatform& os) { Named(os, u"L3, \"B\""); },
       "",
       kHeader + "2026-03-09 07:05:03,001723A45BFF,\"L3, \"\"B\"\"\",report,,,,,,,0,0,,,0\r\n"},
      {"the id call fails",
       {u"apply", u"\\Card\\p.ini", u"--dry-run"},
       [](RecordingPlatform& os) { os.deviceIdWorks = false; },
       "",
       kHeader + "2026-03-09 07:05:03,unknown,unknown,apply --dry-run,p.ini,,1,0,,,,,,,0\r\n"},
      {"a refused profile",
       {u"apply", u"bad.ini"},
       Nothing,
       "",
       kHeader + "2026-03-09 07:05:03,001723A45BFF,unknown,apply,bad.ini,,,,,,,,,,2\r\n"},
  };
  for (const auto& c : cases) {
    RecordingPlatform os;
    c.setup(os);
    FakeProgramIo io;
    io.files[u"\\Card\\p.ini"] = "[modules]\nkeypad = Simple\n";
    io.files[u"bad.ini"] = "[modules]\nkeypad = Complex\n";
    if (c.before != nullptr) io.files[u"s.csv"] = c.before;
    auto arguments = c.arguments;
    arguments.insert(arguments.end(), {u"--log", u"s.csv"});
    RunProgram(arguments, &os, io);
    EXPECT_EQ(io.files[u"s.csv"], c.after) << c.what;
    EXPECT_EQ(io.OpenCount(), 0u) << c.what;
  }
}

TEST(Log, ThatCannotTakeTheLineFailsTheRunAfterTheWork) {
  for (const bool opens : {false, true}) {
    RecordingPlatform os;
    FakeProgramIo io;
    (opens ? io.full : io.unwritable) = {u"s.csv"};
    EXPECT_EQ(RunProgram({u"report", u"--log", u"s.csv"}, &os, io), kExitFailed) << opens;
    ASSERT_EQ(io.console.size(), 12u) << "the identity, nine modules, the log, the result";
    EXPECT_EQ(io.console[10],
              opens ? "s.csv: the log cannot be written; this run's line is missing or cut"
                    : "s.csv: the log cannot be opened; this run is not in it");
    EXPECT_EQ(io.console[11], "result: consistent (exit 1)");
  }
}

TEST(Staging, RunsBesideTheProgramAndShowsHowItEnded) {
  const std::string identity = "terminal: unknown 001723A45BFF\n";
  const std::string txt = "\n\nEvery line is in \\Storage Card\\HWProvision.txt";
  const struct {
    const char* what;
    std::vector<std::u16string> arguments;
    const char* profile;  // HWProvision.ini; null: none
    bool deviceOpens;
    int exit;
    std::string box;
  } cases[] = {
      {"no profile: the report", {}, nullptr, true, 0, "result: consistent (exit 0)" + txt},
      {"a profile: applied",
       {},
       "[modules]\nkeypad = Simple\n",
       true,
       0,
       "result: 1 applied, 0 unchanged, 0 FAILED (exit 0)" + txt},
      {"a profile refused",
       {},
       "[modules]\nWiFi = fast\n",
       true,
       2,
       "\\Storage Card\\HWProvision.ini:2: WiFi = \"fast\": no such button; WiFi takes muRate "
       "2to1 (0xFF), USI SD40 (0x01), None (0x00), muRate 8XQF (0x10)\n"
       "result: profile refused, nothing was changed (exit 2)" +
           txt},
      {"no EOM1:",
       {},
       nullptr,
       false,
       3,
       "EOM1: does not open: the configuration EEPROM cannot be reached\n"
       "result: nothing was read or changed (exit 3)" +
           txt},
      {"--box on a command",
       {u"report", u"--box"},
       nullptr,
       true,
       0,
       "result: consistent (exit 0)"},
  };
  for (const auto& c : cases) {
    RecordingPlatform os;
    os.deviceOpens = c.deviceOpens;
    FakeProgramIo io;
    if (c.profile != nullptr) io.files[u"\\Storage Card\\HWProvision.ini"] = c.profile;
    EXPECT_EQ(RunProgram(c.arguments, &os, io), c.exit) << c.what;
    ASSERT_EQ(io.boxes.size(), 1u) << c.what;
    EXPECT_EQ(io.boxes[0].caption, "HWProvision") << c.what;
    EXPECT_EQ(io.boxes[0].text, identity + c.box) << c.what;
    EXPECT_EQ(io.boxes[0].warning, c.exit != 0) << c.what;
    if (!c.arguments.empty()) continue;
    EXPECT_EQ(CrlfLines(io.files[u"\\Storage Card\\HWProvision.txt"]), io.console) << c.what;
    EXPECT_EQ(CrlfLines(io.files[u"\\Storage Card\\HWProvision.log"]).size(), 2u) << c.what;
  }
}

}  // namespace
}  // namespace hw
