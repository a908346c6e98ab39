#include "platform/simulator/terminal/SimulatedTerminal.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string_view>
#include <utility>

#include "platform/DebugFormat.h"
#include "platform/simulator/TextCodec.h"
#include "platform/simulator/Win32Errors.h"
#include "platform/simulator/terminal/TerminalKernel.h"
#include "platform/simulator/terminal/TerminalLog.h"

namespace hw {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kDeviceName = "EOM1:";
constexpr std::string_view kFlashVolume = "\\Flash Disk";
constexpr UInt32 kOpenAlways = 4;
constexpr UInt32 kKeySetValue = 0x0002;

void EndTheProgram() {
  std::fflush(nullptr);  // the lines printed before the reset reach the console
  std::_Exit(0);
}

// Char is wchar_t in Windows builds and char16_t natively: UTF-16 either way.
const char16_t* U16(const Char* text) {
  static_assert(sizeof(Char) == sizeof(char16_t), "text is UTF-16");
  return reinterpret_cast<const char16_t*>(text);
}

// Runs `call` with a std::uint32_t count and hands it back through the
// interface's count, which is a DWORD (unsigned long) in Windows builds.
template <class Call>
int WithCount(UInt32* out, Call call) {
  std::uint32_t count = out != nullptr ? static_cast<std::uint32_t>(*out) : 0;
  const int result = call(out != nullptr ? &count : nullptr);
  if (out != nullptr) *out = count;
  return result;
}

bool IsDeviceName(const Char* name) {
  std::string utf8;
  return sim::Utf16ToUtf8(U16(name), &utf8) && sim::EqualsFolded(utf8, kDeviceName);
}

}  // namespace

SimulatedTerminal::SimulatedTerminal(fs::path folder, sim::DeviceConfig faults,
                                     sim::RegistryFileCache registry, sim::BootRecord drivers)
    : folder_(std::move(folder)),
      faults_(std::move(faults)),
      eeprom_(folder_ / "eeprom.bin", faults_),
      files_(folder_, faults_.flashFreeBytes, faults_.writeBack),
      registry_(folder_, std::move(registry), faults_.deniedKeys, faults_.persistence),
      boot_(folder_, faults_, files_),
      handles_(faults_.nullHandle),
      devices_(faults_, boot_.clock(), std::move(drivers)),
      restart_(EndTheProgram) {}

SimulatedTerminal::~SimulatedTerminal() {
  registry_.StorePending();
  handles_.CloseAll();
  boot_.AtProgramEnd();
}

Handle SimulatedTerminal::CreateFile(const Char* name, UInt32 access, UInt32 shareMode,
                                     const void* /*securityAttributes*/, UInt32 creationDisposition,
                                     UInt32 flagsAndAttributes, Handle /*templateFile*/) {
  if (name == nullptr) return kInvalidHandleValue;
  if (IsDeviceName(name)) return OpenDevice(access, shareMode, creationDisposition);
  return OpenFile(name, access, shareMode, creationDisposition, flagsAndAttributes);
}

Handle SimulatedTerminal::OpenDevice(UInt32 access, UInt32 shareMode, UInt32 disposition) {
  // A device is there or not: it can be opened, never created or truncated.
  if (disposition != kOpenExisting && disposition != kOpenAlways) return kInvalidHandleValue;
  if (!eeprom_.Present()) return kInvalidHandleValue;
  if (faults_.maxOpens && handles_.DeviceOpens() >= *faults_.maxOpens) return kInvalidHandleValue;
  const std::string identity(kDeviceName);
  if (!handles_.SharingAllows(identity, access, shareMode)) return kInvalidHandleValue;
  return handles_.Add(Object{Object::Kind::kDevice, access, shareMode, identity, nullptr, {}});
}

Handle SimulatedTerminal::OpenFile(const Char* name, UInt32 access, UInt32 shareMode,
                                   UInt32 disposition, UInt32 flags) {
  sim::TerminalPath path;
  if (!files_.Map(U16(name), &path)) return kInvalidHandleValue;
  const std::string identity = sim::FoldCase(sim::PathToUtf8(path.host.lexically_normal()));
  // Checked before the open, which may truncate what another handle guards.
  if (!handles_.SharingAllows(identity, access, shareMode)) return kInvalidHandleValue;
  std::unique_ptr<sim::OpenFile> file = files_.Open(path, access, disposition, flags);
  if (file == nullptr) return kInvalidHandleValue;
  return handles_.Add(
      Object{Object::Kind::kFile, access, shareMode, identity, std::move(file), {}});
}

