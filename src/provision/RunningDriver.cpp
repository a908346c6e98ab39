#include "provision/RunningDriver.h"

#include "provision/Selections.h"
#include "setup/ProvisioningTarget.h"

namespace hw {

namespace {

const Char* const kWifiCardKeys[] = {kWifiCardKey4319, kWifiCardKey4329};

// Device Manager gives a key as ActivateDeviceEx took it: a built-in
// driver's without a root or a leading backslash, a bus client's with one.
// Compared without case, one leading backslash dropped.
bool SameKey(const LoadedDriver& driver, const Char* key) {
  if (driver.cut) return false;
  const Char* loaded = driver.deviceKey[0] == '\\' ? driver.deviceKey + 1 : driver.deviceKey;
  return TextEqualsIgnoringCase(loaded, TextLength(loaded), key);
}

const LoadedDriver* FindDriver(const DriverList& list, const Char* key) {
  for (UInt32 i = 0; i < list.count; ++i) {
    if (SameKey(list.drivers[i], key)) return &list.drivers[i];
  }
  return NULL;
}

// The WiFi card's driver, whichever card the SD bus found; its key.
const LoadedDriver* FindWifiDriver(const DriverList& list, const Char** key) {
  for (size_t i = 0; i < HW_COUNT_OF(kWifiCardKeys); ++i) {
    const LoadedDriver* driver = FindDriver(list, kWifiCardKeys[i]);
    *key = kWifiCardKeys[i];
    if (driver != NULL) return driver;
  }
  return NULL;
}

// Whether the legacy name, "NDL1:", begins with the prefix, "NDL".
bool HasPrefix(const LoadedDriver& driver, const Char* prefix) {
  const size_t length = TextLength(prefix);
  return TextEqualsIgnoringCase(driver.legacyName, length, prefix) &&
         driver.legacyName[length] >= '0' && driver.legacyName[length] <= '9';
}

// Whether what runs is what `step` calls for: for the USB host, its driver
// running or not; for WiFi, the set's prefix.
bool RunsAsCalledFor(const ProvisioningTarget& target, const LoadedDriver* running) {
  if (target.kind == ProvisioningTarget::kUsbHost) {
    return (running != NULL) == (target.usbHost == kOn);
  }
  return running != NULL && HasPrefix(*running, ValuesOf(target.wifiSet).prefix);
}

DriverList driverList;

}  // namespace

DriverList& RunDriverList() {
  return driverList;
}

bool WifiDriverListed(const DriverList& list) {
  const Char* key = NULL;
  return FindWifiDriver(list, &key) != NULL;
}

UInt32 ReadDriverList(Platform& os, bool waitForWifi, DriverList* list) {
  UInt32 slept = 0;
  for (;;) {
    list->result = os.ListLoadedDrivers(list->drivers, kMaxLoadedDrivers, &list->count);
    if (!waitForWifi || list->result != kDriverListRead || WifiDriverListed(*list) ||
        slept >= kWifiDriverWaitMilliseconds) {
      return slept;
    }
    os.Sleep(kWifiDriverPollMilliseconds);
    slept += kWifiDriverPollMilliseconds;
  }
}

void AuditDriver(const ModuleAudit& audit, const DriverList& list, bool restoredNow,
                 DriverAudit* driver) {
  driver->judged = audit.module == k3G || audit.module == kWifi;
  driver->key = kUsbHostDriverKey;
  driver->running = NULL;
  driver->verdict = DriverAudit::kUnknown;
  if (!driver->judged || list.result == kDriverListNotAvailable) return;
  driver->running = audit.module == k3G ? FindDriver(list, kUsbHostDriverKey)
                                        : FindWifiDriver(list, &driver->key);
  const SelectionAction* row = audit.cellRead ? SelectionWriting(audit.module, audit.value) : NULL;
  const ProvisioningTarget target = TargetOf(row != NULL ? row->step : kNone);
  if (list.result == kDriverListFull && driver->running == NULL) return;  // past the list's end
  driver->verdict = DriverAudit::kNoVerdict;
  if (audit.verdict != ModuleAudit::kConsistent) return;
  if (target.kind != ProvisioningTarget::kUsbHost && target.kind != ProvisioningTarget::kWifiSet) {
    return;
  }
  if (RunsAsCalledFor(target, driver->running)) {
    driver->verdict = DriverAudit::kMatches;
  } else if (driver->running != NULL || restoredNow) {
    driver->verdict = DriverAudit::kRestartPending;
  } else {
    driver->verdict = DriverAudit::kNotLoaded;
  }
}

const Char* DriverVerdictName(DriverAudit::Verdict verdict) {
  switch (verdict) {
    case DriverAudit::kMatches: return HW_TEXT("matches");
    case DriverAudit::kRestartPending: return HW_TEXT("restart pending");
    case DriverAudit::kNotLoaded: return HW_TEXT("not loaded");
    case DriverAudit::kUnknown: return HW_TEXT("unknown");
    case DriverAudit::kNoVerdict: break;
  }
  return HW_TEXT("");
}

void CountDriver(Module module, const DriverAudit& driver, ResultCounts* counts) {
  if (!driver.judged) return;
  NoteDriver(module,
             driver.verdict == DriverAudit::kNoVerdict ? NULL : DriverVerdictName(driver.verdict),
             driver.verdict == DriverAudit::kRestartPending,
             driver.verdict == DriverAudit::kNotLoaded, counts);
}

void AppendDriverLine(const DriverAudit& driver, TextLine& line) {
  line.PadTo(kNameColumn);
  AppendDriverText(driver, line);
}

void AppendDriverText(const DriverAudit& driver, TextLine& line) {
  line.Append(HW_TEXT("driver: "));
  if (driver.verdict == DriverAudit::kUnknown && driver.running == NULL) {
    line.Append(HW_TEXT("the list of loaded drivers cannot be read"));
  } else if (driver.running == NULL) {
    line.Append(driver.key == kUsbHostDriverKey ? HW_TEXT("not loaded")
                                                : HW_TEXT("no WiFi driver loaded"));
  } else {
    line.Append(driver.running->legacyName).Append(HW_TEXT(" loaded from "));
    line.Append(driver.key == kUsbHostDriverKey ? driver.running->deviceKey : KeyLabel(driver.key));
    if (driver.key != kUsbHostDriverKey) line.Append(HW_TEXT("'s key"));
  }
  if (driver.verdict != DriverAudit::kNoVerdict) {
    line.Append(HW_TEXT(" | ")).Append(DriverVerdictName(driver.verdict));
  }
}

}  // namespace hw
