#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "TerminalFixture.h"
#include "platform/simulator/registry/RegistryFile.h"

namespace hw::simtest {
namespace {

using NewTerminalTest = TerminalTest;

TEST_F(NewTerminalTest, MakesABlankChipAndEmptyFlash) {
  EXPECT_EQ(ReadFile("eeprom.bin"), std::string(256, '\xFF'));
  EXPECT_TRUE(fs::is_directory(PathOf("Flash Disk")));
  EXPECT_TRUE(fs::is_empty(PathOf("Flash Disk")));
  EXPECT_FALSE(fs::exists(PathOf("device.ini")));
}

TEST_F(NewTerminalTest, TheRegistryHoldsTheDriverKeysTheToolWrites) {
  const std::string text = ReadFile("registry.reg");
  sim::RegistryFile file;
  sim::ParseError error;
  ASSERT_TRUE(sim::RegistryFile::Parse(text, &file, &error)) << error.line << ": " << error.reason;
  EXPECT_EQ(file.encoding(), sim::RegistryFile::Encoding::kUtf8);
  EXPECT_EQ(Count(text, "\n"), Count(text, "\r\n")) << "CRLF throughout";
  const std::string hklm = "HKEY_LOCAL_MACHINE\\";
  for (const char* key : {"Drivers\\BuiltIn\\HCD_HSH1",
                          "Drivers\\SDCARD\\ClientDrivers\\Custom\\MANF-02D0-CARDID-4319-FUNC-1",
                          "Drivers\\SDCARD\\ClientDrivers\\Custom\\MANF-02D0-CARDID-4329-FUNC-1"}) {
    EXPECT_TRUE(file.QueryValue(hklm + key, "Dll")) << key;
  }
  EXPECT_GE(file.KeyPaths().size(), 5u) << "keys the tool must leave alone";
}

TEST_F(NewTerminalTest, TheTwoBluetoothFilesDifferAndFitTheInstall) {
  const std::string first = ReadFile("Windows/PSconfig.psr");
  const std::string second = ReadFile("Windows/PSconfig1.psr");
  EXPECT_NE(first, second);
  for (const std::string* file : {&first, &second}) {
    EXPECT_GE(file->size(), 100u);
    EXPECT_LE(file->size(), 10240u);
  }
}

TEST_F(NewTerminalTest, RefusesAFolderThatHoldsSomethingUnlessForced) {
  WriteFile("notes.txt", "mine");
  WriteFile("eeprom.bin", "spent");
  EXPECT_NE(RunNewTerminal("'" + folder_.string() + "'"), 0);
  EXPECT_EQ(ReadFile("eeprom.bin"), "spent");
  EXPECT_EQ(RunNewTerminal("--force '" + folder_.string() + "'"), 0);
  EXPECT_EQ(ReadFile("eeprom.bin"), std::string(256, '\xFF'));
  EXPECT_EQ(ReadFile("notes.txt"), "mine") << "--force replaces only the terminal's files";
  WriteFile("device.ini", "[terminal]\nid = 0A\n");
  EXPECT_EQ(RunNewTerminal("--force '" + folder_.string() + "'"), 0);
  EXPECT_EQ(ReadFile("device.ini"), "[terminal]\nid = 0A\n") << "the terminal's identity is kept";
  EXPECT_EQ(RunNewTerminal("--force --drop-device-ini '" + folder_.string() + "'"), 0);
  EXPECT_FALSE(fs::exists(PathOf("device.ini")));
}

// The image's registry of the README and of make bench, as a terminal's.
TEST_F(NewTerminalTest, TakesAnImagesRegistryAsItsOwnAndTheFactorys) {
  const std::string image = std::string(HWSETUP_SOURCE_DIR) + "/docs/image/reginit.ini";
  ASSERT_EQ(RunNewTerminal("--force --registry '" + image + "' '" + folder_.string() + "'"), 0);
  std::ifstream in(image, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  EXPECT_EQ(ReadFile("registry.reg"), bytes);
  EXPECT_EQ(ReadFile("registry.factory.reg"), bytes);
  EXPECT_NE(Load(), nullptr);
}

// The bench's large terminal: the factory one with KEYS more driver keys, the
// same bytes every time, and a file the simulator reads.
TEST_F(NewTerminalTest, TheLargeTerminalIsTheFactoryOneWithMoreKeys) {
  const std::string factory = ReadFile("registry.reg");
  const std::string command = std::string("'") + HWSETUP_SOURCE_DIR +
                              "/scripts/make-large-terminal' --force '" + folder_.string() +
                              "' 64 >/dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0);
  const std::string large = ReadFile("registry.reg");
  ASSERT_EQ(std::system(command.c_str()), 0);
  EXPECT_EQ(ReadFile("registry.reg"), large) << "two runs make the same bytes";

  sim::RegistryFile file;
  sim::RegistryFile before;
  sim::ParseError error;
  ASSERT_TRUE(sim::RegistryFile::Parse(large, &file, &error)) << error.line << ": " << error.reason;
  ASSERT_TRUE(sim::RegistryFile::Parse(factory, &before, &error));
  EXPECT_EQ(file.KeyPaths().size(), before.KeyPaths().size() + 64);
  EXPECT_EQ(Count(large, "\n"), Count(large, "\r\n")) << "CRLF throughout";
  EXPECT_EQ(file.QueryValue("HKEY_LOCAL_MACHINE\\Drivers\\BuiltIn\\HCD_HSH1", "Dll"),
            before.QueryValue("HKEY_LOCAL_MACHINE\\Drivers\\BuiltIn\\HCD_HSH1", "Dll"));
  const std::size_t toolKey = large.find("HCD_HSH1]");
  EXPECT_LT(large.find("Driver00032]"), toolKey);
  EXPECT_GT(large.find("Driver00033]"), toolKey) << "the tool's keys sit between the halves";
}

}  // namespace
}  // namespace hw::simtest
