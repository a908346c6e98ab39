#include "setup/ApplySelection.h"

#include "eeprom/RefreshCell.h"
#include "setup/PsConfigInstall.h"
#include "setup/RegistryProvisioning.h"

namespace hw {

namespace {

void Provision(Platform& os, Provisioning step, MessageBoxOwner& owner) {
  switch (step) {
    case Provisioning::kNone: break;
    case Provisioning::kUsbHostOff: UsbHostDriverSwitch(os, UsbHostDriver::kOff); break;
    case Provisioning::kUsbHostOn: UsbHostDriverSwitch(os, UsbHostDriver::kOn); break;
    case Provisioning::kWifiUsiSd40: WifiClientDriverSet(os, WifiDriverSet::kUsiSd40); break;
    case Provisioning::kWifiMurata8Xqf: WifiClientDriverSet(os, WifiDriverSet::kMurata8Xqf); break;
    case Provisioning::kPsConfig: PsConfigInstall(os, kPsConfigSource, owner); break;
    case Provisioning::kPsConfig1: PsConfigInstall(os, kPsConfig1Source, owner); break;
  }
}

}  // namespace

void ApplySelection(Platform& os, EepromChannel& channel, const SelectionAction& row,
                    Label& label, MessageBoxOwner& owner) {
  if (!channel.IsOpen()) return;
  const ModuleCell& cell = CellOf(row.cell);
  const bool written = channel.WriteCell(cell.address, row.code);
  switch (row.order) {
    case Order::kPlain:
      RefreshCell(os, channel, cell, label);
      break;
    case Order::kGated:
      if (written) {
        Provision(os, row.step, owner);
      } else {
        os.DebugPrintf(row.writeFailureLine, 0);
      }
      RefreshCell(os, channel, cell, label);
      break;
    case Order::kAfterRefresh:
      RefreshCell(os, channel, cell, label);
      Provision(os, row.step, owner);
      break;
  }
}

}  // namespace hw
