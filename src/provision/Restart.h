#pragma once

#include "platform/Platform.h"
#include "provision/CommandLine.h"
#include "provision/Ending.h"
#include "provision/Log.h"
#include "provision/ResultOutput.h"

namespace hw {

// Restarts the terminal once the run's own files (the result files, the log
// and its line) are whole on their volume: a reset drops what the file
// system still caches. Returns only when the terminal did not restart:
// refused, called off, or granted but not come. Then the lines after the
// result line say why, the marker goes, and the log's line takes the run's
// real exit code, 1, which this returns.
int RestartAfterRun(Platform& os, const CommandLine& command, ResultOutput& out, RunLog& log,
                    Ending& end, int exit);

}  // namespace hw
