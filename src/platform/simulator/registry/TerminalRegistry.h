#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/simulator/registry/RegistryFileCache.h"
#include "platform/simulator/terminal/DeviceConfig.h"

namespace hw::sim {

// The registry as a cold boot leaves it, beside registry.reg: the hive as
// last flushed, there only while a set made since is unflushed; and the
// image's own registry, which a RAM registry returns to.
inline constexpr char kFlushedRegistryName[] = "registry.hive.reg";
inline constexpr char kFactoryRegistryName[] = "registry.factory.reg";

// HKEY_LOCAL_MACHINE in registry.reg. Every call sees the file as it is then,
// so changes made by hand between presses count; the cache parses it only
// when it changed. A file that no longer parses is reported and left alone.
//
// The costs are CE's: a set changes the registry in RAM, here registry.reg
// renamed into place whole but left to the file system's cache; only a
// hive's RegFlushKey forces it to the disk, and a RAM registry never does.
// With a hive, the first set after a flush keeps the file as it was as
// kFlushedRegistryName, which scripts/cold-boot puts back and a flush drops.
// An edit by hand is never kept apart: it counts as flushed.
class TerminalRegistry {
 public:
  // `registry` is the terminal's registry.reg as the terminal's load read it.
  TerminalRegistry(std::filesystem::path folder, RegistryFileCache registry,
                   const std::vector<std::string>& deniedKeys, RegistryPersistence persistence);

  // Full key paths ("HKEY_LOCAL_MACHINE\Drivers\..."). 0, or a Win32 error:
  // ERROR_FILE_NOT_FOUND for a key that is not there, ERROR_ACCESS_DENIED for
  // one that device.ini denies.
  long OpenKey(const std::string& path);
  // ERROR_FILE_NOT_FOUND for a value the key does not hold.
  long QueryValue(const std::string& key, const std::string& name, RegistryValue* value);
  // The set is stored in registry.reg (renamed into place whole) when the
  // registry is flushed, as every group of sets ends, or the terminal reset
  // or let go of: a press's group costs one rewrite of a file of megabytes,
  // not one a value. Until then the calls see it, and the file does not.
  long SetValue(const std::string& key, const std::string& name, const RegistryValue& value);
  // Writes the sets made since the last store; 0, or ERROR_WRITE_FAULT.
  long StorePending();
  // RegFlushKey: with a hive every set so far becomes what a cold boot keeps,
  // forced to the disk (nothing is forced when no set is pending); a RAM
  // registry has no store and refuses, ERROR_NOT_SUPPORTED.
  long Flush();

 private:
  long Refresh();
  bool KeepFlushedCopy() const;

  std::filesystem::path folder_;
  RegistryFileCache registry_;
  std::vector<std::string> deniedKeys_;  // full paths
  RegistryPersistence persistence_;
  bool pending_ = false;  // sets made in memory that registry.reg lacks
};

}  // namespace hw::sim
