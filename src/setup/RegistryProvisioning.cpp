#include "setup/RegistryProvisioning.h"

namespace hw {

const Char kUsbHostDriverKey[] = HW_TEXT("Drivers\\BuiltIn\\HCD_HSH1");
const Char kWifiCardKey4319[] =
    HW_TEXT("Drivers\\SDCARD\\ClientDrivers\\Custom\\MANF-02D0-CARDID-4319-FUNC-1");
const Char kWifiCardKey4329[] =
    HW_TEXT("Drivers\\SDCARD\\ClientDrivers\\Custom\\MANF-02D0-CARDID-4329-FUNC-1");

namespace {

const UsbHostDriverValues kUsbHostOffValues = {HW_TEXT("xxx"), HW_TEXT("xxx")};
const UsbHostDriverValues kUsbHostOnValues = {HW_TEXT("hcd_hsh1.dll"), HW_TEXT("giisr.dll")};
const WifiDriverValues kUsiSd40Values = {HW_TEXT("sdcsd40n.dll"), HW_TEXT("SSI"),
                                         HW_TEXT("SDCSD40N:SDCSD40N1")};
const WifiDriverValues kMurata8XqfValues = {HW_TEXT("GarnetSDN.dll"), HW_TEXT("NDL"),
                                            HW_TEXT("GarnetSDN:GarnetSDN1")};
const Char* const kWifiCardKeys[] = {kWifiCardKey4319, kWifiCardKey4329};

UInt32 BytesWithTerminator(const Char* text) {
  size_t chars = 0;
  while (text[chars] != 0) ++chars;
  return static_cast<UInt32>((chars + 1) * sizeof(Char));
}

}  // namespace

const UsbHostDriverValues& ValuesOf(UsbHostDriver state) {
  return state == kOn ? kUsbHostOnValues : kUsbHostOffValues;
}

const WifiDriverValues& ValuesOf(WifiDriverSet set) {
  return set == kUsiSd40 ? kUsiSd40Values : kMurata8XqfValues;
}

bool RegSetString(Platform& os, RegKey root, const Char* subKey, const Char* valueName,
                  const Char* text) {
  RegKey key = 0;
  if (os.RegOpenKeyEx(root, subKey, 0, kKeyAllAccess, &key) != kErrorSuccess) return false;
  const long result = os.RegSetValueEx(key, valueName, 0, kRegSz,
                                       reinterpret_cast<const UInt8*>(text),
                                       BytesWithTerminator(text));
  os.RegCloseKey(key);
  return result == kErrorSuccess;
}

size_t RegistryWritesOf(UsbHostDriver state, RegistryWrite (&writes)[kMaxRegistryWrites]) {
  const UsbHostDriverValues& values = ValuesOf(state);
  const RegistryWrite dll = {kUsbHostDriverKey, HW_TEXT("Dll"), values.dll};
  const RegistryWrite isrDll = {kUsbHostDriverKey, HW_TEXT("IsrDll"), values.isrDll};
  writes[0] = dll;
  writes[1] = isrDll;
  return 2;
}

size_t RegistryWritesOf(WifiDriverSet set, RegistryWrite (&writes)[kMaxRegistryWrites]) {
  const WifiDriverValues& values = ValuesOf(set);
  size_t count = 0;
  for (size_t i = 0; i < HW_COUNT_OF(kWifiCardKeys); ++i) {
    const RegistryWrite key[] = {{kWifiCardKeys[i], HW_TEXT("Dll"), values.dll},
                                 {kWifiCardKeys[i], HW_TEXT("Prefix"), values.prefix},
                                 {kWifiCardKeys[i], HW_TEXT("Instance0"), values.instance},
                                 {kWifiCardKeys[i], HW_TEXT("Instance1"), values.instance}};
    for (size_t j = 0; j < HW_COUNT_OF(key); ++j) writes[count++] = key[j];
  }
  return count;
}

namespace {

long SetAllAndFlush(Platform& os, const RegistryWrite* writes, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    RegSetString(os, kHkeyLocalMachine, writes[i].subKey, writes[i].valueName, writes[i].text);
  }
  return os.RegFlushKey(kHkeyLocalMachine);
}

}  // namespace

long UsbHostDriverSwitch(Platform& os, UsbHostDriver state) {
  RegistryWrite writes[kMaxRegistryWrites];
  return SetAllAndFlush(os, writes, RegistryWritesOf(state, writes));
}

long WifiClientDriverSet(Platform& os, WifiDriverSet set) {
  RegistryWrite writes[kMaxRegistryWrites];
  return SetAllAndFlush(os, writes, RegistryWritesOf(set, writes));
}

}  // namespace hw
