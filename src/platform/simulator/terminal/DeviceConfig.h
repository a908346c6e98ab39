#pragma once

#include <bitset>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/simulator/ParseError.h"

namespace hw::sim {

// One bit per EEPROM cell address.
using CellSet = std::bitset<256>;

// Where the registry keeps what RegFlushKey writes: a hive file in flash,
// or nowhere (a RAM registry whose image gave it no persistent store).
enum class RegistryPersistence { kHive, kRam };

// What SetSystemPowerState does with a warm reset it is asked for.
enum class ResetKind {
  kAllowed,  // resets: the program ends
  kRefused,  // fails with ERROR_ACCESS_DENIED
  kIgnored   // answers success and does nothing, as a board may
};

// The faults device.ini asks for. Defaults: a healthy terminal.
struct DeviceConfig {
  // [EOM1]
  std::optional<std::uint32_t> maxOpens;  // simultaneous "EOM1:" handles allowed
  bool nullHandle = false;                // a successful open yields handle 0
  CellSet failRead;                       // reads report failure
  CellSet failWrite;                      // writes report failure, cell unchanged
  CellSet readStoresNothing;              // reads succeed and store no byte
  // [registry]
  std::vector<std::string> deniedKeys;  // paths under HKEY_LOCAL_MACHINE, UTF-8
  RegistryPersistence persistence = RegistryPersistence::kHive;
  // [files]
  std::optional<std::uint64_t> flashFreeBytes;  // budget for writes under "\Flash Disk"
  // Writes under "\Flash Disk" stay in the FAT cache until flushed, and a
  // reset loses them; else every write is on the volume at once.
  bool writeBack = false;
  // [power]
  ResetKind reset = ResetKind::kAllowed;
  std::optional<std::uint32_t> longestSleepMs;  // a Sleep lasts at most this long
  // [boot]
  // A board whose OAL calls NKForceCleanBoot: every warm reset clears the
  // object store, and a RAM registry with it.
  bool objectStoreCleared = false;
  std::string bootMerge;  // a .reg of the terminal folder that scripts/boot merges
  // (clock after cold boot: read by scripts/cold-boot, checked here.)
  // [terminal]
  // The UUID IOCTL_HAL_GET_DEVICE_INFO answers for SPI_GETUUID. Empty: the
  // request fails, as on an OEM layer without it.
  std::vector<std::uint8_t> uuid;
  // The id IOCTL_HAL_GET_DEVICEID answers as its platform id. Empty: the
  // request fails, as on an image whose OEM layer lacks it.
  std::vector<std::uint8_t> deviceId = DefaultDeviceId();
  // Its preset id: the platform's name, the same on every unit.
  std::vector<std::uint8_t> presetId;

  static std::vector<std::uint8_t> DefaultDeviceId() {
    return {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF};
  }
};

// The longest id device.ini may give.
inline constexpr std::size_t kMaxDeviceIdBytes = 256;

// Parses device.ini from its bytes. Section and key names ignore case; an
// unknown section or key, a repeated key or a value that does not parse fails
// with its line, so a typo never passes for a healthy terminal.
//
// Address lists are tokens separated by spaces, tabs or commas: "0xNN" (one or
// two hex digits) or "all". An empty list names no cell.
// `deny` is a list of key paths separated the same way; a path that holds a
// space or a comma is written in double quotes. A path may start with
// "HKEY_LOCAL_MACHINE\". A listed key is refused itself; its subkeys are not.
// `persistence` is "hive" or "ram"; `cache` "write-through" or "write-back";
// `reset` "allowed", "refused" or "ignored"; `longest_sleep_ms` a decimal
// count; [boot] `object store` "kept" or "cleared at every boot", `merge` a
// file name, `clock after cold boot` "YYYY-MM-DD HH:MM:SS".
// `id` is the device id in hex digits, two a byte (1 to kMaxDeviceIdBytes
// bytes), or "none"; `preset id` the same, without "none"; `uuid` is 32 hex
// digits.
bool ParseDeviceConfig(std::string_view text, DeviceConfig* config, ParseError* error);

}  // namespace hw::sim
