#include "provision/Sync.h"

#include "provision/ExitCodes.h"
#include "provision/PressWitness.h"
#include "provision/Report.h"
#include "provision/Selections.h"
#include "setup/ApplySelection.h"
#include "setup/PsConfigInstall.h"

namespace hw {

const Char kRestartMarker[] = HW_TEXT("\\HWProvision.restart");

namespace {

const char kMarkerText[] =
    "HWProvision sync restarted the terminal to load the driver values it restored.\r\n"
    "The next sync that finds nothing to restore removes this file.\r\n";

// What the result line counts of each SyncOutcome; kCountKinds: nothing.
const ResultCounts::Count kCountOf[] = {ResultCounts::kConsistent, ResultCounts::kRestored,
                                        ResultCounts::kCountKinds, ResultCounts::kCountKinds,
                                        ResultCounts::kUnreadable, ResultCounts::kFailed};
HW_STATIC_ASSERT(HW_COUNT_OF(kCountOf) == kSyncFailed + 1, a_count_per_outcome);

bool MarkerPresent(Platform& os) {
  const Handle file =
      os.CreateFile(kRestartMarker, kGenericRead, kFileShareRead, NULL, kOpenExisting, 0, 0);
  if (file == kInvalidHandleValue) return false;
  os.CloseHandle(file);
  return true;
}

bool WriteMarker(Platform& os) {
  const Handle file = os.CreateFile(kRestartMarker, kGenericWrite, 0, NULL, kCreateAlways, 0, 0);
  if (file == kInvalidHandleValue) return false;
  const UInt32 size = sizeof kMarkerText - 1;
  UInt32 written = 0;
  os.WriteFile(file, kMarkerText, size, &written, NULL);
  const bool flushed = os.FlushFileBuffers(file) != 0;
  os.CloseHandle(file);
  return written == size && flushed;
}

// The marker as the next boot's sync will find it: every byte, and no more.
bool MarkerReadsBack(Platform& os) {
  const Handle file =
      os.CreateFile(kRestartMarker, kGenericRead, kFileShareRead, NULL, kOpenExisting, 0, 0);
  if (file == kInvalidHandleValue) return false;
  char text[sizeof kMarkerText];
  UInt32 read = 0;
  const bool whole =
      os.ReadFile(file, text, sizeof text, &read, NULL) != 0 && read == sizeof kMarkerText - 1;
  os.CloseHandle(file);
  for (UInt32 i = 0; whole && i < read; ++i) {
    if (text[i] != kMarkerText[i]) return false;
  }
  return whole;
}

// A restored Bluetooth file may still sit in the flash file system's cache,
// which the reset would drop.
bool FlushInstalledFile(Platform& os) {
  const Handle file =
      os.CreateFile(kPsConfigDestination, kGenericWrite, 0, NULL, kOpenExisting, 0, 0);
  if (file == kInvalidHandleValue) return false;
  const bool flushed = os.FlushFileBuffers(file) != 0;
  os.CloseHandle(file);
  return flushed;
}

// Whether the terminal may restart: what was restored is on its volume, and
// the marker that stops a second restart reads back. If not, says why.
bool ReadyToRestart(Platform& os, bool bluetoothRestored, TextLine& why) {
  if (bluetoothRestored && !FlushInstalledFile(os)) {
    why.Append(kPsConfigDestination)
        .Append(HW_TEXT(" cannot be flushed: the terminal is not restarted, lest the reset "
                        "lose it"));
    return false;
  }
  const bool written = WriteMarker(os);
  if (written && MarkerReadsBack(os)) return true;
  why.Append(kRestartMarker)
      .Append(written ? HW_TEXT(" does not read back as written") : HW_TEXT(" cannot be written"))
      .Append(HW_TEXT(": the terminal is not restarted, lest it restart again and again"));
  return false;
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

SyncOutcome SyncModule(Platform& os, EepromChannel& channel, Module module, bool afterRestart,
                       TextLine& line, bool* madePermanent) {
  *madePermanent = true;
  ModuleAudit before;
  AuditModule(os, channel, module, &before);
  AppendCellColumns(before, line);
  switch (before.verdict) {
    case ModuleAudit::kConsistent: line.Append(HW_TEXT("consistent")); return kSyncConsistent;
    case ModuleAudit::kNotManaged: line.Append(HW_TEXT("not managed")); return kSyncNotManaged;
    case ModuleAudit::kUnknownValue:
      line.Append(HW_TEXT("left alone: no button writes ")).AppendHexByte(before.value);
      return kSyncLeftAlone;
    case ModuleAudit::kCellUnreadable:
    case ModuleAudit::kNoVerdict:
      line.Append(HW_TEXT("left alone: the cell cannot be read"));
      return kSyncUnreadable;
    case ModuleAudit::kInconsistent: break;
  }
  PressWitness witness;
  const long flushed =
      RunProvisioningStep(os, SelectionWriting(module, before.value)->step, witness);
  ModuleAudit after;
  AuditModule(os, channel, module, &after);
  SyncOutcome outcome = kSyncRestored;
  if (!afterRestart && witness.message() == NULL && after.verdict == ModuleAudit::kConsistent) {
    line.Append(HW_TEXT("restored"));
  } else {
    outcome = kSyncFailed;
    AppendRestoreFailure(before, after, witness.message(), afterRestart, line);
  }
  *madePermanent = AppendFlushResult(flushed, line);
  return outcome;
}

int RunSync(Platform& os, EepromChannel& channel, bool restart, ResultOutput& out,
            ResultCounts* counts, bool* restartNow) {
  *restartNow = false;
  const bool afterRestart = MarkerPresent(os);
  StartCounts(ResultCounts::kSync, counts);
  UInt32* const count = counts->count;
  bool bluetoothRestored = false;
  for (size_t i = 0; i < kModuleCellCount; ++i) {
    const Module module = kModuleCells[i].module;
    if (!ProvisionsTheOs(module)) continue;
    TextLine line;
    bool madePermanent = true;
    const SyncOutcome outcome = SyncModule(os, channel, module, afterRestart, line, &madePermanent);
    if (kCountOf[outcome] != ResultCounts::kCountKinds)
      CountModule(kCountOf[outcome], module, counts);
    count[ResultCounts::kNotPermanent] += madePermanent ? 0 : 1;
    bluetoothRestored = bluetoothRestored || (module == kBluetooth && outcome == kSyncRestored);
    out.Line(line);
  }
  const UInt32 unsettled = count[ResultCounts::kRestored] + count[ResultCounts::kFailed] +
                           count[ResultCounts::kUnreadable];
  int exit = count[ResultCounts::kFailed] + count[ResultCounts::kUnreadable] > 0 ? kExitFailed
                                                                                 : kExitOk;
  if (afterRestart && unsettled == 0) os.DeleteFile(kRestartMarker);
  if (!restart && count[ResultCounts::kRestored] > 0) {
    out.Line(
        HW_TEXT("the drivers load the restored values at the next boot (sync --restart "
                "restarts the terminal for them)"));
  }
  if (restart && count[ResultCounts::kRestored] > 0 && exit == kExitOk) {
    TextLine why;
    if (ReadyToRestart(os, bluetoothRestored, why)) {
      out.Line(
          HW_TEXT("restart: the terminal restarts now, so that the drivers load what was "
                  "restored"));
      *restartNow = true;
    } else {
      CancelRestart(os);
      out.Line(why);
      exit = kExitFailed;
    }
  }
  return exit;
}

UInt32 RestartTerminal(Platform& os) {
  const UInt32 error = os.SetSystemPowerState(NULL, kPowerStateReset, kPowerForce);
  // Success that returns is a reset under way: the marker must outlive it.
  if (error != 0) CancelRestart(os);
  return error;
}

void CancelRestart(Platform& os) {
  os.DeleteFile(kRestartMarker);
}

}  // namespace hw
