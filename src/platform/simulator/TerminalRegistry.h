#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/simulator/RegistryFile.h"

namespace hw::sim {

// Win32 error codes the registry gives beyond those the tool knows.
inline constexpr long kErrorInvalidHandle = 6;
inline constexpr long kErrorWriteFault = 29;
inline constexpr long kErrorInvalidParameter = 87;
inline constexpr long kErrorBadDb = 1009;
inline constexpr long kErrorKeyDeleted = 1018;

// HKEY_LOCAL_MACHINE in registry.reg. The file is read afresh for every call,
// so changes made by hand between presses count, and each set is renamed into
// place. A file that no longer parses is reported and left alone.
class TerminalRegistry {
 public:
  TerminalRegistry(std::filesystem::path folder, const std::vector<std::string>& deniedKeys);

  // Full key paths ("HKEY_LOCAL_MACHINE\Drivers\..."). 0, or a Win32 error:
  // ERROR_FILE_NOT_FOUND for a key that is not there, ERROR_ACCESS_DENIED for
  // one that device.ini denies.
  long OpenKey(const std::string& path) const;
  // ERROR_FILE_NOT_FOUND for a value the key does not hold.
  long QueryValue(const std::string& key, const std::string& name, RegistryValue* value) const;
  long SetValue(const std::string& key, const std::string& name, const RegistryValue& value) const;

 private:
  long Read(RegistryFile* file) const;

  std::filesystem::path folder_;
  std::vector<std::string> deniedKeys_;  // full paths
};

}  // namespace hw::sim
