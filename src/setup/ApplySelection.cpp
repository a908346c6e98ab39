#include "setup/ApplySelection.h"

#include "eeprom/RefreshCell.h"
#include "setup/ProvisioningTarget.h"
#include "setup/PsConfigInstall.h"

namespace hw {

namespace {

void Provision(Platform& os, Provisioning step, MessageBoxOwner& owner) {
  const ProvisioningTarget target = TargetOf(step);
  switch (target.kind) {
    case ProvisioningTarget::kNothing: break;
    case ProvisioningTarget::kUsbHost: UsbHostDriverSwitch(os, target.usbHost); break;
    case ProvisioningTarget::kWifiSet: WifiClientDriverSet(os, target.wifiSet); break;
    case ProvisioningTarget::kPsConfigFile:
      PsConfigInstall(os, target.psConfigSource, owner);
      break;
  }
}

}  // namespace

void ApplySelection(Platform& os, EepromChannel& channel, const SelectionAction& row,
                    Label& label, MessageBoxOwner& owner) {
  if (!channel.IsOpen()) return;
  const ModuleCell& cell = CellOf(row.cell);
  const bool written = channel.WriteCell(cell.address, row.code);
  switch (row.order) {
    case kPlain:
      RefreshCell(os, channel, cell, label);
      break;
    case kGated:
      if (written) {
        Provision(os, row.step, owner);
      } else {
        os.DebugPrintf(row.writeFailureLine, 0);
      }
      RefreshCell(os, channel, cell, label);
      break;
    case kAfterRefresh:
      RefreshCell(os, channel, cell, label);
      Provision(os, row.step, owner);
      break;
  }
}

}  // namespace hw
