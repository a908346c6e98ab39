#pragma once

#include "platform/Platform.h"
#include "provision/Report.h"

namespace hw {

// What Device Manager has loaded, read once a run: the registry says what
// the drivers will load at the next boot, this what runs now.
struct DriverList {
  DriverListResult result;
  UInt32 count;
  LoadedDriver drivers[kMaxLoadedDrivers];
};

// How long the boot's sync waits for the SD bus to load the WiFi card's
// driver: the bus enumerates a card only after its PowerUpDelay (500 ms by
// default), once the start-up programs run.
const UInt32 kWifiDriverWaitMilliseconds = 10000;
const UInt32 kWifiDriverPollMilliseconds = 100;

// The run's one list: static, since 64 drivers' keys do not belong on the
// terminal's small stack.
DriverList& RunDriverList();

// Reads the list. With `waitForWifi`, while no WiFi card's driver is listed,
// sleeps and reads it again, up to kWifiDriverWaitMilliseconds; returns the
// milliseconds slept.
UInt32 ReadDriverList(Platform& os, bool waitForWifi, DriverList* list);

// Whether a WiFi card's driver, either card's, is in the list.
bool WifiDriverListed(const DriverList& list);

// What runs of a module's driver against what its cell calls for.
struct DriverAudit {
  enum Verdict {
    kNoVerdict,       // the cell calls for nothing this can judge, or the OS differs
    kMatches,         // what runs, or for 3G "None" does not run, is what the cell calls for
    kRestartPending,  // the registry is right, the driver that runs is from before
    kNotLoaded,       // the registry is right, and no driver runs
    kUnknown          // the list cannot be read
  };
  bool judged;                  // 3G and WiFi: their drivers are Device Manager's
  const LoadedDriver* running;  // the module's driver in the list, or null
  const Char* key;              // the registry key it was loaded from: ours, as we spell it
  Verdict verdict;
};

// `audit` is the module as the OS now holds it; `restoredNow`: this run set
// its values, so the boot loaded from others.
void AuditDriver(const ModuleAudit& audit, const DriverList& list, bool restoredNow,
                 DriverAudit* driver);
// "driver: HCD1: loaded from Drivers\BuiltIn\HCD_HSH1 | matches", at the
// name column, for a line of its own below the module's.
void AppendDriverLine(const DriverAudit& driver, TextLine& line);
// The same from "driver: " on.
void AppendDriverText(const DriverAudit& driver, TextLine& line);
// "matches", "restart pending", "not loaded", "unknown".
const Char* DriverVerdictName(DriverAudit::Verdict verdict);
// Counts the verdict for the result line and the log.
void CountDriver(Module module, const DriverAudit& driver, ResultCounts* counts);

}  // namespace hw
