#include "setup/RegistryProvisioning.h"

#include <cstddef>
#include <initializer_list>

namespace hw {

namespace {

std::uint32_t BytesWithTerminator(const char16_t* text) {
  std::size_t chars = 0;
  while (text[chars] != u'\0') ++chars;
  return static_cast<std::uint32_t>((chars + 1) * sizeof(char16_t));
}

struct DriverSetValues {
  const char16_t* dll;
  const char16_t* prefix;
  const char16_t* instance;  // both Instance0 and Instance1
};

constexpr DriverSetValues ValuesOf(WifiDriverSet set) {
  return set == WifiDriverSet::kUsiSd40
             ? DriverSetValues{u"sdcsd40n.dll", u"SSI", u"SDCSD40N:SDCSD40N1"}
             : DriverSetValues{u"GarnetSDN.dll", u"NDL", u"GarnetSDN:GarnetSDN1"};
}

}  // namespace

bool RegSetString(Platform& os, RegKey root, const char16_t* subKey, const char16_t* valueName,
                  const char16_t* text) {
  RegKey key = 0;
  if (os.RegOpenKeyEx(root, subKey, 0, kKeyAllAccess, &key) != kErrorSuccess) return false;
  const long result = os.RegSetValueEx(key, valueName, 0, kRegSz,
                                       reinterpret_cast<const std::uint8_t*>(text),
                                       BytesWithTerminator(text));
  os.RegCloseKey(key);
  return result == kErrorSuccess;
}

void UsbHostDriverSwitch(Platform& os, UsbHostDriver state) {
  const bool on = state == UsbHostDriver::kOn;
  RegSetString(os, kHkeyLocalMachine, kUsbHostDriverKey, u"Dll", on ? u"hcd_hsh1.dll" : u"xxx");
  RegSetString(os, kHkeyLocalMachine, kUsbHostDriverKey, u"IsrDll", on ? u"giisr.dll" : u"xxx");
}

void WifiClientDriverSet(Platform& os, WifiDriverSet set) {
  const DriverSetValues values = ValuesOf(set);
  for (const char16_t* key : {kWifiCardKey4319, kWifiCardKey4329}) {
    RegSetString(os, kHkeyLocalMachine, key, u"Dll", values.dll);
    RegSetString(os, kHkeyLocalMachine, key, u"Prefix", values.prefix);
    RegSetString(os, kHkeyLocalMachine, key, u"Instance0", values.instance);
    RegSetString(os, kHkeyLocalMachine, key, u"Instance1", values.instance);
  }
}

}  // namespace hw
