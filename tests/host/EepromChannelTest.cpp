#include "eeprom/EepromChannel.h"

#include <gtest/gtest.h>

#include "RecordingPlatform.h"

namespace hw {
namespace {

using test::RecordingPlatform;
using Calls = std::vector<std::string>;

TEST(EepromChannel, OpensTheDeviceForSharedReadAndWrite) {
  RecordingPlatform os;
  EepromChannel channel(os);
  EXPECT_FALSE(channel.IsOpen());
  EXPECT_TRUE(channel.Open());
  EXPECT_TRUE(channel.IsOpen());
  EXPECT_EQ(os.calls, Calls{"CreateFile(\"EOM1:\", 0xC0000000, 0x3, null, 3, 0x0, 0)"});
}

TEST(EepromChannel, FailedOpenLeavesItClosed) {
  RecordingPlatform os;
  os.deviceOpens = false;
  EepromChannel channel(os);
  EXPECT_FALSE(channel.Open());
  EXPECT_FALSE(channel.IsOpen());
}

TEST(EepromChannel, NullHandleCountsAsOpenAndIsUsed) {
  RecordingPlatform os;
  os.nullDeviceHandle = true;
  os.eeprom[0x69] = 0x32;
  EepromChannel channel(os);
  ASSERT_TRUE(channel.Open());
  EXPECT_TRUE(channel.IsOpen());
  std::uint8_t value = 0;
  EXPECT_TRUE(channel.ReadCell(0x69, &value));
  EXPECT_EQ(value, 0x32);
  EXPECT_EQ(os.calls.back(), "DeviceIoControl(0, 2, [0x69], 1, [0x0], 1, null, null)");
}

TEST(EepromChannel, ReadRequestSendsTheAddressAndAZeroedOutputByte) {
  RecordingPlatform os;
  os.eeprom[0xA9] = 0x5A;
  EepromChannel channel(os);
  ASSERT_TRUE(channel.Open());
  std::uint8_t value = 0;
  ASSERT_TRUE(channel.ReadCell(0xA9, &value));
  EXPECT_EQ(value, 0x5A);
  // The output byte is shown as it was handed over, before the driver filled it.
  EXPECT_EQ(os.calls.back(), "DeviceIoControl(256, 2, [0xA9], 1, [0x0], 1, null, null)");
  EXPECT_TRUE(os.faults.empty());
}

TEST(EepromChannel, WriteRequestSendsAddressThenValueAndAsksForNothing) {
  RecordingPlatform os;
  EepromChannel channel(os);
  ASSERT_TRUE(channel.Open());
  EXPECT_TRUE(channel.WriteCell(0x91, 0x12));
  EXPECT_EQ(os.calls.back(), "DeviceIoControl(256, 1, [0x91 0x12], 2, null, 0, null, null)");
  EXPECT_EQ(os.eeprom[0x91], 0x12);
}

TEST(EepromChannel, ResultsFollowTheDriver) {
  RecordingPlatform os;
  os.failRead = {0x11};
  os.failWrite = {0x19};
  os.eeprom[0x11] = 0x01;
  EepromChannel channel(os);
  ASSERT_TRUE(channel.Open());
  std::uint8_t value = 0x77;
  EXPECT_FALSE(channel.ReadCell(0x11, &value));
  EXPECT_EQ(value, 0x77) << "a failed read must not hand back a value";
  EXPECT_FALSE(channel.WriteCell(0x19, 0x00));
  EXPECT_TRUE(channel.WriteCell(0x11, 0x10));
}

TEST(EepromChannel, ReadThatStoresNothingYieldsZero) {
  RecordingPlatform os;
  os.eeprom[0x69] = 0xFF;
  os.readStoresNothing = {0x69};
  EepromChannel channel(os);
  ASSERT_TRUE(channel.Open());
  std::uint8_t value = 0x77;
  EXPECT_TRUE(channel.ReadCell(0x69, &value));
  EXPECT_EQ(value, 0x00);
}

TEST(EepromChannel, EachPageOpensItsOwnHandle) {
  RecordingPlatform os;
  EepromChannel one(os), two(os);
  ASSERT_TRUE(one.Open());
  ASSERT_TRUE(two.Open());
  ASSERT_TRUE(one.WriteCell(0x69, 1));
  ASSERT_TRUE(two.WriteCell(0x19, 1));
  const auto io = os.CallsNamed("DeviceIoControl");
  ASSERT_EQ(io.size(), 2u);
  EXPECT_NE(io[0].substr(0, 20), io[1].substr(0, 20)) << "the two channels share a handle";
}

}  // namespace
}  // namespace hw
