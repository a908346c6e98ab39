#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/simulator/RegistryFileCache.h"

namespace hw::sim {

// Win32 error codes the registry gives beyond those the tool knows.
inline constexpr long kErrorInvalidHandle = 6;
inline constexpr long kErrorWriteFault = 29;
inline constexpr long kErrorInvalidParameter = 87;
inline constexpr long kErrorBadDb = 1009;
inline constexpr long kErrorKeyDeleted = 1018;

// HKEY_LOCAL_MACHINE in registry.reg. Every call sees the file as it is then,
// so changes made by hand between presses count; the cache parses it only
// when it changed. Each set is renamed into place. A file that no longer
// parses is reported and left alone.
class TerminalRegistry {
 public:
  // `registry` is the terminal's registry.reg as the terminal's load read it.
  TerminalRegistry(std::filesystem::path folder, RegistryFileCache registry,
                   const std::vector<std::string>& deniedKeys);

  // Full key paths ("HKEY_LOCAL_MACHINE\Drivers\..."). 0, or a Win32 error:
  // ERROR_FILE_NOT_FOUND for a key that is not there, ERROR_ACCESS_DENIED for
  // one that device.ini denies.
  long OpenKey(const std::string& path);
  // ERROR_FILE_NOT_FOUND for a value the key does not hold.
  long QueryValue(const std::string& key, const std::string& name, RegistryValue* value);
  long SetValue(const std::string& key, const std::string& name, const RegistryValue& value);

 private:
  long Refresh();

  std::filesystem::path folder_;
  RegistryFileCache registry_;
  std::vector<std::string> deniedKeys_;  // full paths
};

}  // namespace hw::sim
