// The registry provisioning against the real registry (Wine's, in the test
// run's own prefix): keys are made here and removed afterwards.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/win32/Win32Platform.h"
#include "setup/RegistryProvisioning.h"

namespace hw {
namespace {

bool KeyExists(const wchar_t* path) {
  HKEY key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

void MakeKey(const wchar_t* path, const wchar_t* keepName, const wchar_t* keepText) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &key, nullptr),
            ERROR_SUCCESS);
  const DWORD bytes = static_cast<DWORD>((wcslen(keepText) + 1) * sizeof(wchar_t));
  ASSERT_EQ(RegSetValueExW(key, keepName, 0, REG_SZ, reinterpret_cast<const BYTE*>(keepText), bytes),
            ERROR_SUCCESS);
  const DWORD order = 21;
  ASSERT_EQ(RegSetValueExW(key, L"Order", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&order),
                           sizeof order),
            ERROR_SUCCESS);
  RegCloseKey(key);
}

// The stored value as the registry reports it: type, byte length and text.
struct Stored {
  DWORD type = 0;
  DWORD bytes = 0;
  std::wstring text;
};
Stored Read(const wchar_t* path, const wchar_t* name) {
  Stored s;
  wchar_t buffer[256] = {};
  s.bytes = sizeof buffer;
  HKEY key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return {};
  if (RegQueryValueExW(key, name, nullptr, &s.type, reinterpret_cast<BYTE*>(buffer), &s.bytes) !=
      ERROR_SUCCESS) {
    s = {};
  } else {
    s.text = buffer;
  }
  RegCloseKey(key);
  return s;
}

class Win32Registry : public ::testing::Test {
 protected:
  void TearDown() override {
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Drivers\\BuiltIn\\HCD_HSH1");
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Drivers\\SDCARD\\ClientDrivers\\Custom");
  }
  Win32Platform os;
};

TEST_F(Win32Registry, RegSetStringStoresATerminatedStringOfTheRightLength) {
  MakeKey(kUsbHostDriverKey, L"Prefix", L"HCD");
  EXPECT_TRUE(RegSetString(os, kHkeyLocalMachine, kUsbHostDriverKey, L"Dll", L"xxx"));
  const Stored s = Read(kUsbHostDriverKey, L"Dll");
  EXPECT_EQ(s.type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(s.bytes, 8u);
  EXPECT_EQ(s.text, L"xxx");
  EXPECT_EQ(Read(kUsbHostDriverKey, L"Prefix").text, L"HCD");
}

TEST_F(Win32Registry, RegSetStringNeverCreatesAKey) {
  ASSERT_FALSE(KeyExists(kUsbHostDriverKey));
  EXPECT_FALSE(RegSetString(os, kHkeyLocalMachine, kUsbHostDriverKey, L"Dll", L"xxx"));
  EXPECT_FALSE(KeyExists(kUsbHostDriverKey));
}

TEST_F(Win32Registry, UsbHostDriverSwitchesOffAndOn) {
  MakeKey(kUsbHostDriverKey, L"Prefix", L"HCD");
  UsbHostDriverSwitch(os, UsbHostDriver::kOff);
  EXPECT_EQ(Read(kUsbHostDriverKey, L"Dll").text, L"xxx");
  EXPECT_EQ(Read(kUsbHostDriverKey, L"IsrDll").text, L"xxx");
  UsbHostDriverSwitch(os, UsbHostDriver::kOn);
  EXPECT_EQ(Read(kUsbHostDriverKey, L"Dll").bytes, 26u);
  EXPECT_EQ(Read(kUsbHostDriverKey, L"Dll").text, L"hcd_hsh1.dll");
  EXPECT_EQ(Read(kUsbHostDriverKey, L"IsrDll").text, L"giisr.dll");
}

TEST_F(Win32Registry, WifiSetWritesBothCardKeysOrTheOneThatExists) {
  MakeKey(kWifiCardKey4329, L"Class", L"NDIS");
  WifiClientDriverSet(os, WifiDriverSet::kMurata8Xqf);
  EXPECT_FALSE(KeyExists(kWifiCardKey4319));
  EXPECT_EQ(Read(kWifiCardKey4329, L"Dll").text, L"GarnetSDN.dll");
  EXPECT_EQ(Read(kWifiCardKey4329, L"Prefix").text, L"NDL");
  EXPECT_EQ(Read(kWifiCardKey4329, L"Instance0").text, L"GarnetSDN:GarnetSDN1");
  EXPECT_EQ(Read(kWifiCardKey4329, L"Instance1").text, L"GarnetSDN:GarnetSDN1");
  EXPECT_EQ(Read(kWifiCardKey4329, L"Class").text, L"NDIS");

  MakeKey(kWifiCardKey4319, L"Class", L"NDIS");
  WifiClientDriverSet(os, WifiDriverSet::kUsiSd40);
  for (const wchar_t* key : {kWifiCardKey4319, kWifiCardKey4329}) {
    EXPECT_EQ(Read(key, L"Dll").text, L"sdcsd40n.dll");
    EXPECT_EQ(Read(key, L"Prefix").text, L"SSI");
    EXPECT_EQ(Read(key, L"Instance1").text, L"SDCSD40N:SDCSD40N1");
  }
}

TEST_F(Win32Registry, QueryValuePassesTheRegistrysAnswersThrough) {
  MakeKey(kUsbHostDriverKey, L"Prefix", L"HCD");
  ASSERT_TRUE(RegSetString(os, kHkeyLocalMachine, kUsbHostDriverKey, L"Dll", L"hcd_hsh1.dll"));
  const struct {
    const char* what;
    const wchar_t* name;
    UInt32 room;
    bool withData;
    long status;
    UInt32 type;
    UInt32 bytes;
    std::wstring text;
  } cases[] = {
      {"a string with its terminator", L"Dll", 64, true, kErrorSuccess, REG_SZ, 26,
       std::wstring(L"hcd_hsh1.dll", 13)},
      {"exactly room enough", L"dll", 26, true, kErrorSuccess, REG_SZ, 26,
       std::wstring(L"hcd_hsh1.dll", 13)},
      {"a buffer too small", L"Dll", 25, true, kErrorMoreData, REG_SZ, 26, L""},
      {"the size alone", L"Dll", 0, false, kErrorSuccess, REG_SZ, 26, L""},
      {"a dword", L"Order", 64, true, kErrorSuccess, REG_DWORD, 4, std::wstring(L"\x15\0", 2)},
      {"no such value", L"IsrDll", 64, true, kErrorFileNotFound, 0, 0, L""},
  };
  RegKey key = 0;
  ASSERT_EQ(os.RegOpenKeyEx(kHkeyLocalMachine, kUsbHostDriverKey, 0, kKeyQueryValue, &key), 0);
  for (const auto& c : cases) {
    wchar_t buffer[32];
    UInt32 type = 0;
    UInt32 bytes = c.room;
    const long status = os.RegQueryValueEx(key, c.name, nullptr, &type,
                                           c.withData ? reinterpret_cast<UInt8*>(buffer) : nullptr,
                                           &bytes);
    EXPECT_EQ(status, c.status) << c.what;
    if (status == kErrorFileNotFound) continue;
    EXPECT_EQ(bytes, c.bytes) << c.what;
    EXPECT_EQ(type, c.type) << c.what;
    if (status == kErrorSuccess && c.withData) {
      EXPECT_EQ(std::wstring(buffer, bytes / sizeof(wchar_t)), c.text) << c.what;
    }
  }
  EXPECT_EQ(os.RegCloseKey(key), kErrorSuccess);
}

}  // namespace
}  // namespace hw
