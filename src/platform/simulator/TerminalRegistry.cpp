#include "platform/simulator/TerminalRegistry.h"

#include <utility>

#include "platform/Platform.h"
#include "platform/simulator/FileIo.h"
#include "platform/simulator/TerminalLog.h"
#include "platform/simulator/TextCodec.h"

namespace hw::sim {

namespace {

constexpr char kRegistryName[] = "registry.reg";

}  // namespace

TerminalRegistry::TerminalRegistry(std::filesystem::path folder,
                                   const std::vector<std::string>& deniedKeys)
    : folder_(std::move(folder)) {
  for (const std::string& key : deniedKeys) deniedKeys_.push_back("HKEY_LOCAL_MACHINE\\" + key);
}

long TerminalRegistry::Read(RegistryFile* file) const {
  std::string bytes;
  const ReadResult read = ReadWholeFile(folder_ / kRegistryName, &bytes);
  if (read == ReadResult::kAbsent) return kErrorFileNotFound;
  if (read == ReadResult::kFailed) return kErrorBadDb;
  ParseError error;
  if (!RegistryFile::Parse(bytes, file, &error)) {
    ReportTerminalError(folder_, std::string(kRegistryName) + ":" + std::to_string(error.line) +
                                     ": " + error.reason);
    return kErrorBadDb;
  }
  return kErrorSuccess;
}

long TerminalRegistry::OpenKey(const std::string& path) const {
  RegistryFile file;
  if (const long status = Read(&file); status != kErrorSuccess) return status;
  if (!file.HasKey(path)) return kErrorFileNotFound;
  for (const std::string& denied : deniedKeys_) {
    if (EqualsFolded(denied, path)) return kErrorAccessDenied;
  }
  return kErrorSuccess;
}

long TerminalRegistry::QueryValue(const std::string& key, const std::string& name,
                                  RegistryValue* value) const {
  RegistryFile file;
  if (const long status = Read(&file); status != kErrorSuccess) {
    return status == kErrorFileNotFound ? kErrorKeyDeleted : status;
  }
  if (!file.HasKey(key)) return kErrorKeyDeleted;
  const std::optional<RegistryValue> found = file.QueryValue(key, name);
  if (!found) return kErrorFileNotFound;
  *value = *found;
  return kErrorSuccess;
}

long TerminalRegistry::SetValue(const std::string& key, const std::string& name,
                                const RegistryValue& value) const {
  RegistryFile file;
  if (const long status = Read(&file); status != kErrorSuccess) {
    return status == kErrorFileNotFound ? kErrorKeyDeleted : status;
  }
  if (!file.HasKey(key)) return kErrorKeyDeleted;
  if (!file.SetValue(key, name, value)) return kErrorInvalidParameter;
  if (!ReplaceFileAtomically(folder_ / kRegistryName, file.Serialize())) return kErrorWriteFault;
  return kErrorSuccess;
}

}  // namespace hw::sim
