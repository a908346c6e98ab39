#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "RegistryFile.h"

namespace e2e {

// One simulated terminal: a folder copied from the template that
// scripts/new-terminal made, which a case prepares before the tool starts and
// reads back afterwards.
class TerminalFolder {
 public:
  TerminalFolder(const std::filesystem::path& templateFolder, const std::filesystem::path& root);

  const std::filesystem::path& Root() const { return root_; }
  std::filesystem::path PathOf(const std::string& relative) const;

  bool Exists(const std::string& relative) const;
  std::string Read(const std::string& relative) const;  // empty when absent
  void Write(const std::string& relative, const std::string& bytes) const;
  void Remove(const std::string& relative) const;

  // eeprom.bin as bytes; empty when the file is absent.
  std::vector<std::uint8_t> Eeprom() const;
  void SetEeprom(const std::vector<std::uint8_t>& bytes) const;
  void SetCell(std::uint8_t address, std::uint8_t value) const;

  void WriteDeviceIni(const std::string& text) const;

  // debug.log split into lines, each with its "\r\n".
  std::vector<std::string> DebugLog() const;

  RegistryFile Registry() const;
  // Replaces one string value in registry.reg; false when its key is absent.
  bool SeedRegistryValue(const std::string& machineKey, const std::string& name,
                         const std::string& data) const;

 private:
  std::filesystem::path root_;
};

// Splits text after each "\n", keeping the terminators; a last piece without
// one is kept as it is.
std::vector<std::string> SplitLines(const std::string& text);

}  // namespace e2e