int SimulatedTerminal::DeviceIoControl(Handle device, UInt32 ioControlCode, const void* inBuffer,
                                       UInt32 inSize, void* outBuffer, UInt32 outSize,
                                       UInt32* bytesReturned, void* overlapped) {
  const Object* open = handles_.Find(device, Object::Kind::kDevice);
  if (open == nullptr || overlapped != nullptr) return 0;
  return WithCount(bytesReturned, [&](std::uint32_t* count) {
    return eeprom_.Control(open->access, ioControlCode, inBuffer, inSize, outBuffer, outSize,
                           count);
  });
}

int SimulatedTerminal::ReadFile(Handle file, void* buffer, UInt32 bytesToRead, UInt32* bytesRead,
                                void* overlapped) {
  Object* open = handles_.Find(file, Object::Kind::kFile);
  if (open == nullptr || overlapped != nullptr) return 0;
  return WithCount(bytesRead, [&](std::uint32_t* count) {
    return files_.Read(*open->file, buffer, bytesToRead, count);
  });
}

int SimulatedTerminal::WriteFile(Handle file, const void* buffer, UInt32 bytesToWrite,
                                 UInt32* bytesWritten, void* overlapped) {
  Object* open = handles_.Find(file, Object::Kind::kFile);
  if (open == nullptr || overlapped != nullptr) return 0;
  return WithCount(bytesWritten, [&](std::uint32_t* count) {
    return files_.Write(*open->file, buffer, bytesToWrite, count);
  });
}

int SimulatedTerminal::SetFileAttributes(const Char* path, UInt32 attributes) {
  return path == nullptr ? 0 : files_.SetAttributes(U16(path), attributes);
}

int SimulatedTerminal::DeleteFile(const Char* path) {
  return path == nullptr ? 0 : files_.Remove(U16(path));
}

int SimulatedTerminal::FlushFileBuffers(Handle file) {
  Object* open = handles_.Find(file, Object::Kind::kFile);
  if (open == nullptr) {
    lastError_ = sim::kErrorInvalidHandle;
    return 0;
  }
  if (files_.Flush(*open->file)) return 1;
  lastError_ = sim::kErrorWriteFault;
  return 0;
}

int SimulatedTerminal::CloseHandle(Handle handle) {
  return handles_.Close(handle) ? 1 : 0;
}

long SimulatedTerminal::RegOpenKeyEx(RegKey root, const Char* subKey, UInt32 /*options*/,
                                     UInt32 samDesired, RegKey* result) {
  if (result == nullptr) return sim::kErrorInvalidParameter;
  *result = 0;
  std::string path = "HKEY_LOCAL_MACHINE";
  if (root != kHkeyLocalMachine) {
    const Object* parent = handles_.Find(root, Object::Kind::kKey);
    if (parent == nullptr) return sim::kErrorInvalidHandle;
    path = parent->keyPath;
  }
  std::string relative;
  if (subKey != nullptr && !sim::Utf16ToUtf8(U16(subKey), &relative)) {
    return sim::kErrorInvalidParameter;
  }
  if (!relative.empty()) path += "\\" + relative;
  if (const long status = registry_.OpenKey(path); status != kErrorSuccess) return status;
  *result = handles_.Add(Object{Object::Kind::kKey, samDesired, 0, {}, nullptr, path});
  return kErrorSuccess;
}

long SimulatedTerminal::RegSetValueEx(RegKey key, const Char* valueName, UInt32 /*reserved*/,
                                      UInt32 type, const UInt8* data, UInt32 dataBytes) {
  const Object* open = handles_.Find(key, Object::Kind::kKey);
  if (open == nullptr) return sim::kErrorInvalidHandle;
  if ((open->access & kKeySetValue) == 0) return kErrorAccessDenied;
  std::string name;
  if (valueName != nullptr && !sim::Utf16ToUtf8(U16(valueName), &name)) {
    return sim::kErrorInvalidParameter;
  }
  if (data == nullptr && dataBytes != 0) return sim::kErrorInvalidParameter;
  sim::RegistryValue value;
  value.type = type;
  if (dataBytes != 0) value.data.assign(data, data + dataBytes);
  return registry_.SetValue(open->keyPath, name, value);
}

