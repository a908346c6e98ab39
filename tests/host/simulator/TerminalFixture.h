#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/simulator/terminal/SimulatedTerminal.h"

namespace hw::simtest {

namespace fs = std::filesystem;

inline constexpr char kRegHeader[] = "Windows Registry Editor Version 5.00\r\n";

// Each test gets a fresh terminal from scripts/new-terminal in a folder of its
// own, removed afterwards.
class TerminalTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  fs::path PathOf(std::string_view relative) const;
  std::string ReadFile(std::string_view relative) const;
  void WriteFile(std::string_view relative, std::string_view bytes) const;
  // Every file below the folder, relative, sorted.
  std::vector<std::string> Listing() const;
  // Loads the folder; a failure is a test failure that names the error.
  std::unique_ptr<SimulatedTerminal> Load() const;

  fs::path folder_;
};

// Runs scripts/new-terminal with `arguments`; returns its exit status.
int RunNewTerminal(const std::string& arguments);
fs::path MakeTemporaryFolder();

Handle OpenEeprom(Platform& os);
// Sets a REG_SZ value of an existing key under HKEY_LOCAL_MACHINE.
long SetString(Platform& os, const char16_t* key, const char16_t* name, std::u16string text,
               std::uint32_t access = kKeyAllAccess);
Handle OpenForRead(Platform& os, const char16_t* path);
Handle OpenForWrite(Platform& os, const char16_t* path);

std::size_t Count(const std::string& text, const std::string& part);

// The file with the first occurrence of `from` after `anchor` replaced.
std::string ReplacedAfter(const std::string& text, std::string_view anchor, std::string_view from,
                          std::string_view to);

}  // namespace hw::simtest
