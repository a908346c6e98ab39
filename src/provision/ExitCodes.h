#pragma once

namespace hw {

// HWProvision's exit codes, for the scripts that run it.
enum ExitCode {
  kExitOk = 0,
  kExitFailed = 1,       // an item failed, a cell could not be read, a file not written
  kExitRefused = 2,      // usage error, refused profile, unusable file: nothing touched
  kExitNoDevice = 3,     // "EOM1:" does not open: nothing touched
  kExitInconsistent = 4  // report: some module's cell and OS disagree
};

}  // namespace hw
