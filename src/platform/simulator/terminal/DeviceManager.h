#pragma once

#include <cstdint>
#include <filesystem>

#include "platform/Platform.h"
#include "platform/simulator/registry/RegistryFile.h"
#include "platform/simulator/terminal/DeviceConfig.h"
#include "platform/simulator/terminal/DriversFile.h"
#include "platform/simulator/terminal/TerminalBoot.h"

namespace hw::sim {

// CE's Device Manager, as far as the tool asks it which driver runs. At
// each boot it loads, from the registry as that boot has it:
//  - the USB host controller's built-in driver, Drivers\BuiltIn\HCD_HSH1,
//    before any program starts;
//  - the client driver of the SDIO WiFi card that is fitted ([sdio] card),
//    from its key Drivers\SDCARD\ClientDrivers\Custom\MANF-02D0-CARDID-
//    <card>-FUNC-1, [sdio] load delay ms after the boot, as the SD bus waits
//    before it enumerates a card;
// each only when its key's Dll is a file of \Windows (its name compared
// without case, as CE's loader looks it up) and its Init succeeds (the key
// is not in [drivers] init fails). A driver that did not load is not
// listed. Its legacy name is its Prefix and Index ("HCD1:", Index 1 when
// the key has none), its device name "$device\HCD1", its device key the
// key as passed to ActivateDeviceEx: a built-in driver's without a leading
// backslash, a bus client's with one.
//
// What the boot loaded is kept in drivers.txt, so a registry changed after
// the boot changes nothing here until the next boot.
class DeviceManager {
 public:
  DeviceManager(const DeviceConfig& config, const TerminalClock& clock, BootRecord boot)
      : config_(config), clock_(clock), boot_(std::move(boot)) {}

  // The boot's drivers as FindFirstDevice lists them now: the card's once
  // its delay is past on the terminal's clock (or the clock was set back
  // behind the boot). [drivers] list = unavailable: not available.
  DriverListResult List(LoadedDriver* drivers, UInt32 capacity, UInt32* count) const;

 private:
  const DeviceConfig& config_;
  const TerminalClock& clock_;
  BootRecord boot_;
};

// Loads the drivers of `record`'s boot, as above, from `registry` and the
// files of `windows`, the terminal's \Windows.
void LoadBootDrivers(const std::filesystem::path& windows, const DeviceConfig& config,
                     const RegistryFile& registry, BootRecord* record);

}  // namespace hw::sim
