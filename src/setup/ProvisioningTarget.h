#pragma once

#include "setup/RegistryProvisioning.h"
#include "setup/SelectionTable.h"

namespace hw {

// What a provisioning step of the selection table does to the OS. The presses
// run the step from this, and a check of a press's effect reads it from here
// too, so the two cannot disagree.
struct ProvisioningTarget {
  enum Kind { kNothing, kUsbHost, kWifiSet, kPsConfigFile };
  Kind kind;
  UsbHostDriver usbHost;       // kUsbHost
  WifiDriverSet wifiSet;       // kWifiSet
  const Char* psConfigSource;  // kPsConfigFile: installed as kPsConfigDestination
};

ProvisioningTarget TargetOf(Provisioning step);

}  // namespace hw
