#include "setup/ApplySelection.h"

#include "eeprom/RefreshCell.h"
#include "setup/ProvisioningTarget.h"
#include "setup/PsConfigInstall.h"

namespace hw {

long RunProvisioningStep(Platform& os, Provisioning step, MessageBoxOwner& owner) {
  const ProvisioningTarget target = TargetOf(step);
  switch (target.kind) {
    case ProvisioningTarget::kNothing: break;
    case ProvisioningTarget::kUsbHost: return UsbHostDriverSwitch(os, target.usbHost);
    case ProvisioningTarget::kWifiSet: return WifiClientDriverSet(os, target.wifiSet);
    case ProvisioningTarget::kPsConfigFile:
      return static_cast<long>(PsConfigInstall(os, target.psConfigSource, owner));
  }
  return kErrorSuccess;
}

long ApplySelection(Platform& os, EepromChannel& channel, const SelectionAction& row,
                    Label& label, MessageBoxOwner& owner) {
  if (!channel.IsOpen()) return kErrorSuccess;
  const ModuleCell& cell = CellOf(row.cell);
  const bool written = channel.WriteCell(cell.address, row.code);
  long flushed = kErrorSuccess;
  switch (row.order) {
    case kPlain:
      RefreshCell(os, channel, cell, label);
      break;
    case kGated:
      if (written) {
        flushed = RunProvisioningStep(os, row.step, owner);
      } else {
        os.DebugPrintf(row.writeFailureLine, 0);
      }
      RefreshCell(os, channel, cell, label);
      break;
    case kAfterRefresh:
      RefreshCell(os, channel, cell, label);
      flushed = RunProvisioningStep(os, row.step, owner);
      break;
  }
  return flushed;
}

}  // namespace hw
