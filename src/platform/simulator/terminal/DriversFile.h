#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/simulator/ParseError.h"

namespace hw::sim {

// drivers.txt in the terminal folder: what Device Manager loaded at the
// terminal's last boot. A boot (a warm reset the simulator records,
// scripts/cold-boot, scripts/boot after its merge, scripts/new-terminal)
// writes its first two lines; the simulator's next start loads the drivers
// and writes the rest. Times are the terminal's clock, in UTC:
//
//   booted 2026-12-08 14:02:11.250 UTC
//   not loaded yet
//
// and once loaded, a line a driver in the order it loaded, then a comment
// for each driver the boot left out:
//
//   booted 2026-12-08 14:02:11.250 UTC
//   HCD1: loaded 2026-12-08 14:02:11.250 UTC from Drivers\BuiltIn\HCD_HSH1
//   SSI1: loaded 2026-12-08 14:02:11.750 UTC from \Drivers\SDCARD\...-FUNC-1
//   ; left out: ...
//
// A driver without a Prefix has no legacy name: "(unnamed)". Lines that
// begin with ';' and blank lines are comments.
inline constexpr char kDriversFileName[] = "drivers.txt";

// One driver Device Manager loaded.
struct BootDriver {
  std::string legacyName;  // "HCD1:"; empty for a driver without a Prefix
  std::string deviceKey;   // as passed to ActivateDeviceEx
  std::int64_t loadedAtMs = 0;
};

struct BootRecord {
  std::int64_t bootedAtMs = 0;  // milliseconds since 1970, UTC
  bool loaded = false;          // false: booted, the drivers not loaded yet
  std::vector<BootDriver> drivers;
  std::vector<std::string> leftOut;  // why each other driver was not loaded
};

// False with the line and the reason when the text is not such a file.
bool ParseDriversFile(std::string_view text, BootRecord* record, ParseError* error);
std::string FormatDriversFile(const BootRecord& record);
// Writes a boot at `bootedAtMs` whose drivers are not loaded yet.
bool MarkBooted(const std::filesystem::path& folder, std::int64_t bootedAtMs);

}  // namespace hw::sim
