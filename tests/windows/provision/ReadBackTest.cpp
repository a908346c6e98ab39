// HWProvision's read-back through the real calls (Wine's registry and files
// in the test run's own prefix), as the device flavour makes them.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/win32/Win32Platform.h"
#include "provision/ReadBack.h"

namespace hw {
namespace {

const wchar_t kKey[] = L"Drivers\\HWProvisionTest";

void Put(const wchar_t* path, const std::string& bytes) {
  HANDLE f = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(f, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(f);
  ASSERT_EQ(written, bytes.size());
}

class ReadBack : public ::testing::Test {
 protected:
  void SetUp() override {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    Set(key, L"Dll", REG_SZ, L"GarnetSDN.dll", 28);
    Set(key, L"Long", REG_SZ, std::wstring(200, L'x').c_str(), 402);
    const DWORD order = 21;
    RegSetValueExW(key, L"Order", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&order), 4);
    RegCloseKey(key);
    GetTempPathW(MAX_PATH, folder_);
    wcscat(folder_, L"hwprovision-readback-");
  }
  void TearDown() override {
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kKey);
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, kKey);
    for (const wchar_t* name : {L"copy", L"source"}) DeleteFileW(Path(name).c_str());
  }
  static void Set(HKEY key, const wchar_t* name, DWORD type, const wchar_t* text, DWORD bytes) {
    RegSetValueExW(key, name, 0, type, reinterpret_cast<const BYTE*>(text), bytes);
  }
  std::wstring Path(const wchar_t* name) const { return std::wstring(folder_) + name; }

  Win32Platform os;
  wchar_t folder_[MAX_PATH + 32] = {};
};

TEST_F(ReadBack, RegistryValuesAsTheRegistryHoldsThem) {
  const struct {
    const wchar_t* key;
    const wchar_t* name;
    RegistryReadBack::Status status;
    const wchar_t* text;
    long error;
  } cases[] = {
      {kKey, L"Dll", RegistryReadBack::kText, L"GarnetSDN.dll", 0},
      {kKey, L"dll", RegistryReadBack::kText, L"GarnetSDN.dll", 0},
      {kKey, L"Prefix", RegistryReadBack::kMissing, L"", 0},
      {kKey, L"Order", RegistryReadBack::kNotText, L"", 0},
      {kKey, L"Long", RegistryReadBack::kTooLong, L"", 0},
      {L"Drivers\\HWProvisionAbsent", L"Dll", RegistryReadBack::kKeyUnopened, L"",
       ERROR_FILE_NOT_FOUND},
  };
  for (const auto& c : cases) {
    RegistryReadBack value;
    ReadRegistryValue(os, c.key, c.name, &value);
    EXPECT_EQ(value.status, c.status) << c.name;
    EXPECT_EQ(std::wstring(value.text), c.text) << c.name;
    if (c.status == RegistryReadBack::kKeyUnopened) {
      EXPECT_EQ(value.error, c.error) << c.name;
    }
  }
  RegistryReadBack dll;
  ReadRegistryValue(os, kKey, L"Dll", &dll);
  EXPECT_TRUE(ReadsBackAs(dll, L"GarnetSDN.dll"));
  EXPECT_FALSE(ReadsBackAs(dll, L"garnetsdn.dll"));
}

TEST_F(ReadBack, FilesComparedByteForByte) {
  std::string source(1500, '\0');
  for (std::size_t i = 0; i < source.size(); ++i) source[i] = static_cast<char>(i * 13);
  std::string changed = source;
  changed[1499] ^= 1;
  const struct {
    const char* what;
    const char* copy;  // null: no copy
    const char* src;   // null: no source
    FileMatch match;
  } cases[] = {
      {"a copy", source.c_str(), source.c_str(), kSameBytes},
      {"the last byte differs", changed.c_str(), source.c_str(), kDifferentBytes},
      {"no copy", nullptr, source.c_str(), kCopyMissing},
      {"no source", source.c_str(), nullptr, kSourceMissing},
  };
  for (const auto& c : cases) {
    for (const wchar_t* name : {L"copy", L"source"}) DeleteFileW(Path(name).c_str());
    if (c.copy != nullptr) Put(Path(L"copy").c_str(), std::string(c.copy, source.size()));
    if (c.src != nullptr) Put(Path(L"source").c_str(), std::string(c.src, source.size()));
    EXPECT_EQ(CompareFiles(os, Path(L"copy").c_str(), Path(L"source").c_str()), c.match) << c.what;
  }
  Put(Path(L"copy").c_str(), source.substr(0, 1024));
  Put(Path(L"source").c_str(), source.substr(0, 1025));
  EXPECT_EQ(CompareFiles(os, Path(L"copy").c_str(), Path(L"source").c_str()), kDifferentBytes)
      << "one byte longer past whole pieces";
}

}  // namespace
}  // namespace hw
