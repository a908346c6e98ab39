#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>

#include "platform/Platform.h"
#include "platform/simulator/files/TerminalFiles.h"
#include "platform/simulator/terminal/DeviceConfig.h"

namespace hw::sim {

// The terminal's clock file: the seconds its clock is ahead of the
// desktop's (negative: behind), one decimal number. Absent: the desktop's
// clock. scripts/set-clock writes it, and scripts/cold-boot does for a
// board whose clock a cold boot puts back ([boot] clock after cold boot).
inline constexpr char kClockFileName[] = "clock.txt";
// A line for each warm reset a program asked for and was granted.
inline constexpr char kRestartLogName[] = "restarts.log";

// The terminal's clock, as its clock file moves it.
class TerminalClock {
 public:
  explicit TerminalClock(std::filesystem::path folder) : folder_(std::move(folder)) {}
  void Utc(SystemTime* time) const;
  void Local(SystemTime* time) const;
  std::int64_t UtcMilliseconds() const;  // since 1970

 private:
  std::chrono::system_clock::time_point Now() const;
  std::filesystem::path folder_;
};

// What a warm reset and the waits of a program do on the terminal:
//  - a granted reset is a line in restarts.log (the terminal's local time);
//    then the flash cache loses what it still held, and, on a board that
//    clears the object store at every boot, the object store is emptied
//    and the registry comes back as from a cold boot (a hive as last
//    flushed, a RAM registry as the image's, registry.factory.reg); the
//    terminal has booted, its drivers not loaded yet (drivers.txt): the
//    next start of the simulator loads them from the registry it then
//    finds, after scripts/boot's merge; then `end` ends the program, as
//    the reset does;
//  - [power] reset = refused fails with ERROR_ACCESS_DENIED, = ignored
//    answers success and does nothing, = late answers success and lets the
//    program go on: the reset, with all the above but the program's end,
//    comes when the program has ended (AtProgramEnd), as on a board whose
//    power manager resets later than any program waits for it;
//  - a Sleep lasts at most [power] longest_sleep_ms.
class TerminalBoot {
 public:
  TerminalBoot(std::filesystem::path folder, const DeviceConfig& config, const TerminalFiles& files)
      : folder_(std::move(folder)), config_(config), files_(files), clock_(folder_) {}

  UInt32 WarmReset(const std::function<void()>& end);
  // The program has ended, its handles closed: a late reset comes now.
  void AtProgramEnd();
  void Sleep(UInt32 milliseconds) const;
  const TerminalClock& clock() const { return clock_; }

 private:
  bool Reset() const;
  bool ClearObjectStore() const;

  std::filesystem::path folder_;
  const DeviceConfig& config_;
  const TerminalFiles& files_;
  TerminalClock clock_;
  bool resetAtEnd_ = false;  // a late reset was granted
};

}  // namespace hw::sim
