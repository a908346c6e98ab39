#include "provision/Restart.h"

#include "provision/ExitCodes.h"
#include "provision/Sync.h"

namespace hw {

int RestartAfterRun(Platform& os, const CommandLine& command, ResultOutput& out, RunLog& log,
                    Ending& end, int exit) {
  const bool logKept = command.logFile == NULL || (exit == kExitOk && log.Flush());
  const bool outKept = !out.FileFailed() && out.Flush();
  const bool calledOff = !outKept || !logKept;
  TextLine line;
  if (calledOff) {
    CancelRestart(os);
    line.Append(HW_TEXT("restart called off: "));
    line.Append(outKept ? command.logFile : command.outFile);
    line.Append(HW_TEXT(" is not whole on its volume"));
  } else {
    const UInt32 error = RestartTerminal(os);
    if (error == 0) return kExitOk;
    line.Append(HW_TEXT("restart refused: SetSystemPowerState failed with error "));
    line.AppendDecimal(error);
  }
  line.Append(HW_TEXT("; the drivers load the restored values at the next boot"));
  Explain(line.text(), out, end);
  line.Clear().Append(calledOff ? HW_TEXT("result: restart called off (exit 1)")
                                : HW_TEXT("result: restart refused (exit 1)"));
  out.Result(line);
  if (command.logFile != NULL && exit == kExitOk) {
    const LogResult logged = log.Replace(EntryOf(command, end, kExitFailed));
    if (logged != kLogged) ExplainLogFailure(command.logFile, logged, out, end);
  }
  return kExitFailed;
}

}  // namespace hw
