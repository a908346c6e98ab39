#pragma once

#include "platform/Platform.h"

namespace hw {

extern const Char kUsbHostDriverKey[];  // "Drivers\BuiltIn\HCD_HSH1"
extern const Char kWifiCardKey4319[];
extern const Char kWifiCardKey4329[];

enum UsbHostDriver { kOff, kOn };
enum WifiDriverSet { kUsiSd40, kMurata8Xqf };

// What each state or set writes: the one source for the writes and for any
// check of them.
struct UsbHostDriverValues {
  const Char* dll;
  const Char* isrDll;
};
struct WifiDriverValues {
  const Char* dll;
  const Char* prefix;
  const Char* instance;  // both Instance0 and Instance1
};
const UsbHostDriverValues& ValuesOf(UsbHostDriver state);
const WifiDriverValues& ValuesOf(WifiDriverSet set);

// One value that a group sets, under HKEY_LOCAL_MACHINE.
struct RegistryWrite {
  const Char* subKey;
  const Char* valueName;
  const Char* text;
};
const size_t kMaxRegistryWrites = 8;
// The values a state or set writes, in the order it writes them; returns how
// many. The groups write from this list, so a check of their effect that
// reads it back checks exactly what was written.
size_t RegistryWritesOf(UsbHostDriver state, RegistryWrite (&writes)[kMaxRegistryWrites]);
size_t RegistryWritesOf(WifiDriverSet set, RegistryWrite (&writes)[kMaxRegistryWrites]);

// Sets one REG_SZ value of an existing key (never creates one). True when the
// value was stored.
bool RegSetString(Platform& os, RegKey root, const Char* subKey, const Char* valueName,
                  const Char* text);

// Each value is attempted whatever happened to the one before; failures are
// silent. Then the whole registry is flushed once, so that the group survives
// a power loss; returns RegFlushKey's result, which a press does not examine.
long UsbHostDriverSwitch(Platform& os, UsbHostDriver state);
long WifiClientDriverSet(Platform& os, WifiDriverSet set);

}  // namespace hw
