#include "provision/Sync.h"

#include "provision/ExitCodes.h"
#include "provision/Log.h"
#include "provision/PressWitness.h"
#include "provision/Report.h"
#include "provision/RestartMarker.h"
#include "provision/RunningDriver.h"
#include "provision/Selections.h"
#include "setup/ApplySelection.h"
#include "setup/ProvisioningTarget.h"
#include "setup/PsConfigInstall.h"

namespace hw {

namespace {

// What the result line counts of each SyncOutcome; kCountKinds: nothing.
const ResultCounts::Count kCountOf[] = {ResultCounts::kConsistent, ResultCounts::kRestored,
                                        ResultCounts::kCountKinds, ResultCounts::kCountKinds,
                                        ResultCounts::kUnreadable, ResultCounts::kFailed,
                                        ResultCounts::kFailed};
HW_STATIC_ASSERT(HW_COUNT_OF(kCountOf) == kSyncRestoredAgain + 1, a_count_per_outcome);

// The Bluetooth file may still sit in the flash file system's cache, which
// the reset would drop, whichever run installed it. Shared, so that a
// Bluetooth stack that holds it open does not stop the flush; a file that is
// not there has nothing to lose.
// A file another program holds without sharing it cannot be flushed here.
bool FlushInstalledFile(Platform& os, bool restoredNow) {
  const Handle file = os.CreateFile(kPsConfigDestination, kGenericWrite,
                                    kFileShareRead | kFileShareWrite, NULL, kOpenExisting, 0, 0);
  if (file == kInvalidHandleValue) {
    return !restoredNow && os.GetLastError() != static_cast<UInt32>(kErrorSharingViolation);
  }
  const bool flushed = os.FlushFileBuffers(file) != 0;
  os.CloseHandle(file);
  return flushed;
}

// Whether the terminal may restart: what was restored is on its volume, and
// the marker that stops a second restart reads back. If not, says why.
bool ReadyToRestart(Platform& os, bool bluetoothRestored, TextLine& why) {
  if (!FlushInstalledFile(os, bluetoothRestored)) {
    why.Append(kPsConfigDestination)
        .Append(HW_TEXT(" cannot be flushed: the terminal is not restarted, lest the reset "
                        "lose it"));
    return false;
  }
  return LeaveRestartMarker(os, why);
}

// The sync of the boot after a restart restores again, but does not
// restart: says so, and when the last restart was.
void ExplainNoRestart(MarkerState marker, const SystemTime& restarted, ResultOutput& out) {
  TextLine line;
  if (marker == kMarkerAhead) {
    line.Append(HW_TEXT("no restart: the clock reads earlier than the restart's stamp ("));
    AppendDateTime(restarted, line);
    line.Append(HW_TEXT(" UTC, ")).Append(kRestartMarker).Append(HW_TEXT("): treated as recent"));
  } else {
    line.Append(HW_TEXT("no restart: the terminal restarted for these values at "));
    AppendDateTime(restarted, line);
    line.Append(HW_TEXT(" UTC, less than ")).AppendDecimal(kRestartWindowMinutes);
    line.Append(HW_TEXT(" minutes ago (")).Append(kRestartMarker).Append(HW_TEXT(")"));
  }
  line.Append(HW_TEXT("; lest it restart in a loop, what was restored again waits for the "));
  line.Append(HW_TEXT("next boot"));
  out.Line(line);
}

void AppendRestoreFailure(const ModuleAudit& before, const ModuleAudit& after, const Char* message,
                          bool afterRestart, TextLine& line) {
  line.Append(HW_TEXT("FAILED: "));
  if (afterRestart) {
    line.Append(HW_TEXT("still differs after a restart: "));
    AppendDifferences(before.differences, before.differenceCount, line);
    if (message == NULL && after.verdict == ModuleAudit::kConsistent) {
      line.Append(HW_TEXT("; restored again"));
      return;
    }
    line.Append(HW_TEXT("; after restoring: "));
  }
  if (message != NULL) {
    line.Append(HW_TEXT("the install showed ")).AppendQuoted(message);
    if (after.differenceCount > 0) line.Append(HW_TEXT("; "));
  }
  AppendDifferences(after.differences, after.differenceCount, line);
}

}  // namespace

namespace {

// A module whose OS agrees with its cell, or whose cell no button decides:
// nothing to restore.
SyncOutcome Unchanged(const ModuleAudit& audit, TextLine& line) {
  switch (audit.verdict) {
    case ModuleAudit::kConsistent: line.Append(HW_TEXT("consistent")); return kSyncConsistent;
    case ModuleAudit::kNotManaged: line.Append(HW_TEXT("not managed")); return kSyncNotManaged;
    case ModuleAudit::kUnknownValue:
      line.Append(HW_TEXT("left alone: no button writes ")).AppendHexByte(audit.value);
      return kSyncLeftAlone;
    default: break;
  }
  line.Append(HW_TEXT("left alone: the cell cannot be read"));
  return kSyncUnreadable;
}

}  // namespace

SyncedModule SyncModule(Platform& os, EepromChannel& channel, Module module, bool afterRestart,
                        const DriverList& drivers, TextLine& line) {
  SyncedModule synced;
  synced.flushed = kErrorSuccess;
  ModuleAudit before;
  AuditModule(os, channel, module, &before);
  AppendCellColumns(before, line);
  if (before.verdict != ModuleAudit::kInconsistent) {
    synced.outcome = Unchanged(before, line);
    AuditDriver(before, drivers, false, &synced.driver);
    return synced;
  }
  PressWitness witness;
  const Provisioning step = SelectionWriting(module, before.value)->step;
  synced.flushed = RunProvisioningStep(os, step, witness);
  ModuleAudit after;
  AuditModule(os, channel, module, &after);
  const bool restored = witness.message() == NULL && after.verdict == ModuleAudit::kConsistent;
  AuditDriver(after, drivers, restored, &synced.driver);
  // After a restart, what runs tells whether the restart loaded it: a value
  // restored again whose driver already runs as called for is no failure.
  const bool runs = synced.driver.verdict == DriverAudit::kMatches;
  synced.outcome = kSyncRestored;
  if (restored && (!afterRestart || runs)) {
    line.Append(HW_TEXT("restored"));
  } else {
    synced.outcome = afterRestart && restored ? kSyncRestoredAgain : kSyncFailed;
    AppendRestoreFailure(before, after, witness.message(), afterRestart, line);
  }
  AppendFlushResult(step, synced.flushed, line);
  return synced;
}

namespace {

// What the modules' lines found beyond their counts.
struct SyncFindings {
  bool bluetoothRestored;
  bool driverRestored;  // 3G or WiFi, whose drivers Device Manager lists
  bool restoredAgain;   // in the boot after a restart
  // A registry group's RegFlushKey failed other than as a RAM registry
  // without a store refuses (ERROR_NOT_SUPPORTED): a hive that did not take
  // it. A board that boots the hive as last flushed would lose the restore.
  long unkeptFlush;
};

// Counts one module's line, notes what it found, and writes the line and,
// for a module whose driver Device Manager lists, what runs.
void NoteModule(Module module, const SyncedModule& synced, TextLine& line, ResultOutput& out,
                ResultCounts* counts, SyncFindings* found) {
  const SyncOutcome outcome = synced.outcome;
  if (kCountOf[outcome] != ResultCounts::kCountKinds) {
    CountModule(kCountOf[outcome], module, counts);
  }
  counts->count[ResultCounts::kNotPermanent] += synced.flushed == kErrorSuccess ? 0 : 1;
  const long flushed = synced.flushed;
  if (module != kBluetooth && flushed != kErrorSuccess && flushed != kErrorNotSupported) {
    found->unkeptFlush = flushed;
  }
  const bool restored = outcome == kSyncRestored;
  found->bluetoothRestored = found->bluetoothRestored || (module == kBluetooth && restored);
  found->driverRestored = found->driverRestored || (module != kBluetooth && restored);
  found->restoredAgain = found->restoredAgain || outcome == kSyncRestoredAgain;
  out.Line(line);
  if (!synced.driver.judged) return;
  CountDriver(module, synced.driver, counts);
  line.Clear();
  AppendDriverLine(synced.driver, line);
  out.Line(line);
}

void SyncEachModule(Platform& os, EepromChannel& channel, bool afterRestart,
                    const DriverList& drivers, ResultOutput& out, ResultCounts* counts,
                    SyncFindings* found) {
  found->bluetoothRestored = false;
  found->driverRestored = false;
  found->restoredAgain = false;
  found->unkeptFlush = kErrorSuccess;
  for (size_t i = 0; i < kModuleCellCount; ++i) {
    const Module module = kModuleCells[i].module;
    if (!ProvisionsTheOs(module)) continue;
    TextLine line;
    const SyncedModule synced = SyncModule(os, channel, module, afterRestart, drivers, line);
    NoteModule(module, synced, line, out, counts, found);
  }
}

// Whether the WiFi cell calls for a driver set: then the boot's sync waits
// for the SD bus to load the card's driver before it judges what runs.
bool CallsForWifiDriver(EepromChannel& channel) {
  UInt8 value = 0;
  if (!channel.ReadCell(CellOf(kWifi).address, &value)) return false;
  const SelectionAction* row = SelectionWriting(kWifi, value);
  return row != NULL && TargetOf(row->step).kind == ProvisioningTarget::kWifiSet;
}

// "waited 1.6 s for the WiFi driver", when the sync waited at all.
void ExplainWait(UInt32 waited, const DriverList& drivers, ResultOutput& out) {
  if (waited == 0) return;
  TextLine line;
  line.Append(HW_TEXT("waited ")).AppendDecimal(waited / 1000).Append(HW_TEXT("."));
  line.AppendDecimal(waited % 1000 / 100).Append(HW_TEXT(" s for the WiFi driver"));
  if (!WifiDriverListed(drivers)) line.Append(HW_TEXT(", the longest it waits: none was listed"));
  out.Line(line);
}

// For a sync --restart that restored something: whether the terminal may
// restart now, and a line that says so or why not. False when it should and
// cannot, which fails the run.
bool PlanRestart(Platform& os, const ResultCounts& counts, const SyncFindings& found,
                 ResultOutput& out, bool* restartNow) {
  if (counts.count[ResultCounts::kUnreadable] > 0) {
    out.Line(
        HW_TEXT("no restart: a cell cannot be read, and the sync after a restart could not tell "
                "what it restored; the drivers load the restored values at the next boot"));
    return true;
  }
  TextLine why;
  if (found.unkeptFlush != kErrorSuccess) {
    why.Append(
        HW_TEXT("no restart: the restored values could not be made permanent (RegFlushKey "
                "failed with error "));
    why.AppendDecimal(static_cast<UInt32>(found.unkeptFlush));
    why.Append(
        HW_TEXT("), and a restart that boots the registry as last flushed would lose "
                "them; the drivers load them at the next boot that keeps them"));
    out.Line(why);
    return true;
  }
  if (!ReadyToRestart(os, found.bluetoothRestored, why)) {
    RemoveRestartMarker(os);
    out.Line(why);
    return false;
  }
  out.Line(counts.count[ResultCounts::kRestored] > 0
               ? HW_TEXT("restart: the terminal restarts now, so that the drivers load what was "
                         "restored")
               : HW_TEXT("restart: the terminal restarts now, so that the drivers load what the "
                         "registry holds"));
  *restartNow = true;
  return true;
}

// Whether the drivers need a restart to run what the OS now holds: a driver
// that runs is not the one the registry now names, or the Bluetooth file was
// restored (its stack reads it when it starts). Without Device Manager's
// list, whatever was restored.
bool RestartWanted(const ResultCounts& counts, const SyncFindings& found,
                   const DriverList& drivers) {
  if (found.bluetoothRestored || counts.restartPending > 0) return true;
  return drivers.result == kDriverListNotAvailable && found.driverRestored;
}

}  // namespace

int RunSync(Platform& os, EepromChannel& channel, bool restart, ResultOutput& out,
            ResultCounts* counts, bool* restartNow) {
  *restartNow = false;
  SystemTime restarted;
  const MarkerState marker = FindRestartMarker(os, &restarted);
  // A marker guards this one sync, whatever it finds: removed before it
  // restores anything, so that the boot after this one may restart again.
  if (marker != kNoMarker) RemoveRestartMarker(os);
  StartCounts(ResultCounts::kSync, counts);
  DriverList& drivers = RunDriverList();
  ExplainWait(ReadDriverList(os, CallsForWifiDriver(channel), &drivers), drivers, out);
  SyncFindings found;
  const bool guarded = marker == kMarkerFresh || marker == kMarkerAhead;
  SyncEachModule(os, channel, guarded, drivers, out, counts, &found);
  const UInt32* const count = counts->count;
  const UInt32 failing = count[ResultCounts::kFailed] + count[ResultCounts::kUnreadable];
  const bool wanted = !guarded && RestartWanted(*counts, found, drivers);
  if (!restart && wanted) {
    out.Line(count[ResultCounts::kRestored] > 0
                 ? HW_TEXT("the drivers load the restored values at the next boot (sync "
                           "--restart restarts the terminal for them)")
                 : HW_TEXT("the drivers load what the registry holds at the next boot (sync "
                           "--restart restarts the terminal for them)"));
  }
  if (restart && found.restoredAgain) ExplainNoRestart(marker, restarted, out);
  const bool planned = !restart || !wanted || PlanRestart(os, *counts, found, out, restartNow);
  return failing > 0 || !planned ? kExitFailed : kExitOk;
}

UInt32 RestartTerminal(Platform& os) {
  const UInt32 error = os.SetSystemPowerState(NULL, kPowerStateReset, kPowerForce);
  // A granted reset may still come after the bound: the marker stays for the
  // boot it brings, and expires on its own if it never comes. A refused one
  // brings no boot to guard.
  if (error == 0) {
    os.Sleep(kResetWaitMilliseconds);
  } else {
    RemoveRestartMarker(os);
  }
  return error;
}

}  // namespace hw
