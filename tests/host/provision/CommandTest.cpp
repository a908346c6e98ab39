// The command line, the exit codes, the result file and save, over the
// recording fake of the OS and an in-memory file system for the program.
#include <gtest/gtest.h>

#include "FakeProgramIo.h"
#include "provision/Profile.h"

namespace hw {
namespace {

using test::CrlfLines;
using test::FakeProgramIo;
using test::RecordingPlatform;
using test::RunProgram;
using Lines = std::vector<std::string>;

const Lines kUsage = {
    "usage: HWProvision report [--out FILE] [--log FILE] [--box]",
    "       HWProvision save FILE [--box]",
    "       HWProvision apply FILE [--dry-run] [--out FILE] [--log FILE] [--box]",
    "       HWProvision sync [--restart] [--out FILE] [--log FILE] [--box]",
    "       HWProvision    (alone: applies HWProvision.ini beside it, else reports)",
    "       HWProvision NN (started from HKLM\\Init as LaunchNN: the boot's sync)"};

// The fake's identity: no Ident key, and its device id.
const char kIdentity[] = "terminal: unknown 001723A45BFF";
// The name, the UUID the fake lacks, then the device id: a header's worth
// first, and again at the size the answer said it needs.
const Lines kIdentityCalls = {"RegOpenKeyEx(HKLM, \"Ident\", 0, 0x1)",
                              "KernelIoControl(0x1010004, ptr, 4, ptr, 16, ptr)",
                              "KernelIoControl(0x1010054, null, 0, ptr, 20, ptr)",
                              "KernelIoControl(0x1010054, null, 0, ptr, 26, ptr)"};

TEST(CommandLine, UsageErrorsPrintTheReasonAndTheUsage) {
  const struct {
    std::vector<std::u16string> arguments;
    const char* reason;
  } cases[] = {
      {{u"--box"}, "HWProvision: no command"},
      {{u"save", u"a", u"--log", u"b"}, "HWProvision: this command takes no option \"--log\""},
      {{u"sync", u"--log"}, "HWProvision: --log needs a FILE"},
      {{u"status"}, "HWProvision: unknown command \"status\""},
      {{u"Report"}, "HWProvision: unknown command \"Report\""},
      {{u"report", u"x.ini"}, "HWProvision: one argument too many: \"x.ini\""},
      {{u"report", u"--dry-run"}, "HWProvision: this command takes no option \"--dry-run\""},
      {{u"save"}, "HWProvision: this command needs a FILE"},
      {{u"save", u"a", u"--out", u"b"}, "HWProvision: this command takes no option \"--out\""},
      {{u"apply", u"--dry-run"}, "HWProvision: this command needs a FILE"},
      {{u"apply", u"a", u"b"}, "HWProvision: one argument too many: \"b\""},
      {{u"apply", u"a", u"--out"}, "HWProvision: --out needs a FILE"},
      {{u"apply", u"a", u"--out", u"x", u"--out", u"y"}, "HWProvision: --out given twice"},
      {{u"apply", u"a", u"--force"}, "HWProvision: this command takes no option \"--force\""},
      {{u"sync", u"a"}, "HWProvision: one argument too many: \"a\""},
      {{u"apply", u"a", u"--restart"}, "HWProvision: this command takes no option \"--restart\""},
      {{u"sync", u"--restart", u"--restart"}, "HWProvision: --restart given twice"},
      {{u"report", u"--box", u"--box"}, "HWProvision: --box given twice"},
  };
  for (const auto& c : cases) {
    RecordingPlatform os;
    FakeProgramIo io;
    EXPECT_EQ(RunProgram(c.arguments, &os, io), kExitRefused) << c.reason;
    Lines expected = {c.reason};
    expected.insert(expected.end(), kUsage.begin(), kUsage.end());
    EXPECT_EQ(io.console, expected);
    EXPECT_TRUE(os.calls.empty()) << c.reason << ": the terminal was touched";
  }
}

TEST(CommandLine, OptionsGoAnywhereAfterTheCommand) {
  const char16_t* argv[] = {u"HWProvision", u"apply", u"--out", u"r.txt", u"--dry-run", u"p.ini"};
  FakeProgramIo io;
  CommandLine command;
  ASSERT_TRUE(ReadCommandLine(6, argv, &command, io));
  EXPECT_EQ(command.command, CommandLine::kApply);
  EXPECT_EQ(std::u16string(command.file), u"p.ini");
  EXPECT_EQ(std::u16string(command.outFile), u"r.txt");
  EXPECT_TRUE(command.dryRun);
  // --help anywhere: the usage, and nothing else.
  RecordingPlatform os;
  EXPECT_EQ(RunProgram({u"sync", u"--restart", u"--help"}, &os, io), kExitOk);
  EXPECT_EQ(io.console, kUsage);
  EXPECT_TRUE(os.calls.empty());
}

TEST(Exit, WithoutTheDeviceNothingIsReadOrWrittenAndTheResultFileSaysSo) {
  const Lines expected = {kIdentity,
                          "EOM1: does not open: the configuration EEPROM cannot be reached",
                          "result: nothing was read or changed (exit 3)"};
  for (const auto& arguments : std::vector<std::vector<std::u16string>>{
           {u"report", u"--out", u"r.txt"},
           {u"apply", u"p.ini", u"--out", u"r.txt"},
           {u"apply", u"p.ini", u"--dry-run", u"--out", u"r.txt"}}) {
    RecordingPlatform os;
    os.deviceOpens = false;
    FakeProgramIo io;
    io.files[u"p.ini"] = "[modules]\n3G = None\n";
    EXPECT_EQ(RunProgram(arguments, &os, io), kExitNoDevice);
    EXPECT_EQ(io.console, expected);
    EXPECT_EQ(CrlfLines(io.files[u"r.txt"]), expected);
    Lines calls = kIdentityCalls;
    calls.push_back("CreateFile(\"EOM1:\", 0xC0000000, 0x3, null, 3, 0x0, 0)");
    EXPECT_EQ(os.calls, calls);
    EXPECT_EQ(io.OpenCount(), 0u);
  }
}

TEST(Exit, ATerminalThatCannotBeReachedComesAfterTheProfile) {
  FakeProgramIo io;
  io.files[u"good.ini"] = "[modules]\nkeypad = Simple\n";
  io.files[u"bad.ini"] = "[modules]\nkeypad = Complex\n";
  EXPECT_EQ(RunProgram({u"apply", u"bad.ini"}, nullptr, io), kExitRefused);
  EXPECT_EQ(RunProgram({u"apply", u"good.ini", u"--out", u"r.txt"}, nullptr, io,
                       u"device.ini:2: unknown key \"x\" in [EOM1]"),
            kExitNoDevice);
  EXPECT_EQ(
      CrlfLines(io.files[u"r.txt"]),
      (Lines{"terminal: unknown unknown", "device.ini:2: unknown key \"x\" in [EOM1]",
             "the terminal cannot be reached", "result: nothing was read or changed (exit 3)"}));
}

TEST(Exit, ARefusedProfileOrResultFileStopsBeforeTheTerminal) {
  const struct {
    const char* what;
    std::string profile;  // empty: no such file
    const char16_t* out;
    Lines console;
  } cases[] = {
      {"refused profile",
       "[modules]\nWiFi = fast\n",
       u"r.txt",
       {kIdentity,
        "p.ini:2: WiFi = \"fast\": no such button; WiFi takes muRate 2to1 (0xFF), USI SD40 (0x01), "
        "None (0x00), muRate 8XQF (0x10)",
        "result: profile refused, nothing was changed (exit 2)"}},
      {"missing profile",
       "",
       u"r.txt",
       {kIdentity, "p.ini: cannot be opened",
        "result: profile refused, nothing was changed (exit 2)"}},
      {"profile too large",
       std::string(kMaxProfileBytes + 1, '\n'),
       u"r.txt",
       {kIdentity, "p.ini: larger than 64 KB",
        "result: profile refused, nothing was changed (exit 2)"}},
      {"result file not creatable",
       "[modules]\n",
       u"locked.txt",
       {kIdentity,
        "result: locked.txt: cannot be created: its volume is read-only; nothing was done (exit "
        "2)"}},
  };
  for (const auto& c : cases) {
    RecordingPlatform os;  // the device would open
    FakeProgramIo io;
    io.unwritable = {u"locked.txt"};
    if (!c.profile.empty()) io.files[u"p.ini"] = c.profile;
    EXPECT_EQ(RunProgram({u"apply", u"p.ini", u"--out", c.out}, &os, io), kExitRefused) << c.what;
    EXPECT_EQ(io.console, c.console) << c.what;
    if (io.files.count(c.out)) {
      EXPECT_EQ(CrlfLines(io.files[c.out]), c.console) << c.what;
    }
    EXPECT_EQ(os.calls, kIdentityCalls) << c.what << ": more than the identity was read";
  }
}

TEST(ResultFile, IsUtf8WithCrlf) {
  RecordingPlatform os;
  FakeProgramIo io;
  EXPECT_EQ(
      RunProgram({u"apply", u"\u041F\u0440\u043E\u0444\u0438\u043B\u044C.ini", u"--out", u"r.txt"},
                 &os, io),
      kExitRefused);
  EXPECT_EQ(io.files[u"r.txt"],
            "terminal: unknown 001723A45BFF\r\n"
            "\xD0\x9F\xD1\x80\xD0\xBE\xD1\x84\xD0\xB8\xD0\xBB\xD1\x8C.ini: cannot be opened\r\n"
            "result: profile refused, nothing was changed (exit 2)\r\n");
}

TEST(Save, WritesEveryButtonAndCommentsWhatNoButtonWrites) {
  RecordingPlatform os;
  os.eeprom.fill(0xFF);
  os.eeprom[0x69] = 0x00;  // keypad: no button writes 0x00
  os.eeprom[0x91] = 0x01;  // 3G: the hidden button
  os.eeprom[0x11] = 0x10;
  os.failRead = {0xA9};
  os.driverListAvailable = true;
  os.drivers = {{u"HCD1:", u"Drivers\\BuiltIn\\HCD_HSH1", u"$device\\HCD1"}};
  FakeProgramIo io;
  EXPECT_EQ(RunProgram({u"save", u"p.ini"}, &os, io), kExitFailed) << "a cell could not be read";
  EXPECT_EQ(
      CrlfLines(io.files[u"p.ini"]),
      (Lines{"; HWProvision profile: the buttons that this terminal's cells select", "[modules]",
             "; keypad = 0x00: no button writes this value", "fingerprint = None",
             "3G = HUAWEI_WCDMA", "LF = OutSide", "handle key = One Message", "Bluetooth = 2to1",
             "WiFi = muRate 8XQF", "serial chip = VK3224", "; power chip: cell 0xA9 cannot be read",
             "; 3G driver: HCD1: loaded from Drivers\\BuiltIn\\HCD_HSH1",
             "; WiFi driver: no WiFi driver loaded"}));
  EXPECT_EQ(io.console, (Lines{kIdentity, "keypad = 0x00: no button writes this value",
                               "power chip: cell 0xA9 cannot be read",
                               "3G driver: HCD1: loaded from Drivers\\BuiltIn\\HCD_HSH1",
                               "WiFi driver: no WiFi driver loaded",
                               "result: 7 modules saved to p.ini (exit 1)"}));
  EXPECT_EQ(io.OpenCount(), 0u);
  for (const std::string& call : os.CallsNamed("DeviceIoControl")) {
    EXPECT_EQ(call.substr(call.find(", ") + 2, 3), "2, ") << "save only reads: " << call;
  }
}

TEST(Save, AFileThatCannotBeCreatedIsRefused) {
  RecordingPlatform os;
  FakeProgramIo io;
  io.unwritable = {u"p.ini"};
  EXPECT_EQ(RunProgram({u"save", u"p.ini"}, &os, io), kExitRefused);
  EXPECT_EQ(io.console, (Lines{kIdentity, "p.ini: cannot be created (exit 2)"}));
}

}  // namespace
}  // namespace hw
