#include "platform/simulator/registry/TerminalRegistry.h"

#include <utility>

#include "platform/Platform.h"
#include "platform/simulator/TextCodec.h"
#include "platform/simulator/Win32Errors.h"
#include "platform/simulator/terminal/TerminalLog.h"

namespace hw::sim {

namespace fs = std::filesystem;

TerminalRegistry::TerminalRegistry(fs::path folder, RegistryFileCache registry,
                                   const std::vector<std::string>& deniedKeys,
                                   RegistryPersistence persistence)
    : folder_(std::move(folder)), registry_(std::move(registry)), persistence_(persistence) {
  for (const std::string& key : deniedKeys) deniedKeys_.push_back("HKEY_LOCAL_MACHINE\\" + key);
}

long TerminalRegistry::Refresh() {
  if (pending_) return kErrorSuccess;  // the sets not yet stored are the registry
  ParseError error;
  switch (registry_.Refresh(&error)) {
    case RegistryFileCache::State::kCurrent: return kErrorSuccess;
    case RegistryFileCache::State::kAbsent: return kErrorFileNotFound;
    case RegistryFileCache::State::kUnreadable: return kErrorBadDb;
    case RegistryFileCache::State::kMalformed: break;
  }
  ReportTerminalError(folder_, "registry.reg:" + std::to_string(error.line) + ": " + error.reason);
  return kErrorBadDb;
}

long TerminalRegistry::OpenKey(const std::string& path) {
  if (const long status = Refresh(); status != kErrorSuccess) return status;
  if (!registry_.file().HasKey(path)) return kErrorFileNotFound;
  for (const std::string& denied : deniedKeys_) {
    if (EqualsFolded(denied, path)) return kErrorAccessDenied;
  }
  return kErrorSuccess;
}

long TerminalRegistry::QueryValue(const std::string& key, const std::string& name,
                                  RegistryValue* value) {
  if (const long status = Refresh(); status != kErrorSuccess) {
    return status == kErrorFileNotFound ? kErrorKeyDeleted : status;
  }
  const RegistryFile& file = registry_.file();
  if (!file.HasKey(key)) return kErrorKeyDeleted;
  const std::optional<RegistryValue> found = file.QueryValue(key, name);
  if (!found) return kErrorFileNotFound;
  *value = *found;
  return kErrorSuccess;
}

long TerminalRegistry::SetValue(const std::string& key, const std::string& name,
                                const RegistryValue& value) {
  if (const long status = Refresh(); status != kErrorSuccess) {
    return status == kErrorFileNotFound ? kErrorKeyDeleted : status;
  }
  RegistryFile& file = registry_.file();
  if (!file.HasKey(key)) return kErrorKeyDeleted;
  if (!file.SetValue(key, name, value)) return kErrorInvalidParameter;
  if (!KeepFlushedCopy()) return kErrorWriteFault;
  pending_ = true;
  return kErrorSuccess;
}

long TerminalRegistry::StorePending() {
  if (!pending_) return kErrorSuccess;
  pending_ = false;
  return registry_.Store() ? kErrorSuccess : kErrorWriteFault;
}

// The set about to be stored replaces registry.reg by a rename, so a second
// name for the file as it is now keeps it whole: no copy of megabytes.
bool TerminalRegistry::KeepFlushedCopy() const {
  if (persistence_ != RegistryPersistence::kHive) return true;
  const fs::path flushed = folder_ / kFlushedRegistryName;
  std::error_code ec;
  if (fs::exists(flushed, ec)) return true;
  fs::create_hard_link(folder_ / "registry.reg", flushed, ec);
  if (ec) fs::copy_file(folder_ / "registry.reg", flushed, ec);
  return !ec;
}

long TerminalRegistry::Flush() {
  if (const long stored = StorePending(); stored != kErrorSuccess) return stored;
  if (persistence_ == RegistryPersistence::kRam) return kErrorNotSupported;
  const fs::path flushed = folder_ / kFlushedRegistryName;
  std::error_code ec;
  // Nothing set since the last flush: the disk already holds the hive.
  if (!fs::exists(flushed, ec)) return ec ? kErrorWriteFault : kErrorSuccess;
  // The sets reach the disk before the flushed copy goes: a power cut in
  // between still finds a hive to boot from.
  if (!ForceToDisk(folder_ / "registry.reg")) return kErrorWriteFault;
  fs::remove(flushed, ec);
  return ec ? kErrorWriteFault : kErrorSuccess;
}

}  // namespace hw::sim
