#pragma once

#include "platform/Platform.h"

namespace hw {

inline constexpr char16_t kUsbHostDriverKey[] = u"Drivers\\BuiltIn\\HCD_HSH1";
inline constexpr char16_t kWifiCardKey4319[] =
    u"Drivers\\SDCARD\\ClientDrivers\\Custom\\MANF-02D0-CARDID-4319-FUNC-1";
inline constexpr char16_t kWifiCardKey4329[] =
    u"Drivers\\SDCARD\\ClientDrivers\\Custom\\MANF-02D0-CARDID-4329-FUNC-1";

enum class UsbHostDriver { kOff, kOn };
enum class WifiDriverSet { kUsiSd40, kMurata8Xqf };

// Sets one REG_SZ value of an existing key (never creates one). True when the
// value was stored.
bool RegSetString(Platform& os, RegKey root, const char16_t* subKey, const char16_t* valueName,
                  const char16_t* text);

// Each value is attempted whatever happened to the one before; failures are silent.
void UsbHostDriverSwitch(Platform& os, UsbHostDriver state);
void WifiClientDriverSet(Platform& os, WifiDriverSet set);

}  // namespace hw
