#include "setup/ApplySelection.h"

#include "eeprom/RefreshCell.h"
#include "setup/PsConfigInstall.h"
#include "setup/RegistryProvisioning.h"

namespace hw {

namespace {

void Provision(Platform& os, Provisioning step, MessageBoxOwner& owner) {
  switch (step) {
    case kNone: break;
    case kUsbHostOff: UsbHostDriverSwitch(os, kOff); break;
    case kUsbHostOn: UsbHostDriverSwitch(os, kOn); break;
    case kWifiUsiSd40: WifiClientDriverSet(os, kUsiSd40); break;
    case kWifiMurata8Xqf: WifiClientDriverSet(os, kMurata8Xqf); break;
    case kPsConfig: PsConfigInstall(os, kPsConfigSource, owner); break;
    case kPsConfig1: PsConfigInstall(os, kPsConfig1Source, owner); break;
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
