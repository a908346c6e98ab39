#include <string>
#include <vector>

#include "TerminalFixture.h"
#include "platform/simulator/TextCodec.h"

namespace hw::simtest {
namespace {

using DeviceManagerTest = TerminalTest;

const std::string kNow = "[sdio]\nload delay ms = 0\n";
const std::string kHcd = "HCD1:|Drivers\\BuiltIn\\HCD_HSH1|$device\\HCD1";
const std::string kCard = "SSI1:|\\Drivers\\SDCARD\\ClientDrivers\\Custom\\MANF-02D0-CARDID-";
const std::string k4329 = kCard + "4329-FUNC-1|$device\\SSI1";

// What a terminal's first start after its boot loads, as FindFirstDevice then
// lists it: "legacy name|device key|device name".
TEST_F(DeviceManagerTest, ABootLoadsTheDriversWhoseDllIsThereAndWhoseInitSucceeds) {
  const struct {
    std::string ini;
    const char* dll;  // a file of Windows/, renamed `to`, or removed
    const char* to;
    std::vector<std::string> listed;
    DriverListResult result = kDriverListRead;
    UInt32 capacity = kMaxLoadedDrivers;
  } cases[] = {
      {kNow, nullptr, nullptr, {kHcd, k4329}},
      {kNow + "card = 4319\n", nullptr, nullptr, {kHcd, kCard + "4319-FUNC-1|$device\\SSI1"}},
      {kNow + "card = none\n", nullptr, nullptr, {kHcd}},
      {"[sdio]\nload delay ms = 60000\n", nullptr, nullptr, {kHcd}},
      {kNow, "hcd_hsh1.dll", nullptr, {k4329}},
      {kNow, "sdcsd40n.dll", "SDCSD40N.DLL", {kHcd, k4329}},
      {kNow, "sdcsd40n.dll", nullptr, {kHcd}},
      {kNow + "[drivers]\ninit fails = hcd_hsh1\n", nullptr, nullptr, {k4329}},
      {kNow + "[drivers]\nlist = unavailable\n", nullptr, nullptr, {}, kDriverListNotAvailable},
      {kNow, nullptr, nullptr, {kHcd}, kDriverListFull, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.ini + (c.dll ? c.dll : "") + " to " + (c.to ? c.to : "(none)"));
    TearDown();
    SetUp();
    WriteFile("device.ini", c.ini);
    if (c.dll && c.to) fs::rename(PathOf("Windows/") / c.dll, PathOf("Windows/") / c.to);
    if (c.dll && !c.to) fs::remove(PathOf("Windows/") / c.dll);
    LoadedDriver list[kMaxLoadedDrivers];
    UInt32 count = 99;
    EXPECT_EQ(Load()->ListLoadedDrivers(list, c.capacity, &count), c.result);
    std::vector<std::string> listed;
    for (UInt32 i = 0; i < count; ++i) {
      std::string name, key, device;
      sim::Utf16ToUtf8(list[i].legacyName, &name);
      sim::Utf16ToUtf8(list[i].deviceKey, &key);
      sim::Utf16ToUtf8(list[i].deviceName, &device);
      listed.push_back(name + "|" + key + "|" + device);
    }
    EXPECT_EQ(listed, c.listed);
  }
}

}  // namespace
}  // namespace hw::simtest
