#include "provision/Restart.h"

#include "provision/ExitCodes.h"
#include "provision/RestartMarker.h"
#include "provision/ResultCounts.h"
#include "provision/Sync.h"

namespace hw {

namespace {

const Char kFlashVolume[] = HW_TEXT("\\Flash Disk");

// FlushFileBuffers commits a file and its entry in the folder; the FAT's own
// sectors may still sit in a write-back cache, which the reset drops.
// FSCTL_FLUSH_BUFFERS writes every buffer of the volume. A file system
// without the request answers ERROR_NOT_SUPPORTED (CeFsIoControl's page), or
// ERROR_INVALID_FUNCTION as a driver does for a request it does not know:
// then the file flushes are all there is. Any other failure is the error.
UInt32 FlushFlashVolume(Platform& os) {
  UInt32 returned = 0;
  if (os.CeFsIoControl(kFlashVolume, kFsctlFlushBuffers, NULL, 0, NULL, 0, &returned, NULL)) {
    return 0;
  }
  const UInt32 error = os.GetLastError();
  if (error == static_cast<UInt32>(kErrorNotSupported)) return 0;
  if (error == static_cast<UInt32>(kErrorInvalidFunction)) return 0;
  return error != 0 ? error : static_cast<UInt32>(kErrorWriteFault);
}

// Why the terminal did not restart, and the result line that says how.
const Char* RestartWithoutReset(Platform& os, TextLine& line) {
  const UInt32 error = RestartTerminal(os);
  if (error != 0) {
    line.Append(HW_TEXT("restart refused: SetSystemPowerState failed with error "));
    line.AppendDecimal(error);
    return HW_TEXT("result: restart refused");
  }
  line.Append(
      HW_TEXT("restart did not come: SetSystemPowerState succeeded, but the terminal "
              "still ran "));
  line.AppendDecimal(kResetWaitMilliseconds / 1000).Append(HW_TEXT(" s later; the marker stays, "));
  line.Append(HW_TEXT("so that the boot a late reset brings does not restart again"));
  return HW_TEXT("result: restart did not come");
}

}  // namespace

int RestartAfterRun(Platform& os, const CommandLine& command, ResultOutput& out, RunLog& log,
                    Ending& end, int exit) {
  const bool logKept = command.logFile == NULL || log.Flush();
  const bool outKept = !out.FileFailed() && out.Flush();
  TextLine line;
  const Char* result = HW_TEXT("result: restart called off");
  const UInt32 volumeError = outKept && logKept ? FlushFlashVolume(os) : 0;
  if (!outKept || !logKept) {
    RemoveRestartMarker(os);
    line.Append(HW_TEXT("restart called off: "));
    line.Append(outKept ? command.logFile : command.outFile);
    line.Append(HW_TEXT(" is not whole on its volume"));
  } else if (volumeError != 0) {
    RemoveRestartMarker(os);
    line.Append(HW_TEXT("restart called off: the volume "));
    line.Append(kFlashVolume).Append(HW_TEXT(" cannot be flushed (CeFsIoControl "));
    line.Append(HW_TEXT("FSCTL_FLUSH_BUFFERS failed with error ")).AppendDecimal(volumeError);
    line.Append(HW_TEXT(")"));
  } else {
    result = RestartWithoutReset(os, line);
  }
  line.Append(HW_TEXT("; the drivers load the restored values at the next boot"));
  Explain(line.text(), out, end);
  line.Clear().Append(result);
  AppendExitCode(kExitFailed, line);
  out.Result(line);
  if (command.logFile != NULL && exit == kExitOk) {
    const LogResult logged = log.Replace(EntryOf(command, end, false, kExitFailed));
    if (logged != kLogged) ExplainLogFailure(command.logFile, log, logged, out, end);
  }
  return kExitFailed;
}

}  // namespace hw
