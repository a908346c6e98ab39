#include "setup/ProvisioningTarget.h"

#include "setup/PsConfigInstall.h"

namespace hw {

namespace {

ProvisioningTarget Target(ProvisioningTarget::Kind kind, UsbHostDriver usbHost,
                          WifiDriverSet wifiSet, const Char* source) {
  const ProvisioningTarget target = {kind, usbHost, wifiSet, source};
  return target;
}

}  // namespace

ProvisioningTarget TargetOf(Provisioning step) {
  switch (step) {
    case kUsbHostOff: return Target(ProvisioningTarget::kUsbHost, kOff, kUsiSd40, NULL);
    case kUsbHostOn: return Target(ProvisioningTarget::kUsbHost, kOn, kUsiSd40, NULL);
    case kWifiUsiSd40: return Target(ProvisioningTarget::kWifiSet, kOff, kUsiSd40, NULL);
    case kWifiMurata8Xqf: return Target(ProvisioningTarget::kWifiSet, kOff, kMurata8Xqf, NULL);
    case kPsConfig:
      return Target(ProvisioningTarget::kPsConfigFile, kOff, kUsiSd40, kPsConfigSource);
    case kPsConfig1:
      return Target(ProvisioningTarget::kPsConfigFile, kOff, kUsiSd40, kPsConfig1Source);
    case kNone: break;
  }
  return Target(ProvisioningTarget::kNothing, kOff, kUsiSd40, NULL);
}

}  // namespace hw
