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
  kIgnored,  // answers success and does nothing, as a board may
  kLate      // answers success, and the reset comes only when the program has ended
};

// What CeFsIoControl's FSCTL_FLUSH_BUFFERS does on the flash volume.
enum class VolumeFlush {
  kWorks,        // every write the volume's cache holds reaches the volume
  kUnsupported,  // fails with ERROR_NOT_SUPPORTED, as a file system without it
  kFails         // fails with ERROR_WRITE_FAULT, as a volume that cannot be written
};

// The faults device.ini asks for, a field a key, each with its values.
// Defaults: a healthy terminal.
struct DeviceConfig {
  // [EOM1]
  // max_opens: simultaneous "EOM1:" handles allowed, a decimal count.
  std::optional<std::uint32_t> maxOpens;
  bool nullHandle = false;    // null_handle = yes: a successful open yields handle 0
  CellSet failRead;           // fail_read: reads report failure
  CellSet failWrite;          // fail_write: writes report failure, cell unchanged
  CellSet readStoresNothing;  // read_stores_nothing: reads succeed and store no byte
  // [registry]
  // deny: paths under HKEY_LOCAL_MACHINE, UTF-8. A listed key is refused
  // itself; its subkeys are not.
  std::vector<std::string> deniedKeys;
  RegistryPersistence persistence = RegistryPersistence::kHive;  // persistence = hive | ram
  // [files]
  // flash_free_bytes: budget for writes under "\Flash Disk", a decimal count.
  std::optional<std::uint64_t> flashFreeBytes;
  // cache = write-back: writes under "\Flash Disk" stay in the FAT cache
  // until flushed, and a reset loses them; write-through (the default):
  // every write is on the volume at once.
  bool writeBack = false;
  // volume flush = works (the default) | unsupported | fails
  VolumeFlush volumeFlush = VolumeFlush::kWorks;
  // [power]
  ResetKind reset = ResetKind::kAllowed;  // reset = allowed | refused | ignored | late
  // longest_sleep_ms: a Sleep lasts at most this long, a decimal count.
  std::optional<std::uint32_t> longestSleepMs;
  // [boot]
  // object store = cleared at every boot: a board whose OAL calls
  // NKForceCleanBoot, so every warm reset clears the object store, and a RAM
  // registry with it; kept (the default): it survives a warm reset.
  bool objectStoreCleared = false;
  std::string bootMerge;  // merge: a .reg of the terminal folder that scripts/boot merges
  // (clock after cold boot = YYYY-MM-DD HH:MM:SS: read by scripts/cold-boot,
  // checked here.)
  // [sdio]
  // card = 4319 | 4329 (the default) | none: the WiFi card on the SD bus, by
  // the id its client driver's key is spelled with; empty: none is fitted.
  std::string sdioCard = "4329";
  // load delay ms: how long after a boot the card's driver loads, as the SD
  // bus waits before it enumerates a card; a decimal count.
  std::uint32_t sdioLoadDelayMs = 500;
  // [drivers]
  // init fails: names of driver keys (HCD_HSH1) whose driver's Init fails, so
  // that Device Manager leaves it out of its list.
  std::vector<std::string> failingInits;
  // list = unavailable: a terminal without FindFirstDevice, whose list of
  // drivers cannot be read; available (the default).
  bool driverListUnavailable = false;
  // [terminal]
  // uuid: the UUID IOCTL_HAL_GET_DEVICE_INFO answers for SPI_GETUUID, 32 hex
  // digits. Empty: the request fails, as on an OEM layer without it.
  std::vector<std::uint8_t> uuid;
  // id: the id IOCTL_HAL_GET_DEVICEID answers as its platform id, hex digits,
  // two a byte (1 to kMaxDeviceIdBytes). none, empty: the request fails, as
  // on an image whose OEM layer lacks it.
  std::vector<std::uint8_t> deviceId = DefaultDeviceId();
  // preset id: its preset id, the platform's name, the same on every unit.
  std::vector<std::uint8_t> presetId;

  static std::vector<std::uint8_t> DefaultDeviceId() {
    return {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF};
  }
};

// The longest id device.ini may give.
inline constexpr std::size_t kMaxDeviceIdBytes = 256;

// Parses device.ini from its bytes. Section and key names ignore case; an
// unknown section or key, a repeated key or a value that does not parse fails
// with its line, so a typo never passes for a healthy terminal. Each key is a
// row of DeviceConfig.cpp, which names the values it takes.
//
// Lists are tokens separated by spaces, tabs or commas; a token that holds a
// space or a comma is written in double quotes. A cell address is "0xNN"
// (one or two hex digits), or "all" for every cell; an empty list names no
// cell. A key path may start with "HKEY_LOCAL_MACHINE\".
bool ParseDeviceConfig(std::string_view text, DeviceConfig* config, ParseError* error);

}  // namespace hw::sim
