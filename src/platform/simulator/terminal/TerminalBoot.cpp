#include "platform/simulator/terminal/TerminalBoot.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <system_error>
#include <thread>

#include "platform/simulator/Win32Errors.h"
#include "platform/simulator/files/FileIo.h"
#include "platform/simulator/files/TerminalPath.h"
#include "platform/simulator/registry/TerminalRegistry.h"
#include "platform/simulator/terminal/DriversFile.h"

namespace hw::sim {

namespace fs = std::filesystem;
using std::chrono::system_clock;

namespace {

std::tm Broken(std::time_t when, bool local) {
  std::tm t{};
#ifdef _WIN32
  local ? localtime_s(&t, &when) : gmtime_s(&t, &when);
#else
  local ? localtime_r(&when, &t) : gmtime_r(&when, &t);
#endif
  return t;
}

void Fill(system_clock::time_point when, bool local, SystemTime* time) {
  const std::tm t = Broken(system_clock::to_time_t(when), local);
  time->year = static_cast<UInt16>(t.tm_year + 1900);
  time->month = static_cast<UInt16>(t.tm_mon + 1);
  time->dayOfWeek = static_cast<UInt16>(t.tm_wday);
  time->day = static_cast<UInt16>(t.tm_mday);
  time->hour = static_cast<UInt16>(t.tm_hour);
  time->minute = static_cast<UInt16>(t.tm_min);
  time->second = static_cast<UInt16>(t.tm_sec);
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(when.time_since_epoch());
  time->milliseconds = static_cast<UInt16>(ms.count() % 1000);
}

// "2026-12-08 14:02:11 warm reset", in the terminal's local time.
std::string RestartLine(const TerminalClock& clock) {
  SystemTime t;
  clock.Local(&t);
  char stamp[96];
  std::snprintf(stamp, sizeof stamp, "%04u-%02u-%02u %02u:%02u:%02u warm reset\r\n", t.year,
                t.month, t.day, t.hour, t.minute, t.second);
  return stamp;
}

}  // namespace

system_clock::time_point TerminalClock::Now() const {
  std::string text;
  long long ahead = 0;
  if (ReadWholeFile(folder_ / kClockFileName, &text) == ReadResult::kRead) {
    ahead = std::strtoll(text.c_str(), nullptr, 10);
  }
  return system_clock::now() + std::chrono::seconds(ahead);
}

void TerminalClock::Utc(SystemTime* time) const {
  Fill(Now(), false, time);
}

void TerminalClock::Local(SystemTime* time) const {
  Fill(Now(), true, time);
}

std::int64_t TerminalClock::UtcMilliseconds() const {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Now().time_since_epoch()).count();
}

UInt32 TerminalBoot::WarmReset(const std::function<void()>& end) {
  switch (config_.reset) {
    case ResetKind::kRefused: return kErrorAccessDenied;
    case ResetKind::kIgnored: return kErrorSuccess;
    case ResetKind::kLate: resetAtEnd_ = true; return kErrorSuccess;
    case ResetKind::kAllowed: break;
  }
  if (!Reset()) return kErrorWriteFault;
  end();
  return kErrorSuccess;
}

void TerminalBoot::AtProgramEnd() {
  if (resetAtEnd_) Reset();
  resetAtEnd_ = false;
}

// The reset recorded, then what it does to the terminal's memory.
bool TerminalBoot::Reset() const {
  if (!AppendToFile(folder_ / kRestartLogName, RestartLine(clock_))) return false;
  files_.Reset();
  if (config_.objectStoreCleared && !ClearObjectStore()) return false;
  return MarkBooted(folder_, clock_.UtcMilliseconds());
}

// The object store is RAM, and so is the registry until a hive's flush: a
// board that does not keep RAM boots as from cold. A hive comes back as last
// flushed, a RAM registry as the image has it.
bool TerminalBoot::ClearObjectStore() const {
  std::error_code ec;
  fs::remove_all(folder_ / kObjectStoreFolder, ec);
  if (ec) return false;
  const fs::path registry = folder_ / "registry.reg";
  const fs::path flushed = folder_ / kFlushedRegistryName;
  if (config_.persistence == RegistryPersistence::kHive) {
    if (fs::exists(flushed, ec)) fs::rename(flushed, registry, ec);
    return !ec;
  }
  std::string image;
  if (ReadWholeFile(folder_ / kFactoryRegistryName, &image) != ReadResult::kRead) return false;
  fs::remove(flushed, ec);
  return ReplaceFileAtomically(registry, image);
}

void TerminalBoot::Sleep(UInt32 milliseconds) const {
  const UInt32 longest = config_.longestSleepMs.value_or(milliseconds);
  std::this_thread::sleep_for(std::chrono::milliseconds(std::min(milliseconds, longest)));
}

}  // namespace hw::sim