long SimulatedTerminal::RegQueryValueEx(RegKey key, const Char* valueName, UInt32* reserved,
                                        UInt32* type, UInt8* data, UInt32* dataBytes) {
  const Object* open = handles_.Find(key, Object::Kind::kKey);
  if (open == nullptr) return sim::kErrorInvalidHandle;
  if (reserved != nullptr || (data != nullptr && dataBytes == nullptr)) {
    return sim::kErrorInvalidParameter;
  }
  std::string name;
  if (valueName != nullptr && !sim::Utf16ToUtf8(U16(valueName), &name)) {
    return sim::kErrorInvalidParameter;
  }
  sim::RegistryValue value;
  if (const long status = registry_.QueryValue(open->keyPath, name, &value);
      status != kErrorSuccess) {
    return status;
  }
  if (type != nullptr) *type = value.type;
  if (dataBytes == nullptr) return kErrorSuccess;
  const auto size = static_cast<UInt32>(value.data.size());
  const UInt32 room = *dataBytes;
  *dataBytes = size;
  if (data == nullptr) return kErrorSuccess;
  if (room < size) return kErrorMoreData;
  std::copy(value.data.begin(), value.data.end(), data);
  return kErrorSuccess;
}

long SimulatedTerminal::RegCloseKey(RegKey key) {
  return handles_.CloseKey(key) ? kErrorSuccess : sim::kErrorInvalidHandle;
}

long SimulatedTerminal::RegFlushKey(RegKey key) {
  if (key != kHkeyLocalMachine && handles_.Find(key, Object::Kind::kKey) == nullptr) {
    return sim::kErrorInvalidHandle;
  }
  return registry_.Flush();
}

UInt32 SimulatedTerminal::GetLastError() {
  return lastError_;
}

UInt32 SimulatedTerminal::SetSystemPowerState(const Char* state, UInt32 stateFlags,
                                              UInt32 /*options*/) {
  if (state != nullptr || stateFlags != kPowerStateReset) return kErrorNotSupported;
  registry_.StorePending();  // a warm reset keeps the registry in RAM
  return boot_.WarmReset(restart_);
}

void SimulatedTerminal::Sleep(UInt32 milliseconds) {
  boot_.Sleep(milliseconds);
}

int SimulatedTerminal::KernelIoControl(UInt32 ioControlCode, void* inBuffer, UInt32 inSize,
                                       void* outBuffer, UInt32 outSize, UInt32* bytesReturned) {
  return sim::AnswerKernelIoControl(faults_, ioControlCode, inBuffer, inSize, outBuffer, outSize,
                                    bytesReturned);
}

void SimulatedTerminal::GetLocalTime(SystemTime* time) {
  boot_.clock().Local(time);
}

void SimulatedTerminal::GetSystemTime(SystemTime* time) {
  boot_.clock().Utc(time);
}

int SimulatedTerminal::CeFsIoControl(const Char* root, UInt32 ioControlCode, void* /*inBuffer*/,
                                     UInt32 /*inSize*/, void* /*outBuffer*/, UInt32 /*outSize*/,
                                     UInt32* bytesReturned, void* /*overlapped*/) {
  if (bytesReturned != nullptr) *bytesReturned = 0;
  std::string volume;
  const bool flush = root != nullptr && sim::Utf16ToUtf8(U16(root), &volume) &&
                     sim::EqualsFolded(volume, kFlashVolume) && ioControlCode == kFsctlFlushBuffers;
  const sim::VolumeFlush answer = flush ? faults_.volumeFlush : sim::VolumeFlush::kUnsupported;
  if (answer == sim::VolumeFlush::kWorks) {
    files_.FlushVolume();
    return 1;
  }
  lastError_ = answer == sim::VolumeFlush::kFails ? sim::kErrorWriteFault : kErrorNotSupported;
  return 0;
}

void SimulatedTerminal::SignalStarted(UInt32 sequence) {
  const std::string line = "SignalStarted(" + std::to_string(sequence) + ")\r\n";
  sim::WriteDebugLine(folder_, std::u16string(line.begin(), line.end()));
}

int SimulatedTerminal::CeGenRandom(UInt32 length, UInt8* buffer) {
  std::random_device random;
  for (UInt32 i = 0; i < length; ++i) buffer[i] = static_cast<UInt8>(random());
  return 1;
}

DriverListResult SimulatedTerminal::ListLoadedDrivers(LoadedDriver* drivers, UInt32 capacity,
                                                      UInt32* count) {
  return devices_.List(drivers, capacity, count);
}

void SimulatedTerminal::DebugPrintf(const Char* format, UInt32 value) {
  if (format == nullptr) return;
  Char line[kDebugLineCapacity];
  const std::size_t length = FormatDebugLine(line, kDebugLineCapacity, format, value);
  sim::WriteDebugLine(folder_, std::u16string_view(U16(line), length));
}

}  // namespace hw
