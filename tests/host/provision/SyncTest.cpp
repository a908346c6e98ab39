// sync over the recording fake: what each module's cell and OS lead to, what
// is written, and the restart with its guard.
#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "FactoryOs.h"
#include "FakeProgramIo.h"
#include "provision/RestartMarker.h"
#include "provision/Sync.h"

namespace hw {
namespace {

using namespace test;  // the factory terminal and its values
using Lines = std::vector<std::string>;

struct SyncCase {
  const char* what;
  Module module;
  std::uint8_t value;
  std::function<void(RecordingPlatform&)> change;
  SyncOutcome outcome;
  const char* ending;  // the line after "| "
  std::size_t sets;    // registry values written, then one flush; or a file installed
};

void Nothing(RecordingPlatform&) {}

const SyncCase kCases[] = {
    {"3G fitted, driver on", k3G, 0x11, Nothing, kSyncConsistent, "consistent", 0},
    {"no 3G on the factory image", k3G, 0xFF, Nothing, kSyncRestored, "restored", 2},
    {"CDMA2000, driver off", k3G, 0x12,
     [](RecordingPlatform& os) { os.keys[kUsbHostDriverKey] = kUsbOff; }, kSyncRestored, "restored",
     2},
    {"flush refused by a RAM registry", k3G, 0xFF,
     [](RecordingPlatform& os) { os.flushResult = 50; }, kSyncRestored,
     "restored; not made permanent: RegFlushKey failed with error 50", 2},
    {"key missing: never created", k3G, 0x11,
     [](RecordingPlatform& os) { os.keys.erase(kUsbHostDriverKey); }, kSyncFailed,
     "FAILED: HCD_HSH1 key is missing", 0},
    {"a set refused", k3G, 0xFF, [](RecordingPlatform& os) { os.failSetValue = {u"IsrDll"}; },
     kSyncFailed, "FAILED: HCD_HSH1 IsrDll is \"giisr.dll\", wants \"xxx\"", 2},
    {"a 3G code no button writes", k3G, 0x05, Nothing, kSyncLeftAlone,
     "left alone: no button writes 0x05", 0},
    {"3G cell unreadable", k3G, 0x11, [](RecordingPlatform& os) { os.failRead = {0x91}; },
     kSyncUnreadable, "left alone: the cell cannot be read", 0},
    {"8XQF cell, USI SD40 driver", kWifi, 0x10, Nothing, kSyncRestored, "restored", 8},
    {"USI SD40 in both", kWifi, 0x01, Nothing, kSyncConsistent, "consistent", 0},
    {"2to1 leaves the driver", kWifi, 0xFF,
     [](RecordingPlatform& os) { os.keys[kWifiCardKey4329] = kMurata; }, kSyncNotManaged,
     "not managed", 0},
    {"a card key missing", kWifi, 0x10,
     [](RecordingPlatform& os) { os.keys.erase(kWifiCardKey4329); }, kSyncFailed,
     "FAILED: card 4329 key is missing", 4},
    {"nothing in flash", kBluetooth, 0xFF, Nothing, kSyncRestored, "restored", 1},
    {"46LCS3 cell, 2to1 file", kBluetooth, 0x01,
     [](RecordingPlatform& os) { os.files[kFlash] = kSource; }, kSyncRestored, "restored", 1},
    {"2to1 installed", kBluetooth, 0xFF, [](RecordingPlatform& os) { os.files[kFlash] = kSource; },
     kSyncConsistent, "consistent", 0},
    {"source missing", kBluetooth, 0xFF,
     [](RecordingPlatform& os) { os.files.erase(kPsConfigSource); }, kSyncFailed,
     "FAILED: the install showed \"Setup Failed!\"; \\Windows\\PSconfig.psr is missing", 0},
    {"None leaves the file", kBluetooth, 0x00, Nothing, kSyncNotManaged, "not managed", 0},
};

TEST(Sync, RestoresWhatTheCellsButtonLeavesAndReadsItBack) {
  for (const SyncCase& c : kCases) {
    FactoryOs terminal;
    RecordingPlatform& os = terminal.os;
    os.eeprom[CellOf(c.module).address] = c.value;
    c.change(os);
    EepromChannel channel(os);
    ASSERT_TRUE(channel.Open());
    TextLine line;
    DriverList drivers;
    drivers.result = kDriverListNotAvailable;
    const SyncedModule synced = SyncModule(os, channel, c.module, false, drivers, line);
    EXPECT_EQ(synced.outcome, c.outcome) << c.what;
    const std::string text = Utf8(line.text());
    EXPECT_EQ(text.substr(text.find("| ") + 2), c.ending) << c.what;
    EXPECT_EQ(synced.flushed, c.outcome == kSyncRestored ? os.flushResult : 0) << c.what;

    // The cell already holds the value: a sync never writes it, nor traces.
    for (const std::string& call : os.CallsNamed("DeviceIoControl")) {
      EXPECT_EQ(call.substr(call.find(", ") + 2, 3), "2, ") << c.what << ": " << call;
    }
    EXPECT_TRUE(os.debugLines.empty()) << c.what;
    const bool registryGroup = c.module != kBluetooth && c.outcome != kSyncConsistent &&
                               c.outcome != kSyncNotManaged && c.outcome != kSyncLeftAlone &&
                               c.outcome != kSyncUnreadable;
    const std::size_t files = c.module == kBluetooth ? c.sets : 0;
    EXPECT_EQ(os.CallsNamed("RegSetValueEx").size(), c.module == kBluetooth ? 0 : c.sets) << c.what;
    EXPECT_EQ(os.CallsNamed("RegFlushKey").size(), registryGroup ? 1u : 0u) << c.what;
    EXPECT_EQ(os.CallsNamed("WriteFile").size(), files) << c.what;
    EXPECT_TRUE(os.OpenFiles().empty()) << c.what;
    EXPECT_TRUE(os.faults.empty()) << c.what;
  }
}

// A terminal whose 3G driver differs from its cell, and HWProvision's run on it.
struct RestartRun {
  static constexpr int kResetCame = 100;
  FactoryOs terminal;
  FakeProgramIo io;
  int Run(std::vector<std::u16string> arguments) {
    try {
      return RunProgram(std::move(arguments), &terminal.os, io);
    } catch (const ResetCame&) {
      return kResetCame;
    }
  }
  bool Marker() const { return terminal.os.files.count(kRestartMarker) == 1; }
  std::string Last() const { return io.console.empty() ? "" : io.console.back(); }
};

// The clock `minutes` later (earlier when negative), inside one day.
SystemTime MinutesLater(SystemTime time, int minutes) {
  const int total = time.hour * 60 + time.minute + minutes;
  time.hour = static_cast<std::uint16_t>(total / 60);
  time.minute = static_cast<std::uint16_t>(total % 60);
  return time;
}

TEST(Sync, RestartsOnceAfterARestoreAndNeverAgainWhileItStillDiffers) {
  const char* const kMarkerRefused =
      "\\Flash Disk\\HWProvision.restart cannot be written: the terminal is not restarted, "
      "lest it restart again and again";
  const int kNone = 1000;  // no marker
  const struct {
    const char* what;
    int markerAge;  // minutes since the marker was written, or kNone
    int differing;  // 2: 3G and Bluetooth differ from the cells, 1: 3G alone, 0: none
    std::function<void(RestartRun&)> fault;
    int exit;  // as the log has it; the run ends in the reset when one comes
    int resets;
    bool markerAfter;
    const char* last;
    const char* beforeLast;  // null: not checked
  } cases[] = {
      {"a restore restarts and leaves the marker", kNone, 2, nullptr, 0, 1, true,
       "result: 2 restored, 0 consistent, 0 FAILED (exit 0)", nullptr},
      {"inside the window it still differs", 10, 2, nullptr, 1, 0, false,
       "result: 0 restored, 0 consistent, 2 FAILED (exit 1)",
       "no restart: the terminal restarted for these values at 2026-03-09 05:55:03 UTC, less "
       "than 10 minutes ago (\\Flash Disk\\HWProvision.restart); lest it restart in a loop, what "
       "was restored again waits for the next boot"},
      {"a stale marker: one restart more", 11, 2, nullptr, 0, 1, true,
       "result: 2 restored, 0 consistent, 0 FAILED (exit 0)", nullptr},
      {"a marker later than the clock", -30, 1, nullptr, 1, 0, false,
       "result: 0 restored, 1 consistent, 1 FAILED (exit 1)",
       "no restart: the clock reads earlier than the restart's stamp (2026-03-09 06:35:03 UTC, "
       "\\Flash Disk\\HWProvision.restart): treated as recent; lest it restart in a loop, what "
       "was restored again waits for the next boot"},
      {"a marker cleared from the object store stays on flash", 2, 1,
       [](RestartRun& run) {
         auto& files = run.terminal.os.files;
         for (auto it = files.begin(); it != files.end();) {
           const bool kept = it->first.rfind(u"\\Windows\\", 0) == 0 ||
                             it->first.rfind(u"\\Flash Disk\\", 0) == 0;
           it = kept ? std::next(it) : files.erase(it);
         }
       },
       1, 0, false, "result: 0 restored, 1 consistent, 1 FAILED (exit 1)", nullptr},
      {"after the restart all agree", 3, 0, nullptr, 0, 0, false,
       "result: 0 restored, 2 consistent, 0 FAILED (exit 0)", nullptr},
      {"a consistent terminal is only read", kNone, 0, nullptr, 0, 0, false,
       "result: 0 restored, 2 consistent, 0 FAILED (exit 0)", nullptr},
      {"a restore beside a FAILED module restarts", kNone, 1,
       [](RestartRun& run) {
         run.terminal.os.eeprom[CellOf(kWifi).address] = 0x10;
         run.terminal.os.keys.erase(kWifiCardKey4329);
       },
       1, 1, true, "result: 1 restored, 1 consistent, 1 FAILED (exit 1)", nullptr},
      {"a restore beside an unreadable cell does not restart", kNone, 2,
       [](RestartRun& run) { run.terminal.os.failRead = {0x91}; }, 1, 0, false,
       "result: 1 restored, 0 consistent, 0 FAILED, 1 unreadable (exit 1)",
       "no restart: a cell cannot be read, and the sync after a restart could not tell what it "
       "restored; the drivers load the restored values at the next boot"},
      {"the terminal refuses the restart", kNone, 2,
       [](RestartRun& run) { run.terminal.os.powerStateResult = 87; }, 1, 1, false,
       "result: restart refused (exit 1)",
       "restart refused: SetSystemPowerState failed with error 87; the drivers load the restored "
       "values at the next boot"},
      {"a granted reset that does not come keeps the marker", kNone, 1,
       [](RestartRun& run) { run.terminal.os.resetComes = false; }, 1, 1, true,
       "result: restart did not come (exit 1)",
       "restart did not come: SetSystemPowerState succeeded, but the terminal still ran 30 s "
       "later; the marker stays, so that the boot a late reset brings does not restart again; "
       "the drivers load the restored values at the next boot"},
      {"no marker, no restart", kNone, 1,
       [](RestartRun& run) { run.terminal.os.writableFolders = {u"\\"}; }, 1, 0, false,
       "result: 1 restored, 1 consistent, 0 FAILED (exit 1)", kMarkerRefused},
      {"a marker that does not read back", kNone, 1,
       [](RestartRun& run) { run.terminal.os.vanishing = {kRestartMarker}; }, 1, 0, false,
       "result: 1 restored, 1 consistent, 0 FAILED (exit 1)",
       "\\Flash Disk\\HWProvision.restart does not read back as written: the terminal is not "
       "restarted, lest it restart again and again"},
      {"a result file that cannot be flushed", kNone, 1,
       [](RestartRun& run) { run.io.unflushable = {u"r.txt"}; }, 1, 0, false,
       "result: restart called off (exit 1)",
       "restart called off: r.txt is not whole on its volume; the drivers load the restored "
       "values at the next boot"},
  };
  const std::set<std::string> reads = {"RegOpenKeyEx",    "RegQueryValueEx",  "RegCloseKey",
                                       "CreateFile",      "ReadFile",         "CloseHandle",
                                       "DeviceIoControl", "KernelIoControl",  "GetLocalTime",
                                       "GetSystemTime",   "ListLoadedDrivers"};
  for (const auto& c : cases) {
    RestartRun run;
    RecordingPlatform& os = run.terminal.os;
    const SystemTime now = os.systemTime;
    if (c.markerAge != kNone) {
      os.systemTime = MinutesLater(now, -c.markerAge);
      TextLine why;
      ASSERT_TRUE(LeaveRestartMarker(os, why)) << c.what;
      os.systemTime = now;
      os.calls.clear();
    }
    if (c.differing < 2) os.files[kFlash] = kSource;
    if (c.differing < 1) os.eeprom[CellOf(k3G).address] = 0x11;
    if (c.fault) c.fault(run);
    const bool resetCame = c.resets == 1 && os.resetComes && os.powerStateResult == 0;
    EXPECT_EQ(run.Run({u"sync", u"--restart", u"--out", u"r.txt", u"--log", u"l.csv"}),
              resetCame ? RestartRun::kResetCame : c.exit)
        << c.what;
    EXPECT_EQ(os.resets, c.resets) << c.what;
    EXPECT_EQ(run.Marker(), c.markerAfter) << c.what;
    EXPECT_EQ(run.Last(), c.last) << c.what;
    if (c.beforeLast != nullptr) {
      EXPECT_EQ(run.io.console.at(run.io.console.size() - 2), c.beforeLast) << c.what;
    }
    EXPECT_EQ(CrlfLines(run.io.files[u"r.txt"]), run.io.console) << c.what;
    const std::vector<std::string> log = CrlfLines(run.io.files[u"l.csv"]);
    ASSERT_EQ(log.size(), 2u) << c.what << ": the header and the run's line, completed in place";
    std::string exit = log[1].substr(0, log[1].rfind(','));  // then problems, drivers
    exit = exit.substr(0, exit.rfind(','));
    EXPECT_EQ(exit.substr(exit.rfind(',') + 1), std::to_string(c.exit)) << c.what << ": " << log[1];
    EXPECT_EQ(os.slept, c.resets == 1 && !os.resetComes ? kResetWaitMilliseconds : 0u) << c.what;
    EXPECT_TRUE(run.io.boxes.empty()) << c.what;
    if (resetCame) {
      EXPECT_EQ(os.CallsNamed("SetSystemPowerState").back(),
                "SetSystemPowerState(null, 0x800000, 0x1000)");
      // Nothing the run keeps is left in a write-back cache for the reset to drop.
      EXPECT_TRUE(os.unflushed.empty() && run.io.unflushed.empty()) << c.what;
    } else {
      EXPECT_EQ(run.io.OpenCount(), 0u) << c.what << ": the result file and the log are closed";
    }
    // What runs at every boot: on a terminal that agrees, reads only.
    for (const std::string& call : c.differing == 0 && c.markerAge == kNone ? os.calls : Lines{}) {
      EXPECT_EQ(reads.count(call.substr(0, call.find('('))), 1u) << call;
      EXPECT_EQ(call.find("0xF003F"), std::string::npos) << call << ": opened for writing";
      EXPECT_EQ(call.find("0x40000000"), std::string::npos) << call << ": opened for writing";
    }
  }
}

// Boots in a row of a terminal whose image puts the 3G driver back at every
// boot: a letter a boot, R when its sync restarted the terminal (the reset
// came, at once or late), A when the reset was granted and never came, x when
// it was refused, - when the sync did not ask. Whatever the reset or the
// clock does, no two boots in a row restart.
TEST(Sync, NoTwoBootsInARowRestartWhateverTheResetOrTheClock) {
  enum Reset { kGranted, kRefused, kLate, kIgnored };
  const int kNone = 1000;  // no marker before the first boot
  const struct {
    const char* what;
    Reset reset;
    int markerAge;     // minutes before the first boot, or kNone
    int minutesApart;  // the clock from one boot to the next: 0, a clock that comes back
    const char* boots;
  } cases[] = {
      {"granted", kGranted, kNone, 1, "R-R-R"},
      {"granted, a fresh marker first", kGranted, 3, 1, "-R-R-"},
      {"granted, a stale marker first", kGranted, 11, 1, "R-R-R"},
      {"granted, the clock back at every boot", kGranted, kNone, 0, "R-R-R"},
      {"granted, the clock earlier at every boot", kGranted, kNone, -5, "R-R-R"},
      {"late: after the wait", kLate, kNone, 1, "R-R-R"},
      {"late, the clock back at every boot", kLate, 5, 0, "-R-R-"},
      {"ignored, boots a minute apart", kIgnored, kNone, 1, "A-A-A"},
      {"ignored, boots an hour apart", kIgnored, kNone, 60, "AAAAA"},
      {"refused", kRefused, kNone, 1, "xxxxx"},
  };
  for (const auto& c : cases) {
    FactoryOs terminal;
    RecordingPlatform& os = terminal.os;
    os.files[kFlash] = kSource;
    os.powerStateResult = c.reset == kRefused ? 87 : 0;
    os.resetComes = c.reset == kGranted;
    const SystemTime start = MinutesLater(os.systemTime, -120);
    if (c.markerAge != kNone) {
      os.systemTime = MinutesLater(start, -c.markerAge);
      TextLine why;
      ASSERT_TRUE(LeaveRestartMarker(os, why)) << c.what;
    }
    std::string boots;
    for (int boot = 0; boot < 5; ++boot) {
      os.systemTime = MinutesLater(start, boot * c.minutesApart);
      os.keys[kUsbHostDriverKey] = kUsbOn;  // the image's value, back at every boot
      const int asked = os.resets;
      FakeProgramIo io;
      try {
        RunProgram({u"sync", u"--restart"}, &os, io);
      } catch (const ResetCame&) {
      }
      const bool came = c.reset == kGranted || c.reset == kLate;
      boots += os.resets == asked ? '-' : c.reset == kRefused ? 'x' : came ? 'R' : 'A';
    }
    EXPECT_EQ(boots, c.boots) << c.what;
    EXPECT_EQ(boots.find("RR"), std::string::npos) << c.what;
  }
}

// The boot's sync restarts when a driver that runs is not what the registry
// now holds, and for nothing else Device Manager's list can answer; it waits
// for the SD bus's WiFi driver, up to its bound.
TEST(Sync, RestartsForWhatRunsFromBeforeAndWaitsForTheSdBus) {
  using Driver = RecordingPlatform::Driver;
  const Driver kHcd = kHcdDriver;
  const auto card = [](const char16_t* legacyName, std::uint32_t after) {
    return CardDriver(legacyName, kWifiCardKey4329, after);
  };
  const struct {
    const char* what;
    std::uint8_t g3, wifi;  // the factory image: USB host on, USI SD40 in both card keys
    bool oldValues;         // the registry was changed since the boot: 3G off, WiFi muRata
    std::vector<Driver> running;
    int resets;
    const char* first;  // the line after the identity
  } cases[] = {
      {"restored, the old driver runs",
       0xFF,
       0x01,
       false,
       {kHcd, card(u"SSI1:", 0)},
       1,
       "3G           cell 0x91 = 0xFF  None            | restored"},
      {"restored, the driver already runs as called for",
       0x11,
       0x01,
       true,
       {kHcd, card(u"SSI1:", 0)},
       0,
       "3G           cell 0x91 = 0x11  SIMCOM WCDMA    | restored"},
      {"registry right, the driver from before",
       0x11,
       0x10,
       true,
       {kHcd, card(u"SSI1:", 0)},
       1,
       "3G           cell 0x91 = 0x11  SIMCOM WCDMA    | restored"},
      {"not loaded: no restart",
       0x11,
       0x01,
       false,
       {card(u"SSI1:", 0)},
       0,
       "3G           cell 0x91 = 0x11  SIMCOM WCDMA    | consistent"},
      {"the SD bus within the bound",
       0x11,
       0x01,
       false,
       {kHcd, card(u"SSI1:", 1600)},
       0,
       "waited 1.6 s for the WiFi driver"},
      {"the SD bus over the bound",
       0x11,
       0x01,
       false,
       {kHcd, card(u"SSI1:", 12000)},
       0,
       "waited 10.0 s for the WiFi driver, the longest it waits: none was listed"},
  };
  for (const auto& c : cases) {
    FactoryOs terminal;
    RecordingPlatform& os = terminal.os;
    terminal.Running(c.g3, c.wifi, c.running);
    if (c.oldValues) {
      os.keys[kUsbHostDriverKey] = kUsbOff;
      os.keys[kWifiCardKey4319] = os.keys[kWifiCardKey4329] = kMurata;
    }
    FakeProgramIo io;
    try {
      RunProgram({u"sync", u"--restart"}, &os, io);
    } catch (const ResetCame&) {
    }
    EXPECT_EQ(os.resets, c.resets) << c.what;
    ASSERT_GE(io.console.size(), 2u) << c.what;
    EXPECT_EQ(io.console[1], c.first) << c.what;
    EXPECT_LE(os.slept, kWifiDriverWaitMilliseconds + (c.resets ? kResetWaitMilliseconds : 0))
        << c.what;
  }
}

}  // namespace
}  // namespace hw
