#include "provision/Restart.h"

#include "provision/ExitCodes.h"
#include "provision/RestartMarker.h"
#include "provision/Sync.h"

namespace hw {

namespace {

// Why the terminal did not restart, and the result line that says how.
const Char* RestartWithoutReset(Platform& os, TextLine& line) {
  const UInt32 error = RestartTerminal(os);
  if (error != 0) {
    line.Append(HW_TEXT("restart refused: SetSystemPowerState failed with error "));
    line.AppendDecimal(error);
    return HW_TEXT("result: restart refused (exit 1)");
  }
  line.Append(
      HW_TEXT("restart did not come: SetSystemPowerState succeeded, but the terminal "
              "still ran "));
  line.AppendDecimal(kResetWaitMilliseconds / 1000).Append(HW_TEXT(" s later"));
  return HW_TEXT("result: restart did not come (exit 1)");
}

}  // namespace

int RestartAfterRun(Platform& os, const CommandLine& command, ResultOutput& out, RunLog& log,
                    Ending& end, int exit) {
  const bool logKept = command.logFile == NULL || log.Flush();
  const bool outKept = !out.FileFailed() && out.Flush();
  TextLine line;
  const Char* result = HW_TEXT("result: restart called off (exit 1)");
  if (!outKept || !logKept) {
    RemoveRestartMarker(os);
    line.Append(HW_TEXT("restart called off: "));
    line.Append(outKept ? command.logFile : command.outFile);
    line.Append(HW_TEXT(" is not whole on its volume"));
  } else {
    result = RestartWithoutReset(os, line);
  }
  line.Append(HW_TEXT("; the drivers load the restored values at the next boot"));
  Explain(line.text(), out, end);
  line.Clear().Append(result);
  out.Result(line);
  if (command.logFile != NULL && exit == kExitOk) {
    const LogResult logged = log.Replace(EntryOf(command, end, kExitFailed));
    if (logged != kLogged) ExplainLogFailure(command.logFile, logged, out, end);
  }
  return kExitFailed;
}

}  // namespace hw
