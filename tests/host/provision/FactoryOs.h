#pragma once

// The factory terminal over the recording fake, and the registry values and
// configuration files the audit, apply and sync compare against.
#include <map>
#include <string>
#include <vector>

#include "RecordingPlatform.h"
#include "eeprom/ModuleCells.h"
#include "setup/PsConfigInstall.h"
#include "setup/RegistryProvisioning.h"

namespace hw::test {

using Values = std::map<std::u16string, std::u16string>;
using Bytes = std::vector<std::uint8_t>;

inline const Values kUsbOn = {
    {u"Dll", u"hcd_hsh1.dll"}, {u"IsrDll", u"giisr.dll"}, {u"Prefix", u"HCD"}};
inline const Values kUsbOff = {{u"Dll", u"xxx"}, {u"IsrDll", u"xxx"}, {u"Prefix", u"HCD"}};
inline const Values kUsi = {{u"Dll", u"sdcsd40n.dll"},
                            {u"Prefix", u"SSI"},
                            {u"Instance0", u"SDCSD40N:SDCSD40N1"},
                            {u"Instance1", u"SDCSD40N:SDCSD40N1"},
                            {u"Class", u"NDIS"}};
inline const Values kMurata = {{u"Dll", u"GarnetSDN.dll"},
                               {u"Prefix", u"NDL"},
                               {u"Instance0", u"GarnetSDN:GarnetSDN1"},
                               {u"Instance1", u"GarnetSDN:GarnetSDN1"},
                               {u"Class", u"NDIS"}};
inline const std::u16string kFlash = kPsConfigDestination;

// Sources longer than one comparison piece (512 bytes), with different bytes.
inline Bytes Source(std::size_t size, std::uint8_t seed) {
  Bytes bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(seed + i * 7);
  return bytes;
}
inline const Bytes kSource = Source(1300, 1);
inline const Bytes kSource1 = Source(700, 2);

// The factory image: the USB host driver on, both card keys with the USI SD40
// set, both sources, nothing in flash; a blank EEPROM.
struct FactoryOs {
  RecordingPlatform os;
  FactoryOs() {
    os.eeprom.fill(0xFF);
    os.keys[kUsbHostDriverKey] = kUsbOn;
    os.keys[kWifiCardKey4319] = kUsi;
    os.keys[kWifiCardKey4329] = kUsi;
    os.files[kPsConfigSource] = kSource;
    os.files[kPsConfig1Source] = kSource1;
  }
  // The 3G and WiFi cells, the Bluetooth file installed, and what Device
  // Manager lists as running.
  void Running(std::uint8_t g3, std::uint8_t wifi, std::vector<RecordingPlatform::Driver> drivers) {
    os.files[kPsConfigDestination] = kSource;
    os.eeprom[CellOf(k3G).address] = g3;
    os.eeprom[CellOf(kWifi).address] = wifi;
    os.drivers = std::move(drivers);
    os.driverListAvailable = true;
  }
};

// Drivers as CE's Device Manager lists them: the built-in USB host driver,
// and a WiFi card's client with the set's prefix.
inline const RecordingPlatform::Driver kHcdDriver{u"HCD1:", u"Drivers\\BuiltIn\\HCD_HSH1",
                                                  u"$device\\HCD1"};
inline RecordingPlatform::Driver CardDriver(const char16_t* legacyName, const char16_t* key,
                                            std::uint32_t loadedAfter = 0) {
  return {legacyName, u"\\" + std::u16string(key), u"$device\\" + std::u16string(legacyName),
          loadedAfter};
}

}  // namespace hw::test
