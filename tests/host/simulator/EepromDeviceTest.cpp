#include <array>
#include <bitset>
#include <string>

#include "TerminalFixture.h"

namespace hw::simtest {
namespace {

constexpr std::uint32_t kRead = 2;
constexpr std::uint32_t kWrite = 1;

class EepromDeviceTest : public TerminalTest {
 protected:
  // A chip whose cell N holds N ^ 0x5A, so every cell is told apart.
  void SetUp() override {
    TerminalTest::SetUp();
    for (int i = 0; i < 256; ++i) image_[static_cast<std::size_t>(i)] = static_cast<char>(i ^ 0x5A);
    WriteFile("eeprom.bin", image_);
  }
  static int ReadCell(Platform& os, Handle h, std::uint8_t address, std::uint8_t* value) {
    std::uint8_t in[1] = {address};
    return os.DeviceIoControl(h, kRead, in, 1, value, 1, nullptr, nullptr);
  }
  static int WriteCell(Platform& os, Handle h, std::uint8_t address, std::uint8_t value) {
    std::uint8_t in[2] = {address, value};
    return os.DeviceIoControl(h, kWrite, in, 2, nullptr, 0, nullptr, nullptr);
  }
  std::string image_ = std::string(256, '\0');
};

TEST_F(EepromDeviceTest, ReadsEachCellFromItsByte) {
  auto os = Load();
  const Handle h = OpenEeprom(*os);
  ASSERT_NE(h, kInvalidHandleValue);
  for (int address = 0; address < 256; ++address) {
    std::uint8_t value = 0;
    ASSERT_NE(ReadCell(*os, h, static_cast<std::uint8_t>(address), &value), 0) << address;
    EXPECT_EQ(value, static_cast<std::uint8_t>(image_[static_cast<std::size_t>(address)]))
        << "cell " << address;
  }
}

TEST_F(EepromDeviceTest, WriteChangesOnlyItsCellInTheFile) {
  auto os = Load();
  const Handle h = OpenEeprom(*os);
  ASSERT_NE(WriteCell(*os, h, 0x91, 0x01), 0);
  image_[0x91] = 0x01;
  EXPECT_EQ(ReadFile("eeprom.bin"), image_);
  EXPECT_EQ(Listing(),
            (std::vector<std::string>{
                "Flash Disk", "Object Store", "Windows", "Windows/GarnetSDN.dll",
                "Windows/HWProvision-boot.lnk", "Windows/HWSetup.lnk", "Windows/PSconfig.psr",
                "Windows/PSconfig1.psr", "Windows/Programs", "Windows/Programs/HWSetup.lnk",
                "Windows/Startup", "Windows/Startup/HWProvision-boot.lnk", "Windows/giisr.dll",
                "Windows/hcd_hsh1.dll", "Windows/sdcsd40n.dll", "drivers.txt", "eeprom.bin",
                "registry.factory.reg", "registry.reg"}));
}

TEST_F(EepromDeviceTest, SeesTheFileChangedFromOutsideBetweenRequests) {
  auto os = Load();
  const Handle h = OpenEeprom(*os);
  image_[0x19] = 0x42;
  WriteFile("eeprom.bin", image_);
  std::uint8_t value = 0;
  ASSERT_NE(ReadCell(*os, h, 0x19, &value), 0);
  EXPECT_EQ(value, 0x42);
}

TEST_F(EepromDeviceTest, AbsentEepromBinMeansNoDevice) {
  fs::remove(PathOf("eeprom.bin"));
  auto os = Load();
  EXPECT_EQ(OpenEeprom(*os), kInvalidHandleValue);
}

TEST_F(EepromDeviceTest, TheDeviceIsOpenedNeverCreated) {
  auto os = Load();
  EXPECT_EQ(os->CreateFile(u"EOM1:", kGenericRead | kGenericWrite, 3, nullptr, kCreateAlways, 0, 0),
            kInvalidHandleValue);
  EXPECT_EQ(ReadFile("eeprom.bin"), image_);
}

TEST_F(EepromDeviceTest, RequestsTheDriverDoesNotKnowFailAndStoreNothing) {
  struct Case {
    const char* what;
    std::uint32_t code, inSize, outSize;
    bool nullOut;
  };
  const Case cases[] = {
      {"unknown code", 3, 2, 1, false},
      {"read without input", kRead, 0, 1, false},
      {"read without output", kRead, 1, 0, false},
      {"read into null", kRead, 1, 1, true},
      {"write of one byte", kWrite, 1, 0, false},
      {"code with method bits", 0x220008, 2, 1, false},
  };
  auto os = Load();
  const Handle h = OpenEeprom(*os);
  for (const Case& c : cases) {
    std::uint8_t in[2] = {0x11, 0x00};
    std::uint8_t out = 0xAB;
    EXPECT_EQ(os->DeviceIoControl(h, c.code, in, c.inSize, c.nullOut ? nullptr : &out, c.outSize,
                                  nullptr, nullptr),
              0)
        << c.what;
    EXPECT_EQ(out, 0xAB) << c.what;
  }
  EXPECT_EQ(ReadFile("eeprom.bin"), image_);
}

TEST_F(EepromDeviceTest, HandlesAreDistinctAndCloseOnce) {
  auto os = Load();
  const Handle first = OpenEeprom(*os);
  const Handle second = OpenEeprom(*os);
  for (Handle h : {first, second}) {
    EXPECT_NE(h, kInvalidHandleValue);
    EXPECT_NE(h, 0);
  }
  EXPECT_NE(first, second);
  EXPECT_EQ(os->CloseHandle(first), 1);
  EXPECT_EQ(os->CloseHandle(first), 0);
  std::uint8_t value = 0;
  EXPECT_EQ(ReadCell(*os, first, 0x11, &value), 0) << "a closed handle";
  EXPECT_NE(ReadCell(*os, second, 0x11, &value), 0) << "the other handle stays open";
  EXPECT_EQ(ReadCell(*os, 0x7777, 0x11, &value), 0) << "a handle never given out";
}

TEST_F(EepromDeviceTest, MaxOpensLimitsSimultaneousHandles) {
  WriteFile("device.ini", "[EOM1]\nmax_opens = 1\n");
  auto os = Load();
  const Handle first = OpenEeprom(*os);
  ASSERT_NE(first, kInvalidHandleValue);
  EXPECT_EQ(OpenEeprom(*os), kInvalidHandleValue);
  os->CloseHandle(first);
  EXPECT_NE(OpenEeprom(*os), kInvalidHandleValue) << "the limit counts open handles";
}

TEST_F(EepromDeviceTest, NullHandleOpensAsZeroAndWorks) {
  WriteFile("device.ini", "[EOM1]\nnull_handle = yes\n");
  auto os = Load();
  ASSERT_EQ(OpenEeprom(*os), 0);
  std::uint8_t value = 0;
  ASSERT_NE(ReadCell(*os, 0, 0x69, &value), 0);
  EXPECT_EQ(value, static_cast<std::uint8_t>(image_[0x69]));
  EXPECT_EQ(os->CloseHandle(0), 1);
  EXPECT_EQ(os->CloseHandle(0), 0);
  EXPECT_EQ(ReadCell(*os, 0, 0x69, &value), 0) << "handle 0 after its close";
}

TEST_F(EepromDeviceTest, FailReadListsTheCellsWhoseReadsFail) {
  struct Case {
    const char* list;
    std::vector<int> failing;  // empty: every cell
  };
  const Case cases[] = {
      {"0x91 0x99", {0x91, 0x99}},
      {"0x91,0x99", {0x91, 0x99}},
      {" 0x91 ,\t0X99 ", {0x91, 0x99}},
      {"0x0 0xff", {0x00, 0xFF}},
      {"all", {}},
      {"ALL", {}},
  };
  for (const Case& c : cases) {
    WriteFile("device.ini", std::string("[eom1]\nFail_Read = ") + c.list + "  ; the list\n");
    auto os = Load();
    ASSERT_NE(os, nullptr) << c.list;
    const Handle h = OpenEeprom(*os);
    std::bitset<256> expected;
    for (int a : c.failing) expected.set(static_cast<std::size_t>(a));
    if (c.failing.empty()) expected.set();
    for (int address = 0; address < 256; ++address) {
      std::uint8_t value = 0;
      const bool ok = ReadCell(*os, h, static_cast<std::uint8_t>(address), &value) != 0;
      EXPECT_EQ(ok, !expected.test(static_cast<std::size_t>(address)))
          << "list \"" << c.list << "\", cell " << address;
    }
  }
}

TEST_F(EepromDeviceTest, FailWriteReportsFailureAndKeepsTheCell) {
  WriteFile("device.ini", "[EOM1]\nfail_write = 0x69, 0xB1\n");
  auto os = Load();
  const Handle h = OpenEeprom(*os);
  EXPECT_EQ(WriteCell(*os, h, 0x69, 0x00), 0);
  EXPECT_EQ(WriteCell(*os, h, 0xB1, 0x00), 0);
  EXPECT_EQ(ReadFile("eeprom.bin"), image_);
  EXPECT_NE(WriteCell(*os, h, 0x11, 0x00), 0) << "a cell not listed";
}

TEST_F(EepromDeviceTest, ReadStoresNothingSucceedsAndLeavesTheOutputByte) {
  WriteFile("device.ini", "[EOM1]\nread_stores_nothing = 0x69\n");
  auto os = Load();
  const Handle h = OpenEeprom(*os);
  std::uint8_t in[1] = {0x69};
  std::uint8_t out = 0xAB;
  std::uint32_t returned = 99;
  EXPECT_NE(os->DeviceIoControl(h, kRead, in, 1, &out, 1, &returned, nullptr), 0);
  EXPECT_EQ(out, 0xAB);
  EXPECT_EQ(returned, 0u);
  in[0] = 0x11;
  EXPECT_NE(os->DeviceIoControl(h, kRead, in, 1, &out, 1, &returned, nullptr), 0);
  EXPECT_EQ(out, static_cast<std::uint8_t>(image_[0x11]));
  EXPECT_EQ(returned, 1u);
}

}  // namespace
}  // namespace hw::simtest
