#include "RecordingPlatform.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>

#include "platform/DebugFormat.h"

namespace hw::test {

std::string Utf8(const std::u16string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    std::uint32_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size()) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::string Utf8(const char16_t* text) { return text ? Utf8(std::u16string(text)) : "null"; }

namespace {

std::string Hex(std::uint64_t v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "0x%llX", static_cast<unsigned long long>(v));
  return buf;
}
std::string Quoted(const char16_t* text) { return text ? "\"" + Utf8(text) + "\"" : "null"; }
std::string Ptr(const void* p) { return p ? "ptr" : "null"; }
std::string Bytes(const void* data, std::uint32_t size) {
  if (data == nullptr) return "null";
  std::string out = "[";
  const auto* b = static_cast<const std::uint8_t*>(data);
  for (std::uint32_t i = 0; i < size; ++i) out += (i ? " " : "") + Hex(b[i]);
  return out + "]";
}

}  // namespace

std::vector<std::string> RecordingPlatform::OpenFiles() const {
  std::vector<std::string> out;
  for (const auto& [handle, file] : open_) out.push_back(Utf8(file.path));
  return out;
}

std::vector<std::string> RecordingPlatform::CallsNamed(const std::string& name) const {
  std::vector<std::string> out;
  for (const std::string& call : calls) {
    if (call.compare(0, name.size() + 1, name + "(") == 0) out.push_back(call);
  }
  return out;
}

Handle RecordingPlatform::CreateFile(const char16_t* name, std::uint32_t access,
                                     std::uint32_t shareMode, const void* securityAttributes,
                                     std::uint32_t creationDisposition,
                                     std::uint32_t flagsAndAttributes, Handle templateFile) {
  calls.push_back("CreateFile(" + Quoted(name) + ", " + Hex(access) + ", " + Hex(shareMode) +
                  ", " + Ptr(securityAttributes) + ", " + std::to_string(creationDisposition) +
                  ", " + Hex(flagsAndAttributes) + ", " + std::to_string(templateFile) + ")");
  const std::u16string path = name;
  if (path == u"EOM1:") {
    if (!deviceOpens) return kInvalidHandleValue;
    const Handle h = nullDeviceHandle ? 0 : nextHandle_++;
    devices_.insert(h);
    return h;
  }
  if (heldOpen.count(path)) {
    lastError = kErrorSharingViolation;
    return kInvalidHandleValue;
  }
  const bool write = (access & kGenericWrite) != 0;
  if (write) {
    const std::u16string folder = path.substr(0, path.rfind(u'\\') + 1);
    bool writable = false;
    for (const auto& candidate : writableFolders) writable |= candidate == folder;
    const bool create = creationDisposition == kCreateAlways;
    if (!writable || readOnly.count(path) || (!create && !files.count(path))) {
      return kInvalidHandleValue;
    }
    if (create) files[path].clear();
  } else if (!files.count(path) || creationDisposition != kOpenExisting) {
    return kInvalidHandleValue;
  }
  const Handle h = nextHandle_++;
  open_[h] = {path, write, 0};
  return h;
}

int RecordingPlatform::DeviceIoControl(Handle device, std::uint32_t ioControlCode,
                                       const void* inBuffer, std::uint32_t inSize,
                                       void* outBuffer, std::uint32_t outSize,
                                       std::uint32_t* bytesReturned, void* overlapped) {
  calls.push_back("DeviceIoControl(" + std::to_string(device) + ", " +
                  std::to_string(ioControlCode) + ", " + Bytes(inBuffer, inSize) + ", " +
                  std::to_string(inSize) + ", " + Bytes(outBuffer, outSize) + ", " +
                  std::to_string(outSize) + ", " + Ptr(bytesReturned) + ", " + Ptr(overlapped) +
                  ")");
  if (!devices_.count(device)) {
    faults.push_back("DeviceIoControl on a handle that is not the device");
    return 0;
  }
  const auto* in = static_cast<const std::uint8_t*>(inBuffer);
  if (ioControlCode == 2 && inSize == 1 && outSize == 1) {
    if (failRead.count(in[0])) return 0;
    if (!readStoresNothing.count(in[0])) *static_cast<std::uint8_t*>(outBuffer) = eeprom[in[0]];
    return 1;
  }
  if (ioControlCode == 1 && inSize == 2) {
    if (failWrite.count(in[0])) return 0;
    eeprom[in[0]] = in[1];
    return 1;
  }
  faults.push_back("DeviceIoControl request with an unknown layout");
  return 0;
}

int RecordingPlatform::ReadFile(Handle file, void* buffer, std::uint32_t bytesToRead,
                                std::uint32_t* bytesRead, void* overlapped) {
  calls.push_back("ReadFile(" + std::to_string(file) + ", " + Ptr(buffer) + ", " +
                  std::to_string(bytesToRead) + ", " + Ptr(bytesRead) + ", " + Ptr(overlapped) +
                  ")");
  auto it = open_.find(file);
  if (it == open_.end() || it->second.write) {
    faults.push_back("ReadFile on a handle not open for reading");
    return 0;
  }
  const std::vector<std::uint8_t>& content = files[it->second.path];
  const std::size_t left = content.size() - it->second.position;
  const std::uint32_t n = static_cast<std::uint32_t>(left < bytesToRead ? left : bytesToRead);
  if (n != 0) std::memcpy(buffer, content.data() + it->second.position, n);
  it->second.position += n;
  *bytesRead = n;
  return 1;
}

int RecordingPlatform::WriteFile(Handle file, const void* buffer, std::uint32_t bytesToWrite,
                                 std::uint32_t* bytesWritten, void* overlapped) {
  calls.push_back("WriteFile(" + std::to_string(file) + ", " + Ptr(buffer) + ", " +
                  std::to_string(bytesToWrite) + ", " + Ptr(bytesWritten) + ", " +
                  Ptr(overlapped) + ")");
  auto it = open_.find(file);
  if (it == open_.end() || !it->second.write) {
    faults.push_back("WriteFile on a handle not open for writing");
    return 0;
  }
  const std::uint32_t n = bytesToWrite < writeLimit ? bytesToWrite : writeLimit;
  const auto* b = static_cast<const std::uint8_t*>(buffer);
  files[it->second.path].insert(files[it->second.path].end(), b, b + n);
  unflushed.insert(it->second.path);
  *bytesWritten = n;
  return n == bytesToWrite ? 1 : 0;
}

int RecordingPlatform::SetFileAttributes(const char16_t* path, std::uint32_t attributes) {
  calls.push_back("SetFileAttributes(" + Quoted(path) + ", " + Hex(attributes) + ")");
  if (!files.count(path)) return 0;
  if (attributes == kFileAttributeNormal) readOnly.erase(path);
  return 1;
}

int RecordingPlatform::DeleteFile(const char16_t* path) {
  calls.push_back("DeleteFile(" + Quoted(path) + ")");
  if (readOnly.count(path)) return 0;
  unflushed.erase(path);
  return files.erase(path) == 1 ? 1 : 0;
}

int RecordingPlatform::FlushFileBuffers(Handle file) {
  calls.push_back("FlushFileBuffers(" + std::to_string(file) + ")");
  const auto it = open_.find(file);
  if (it == open_.end() || !it->second.write) {
    faults.push_back("FlushFileBuffers on a handle not open for writing");
    return 0;
  }
  if (failFlush.count(it->second.path) != 0) {
    lastError = failFlushError;
    return 0;
  }
  unflushed.erase(it->second.path);
  return 1;
}

int RecordingPlatform::CloseHandle(Handle handle) {
  calls.push_back("CloseHandle(" + std::to_string(handle) + ")");
  const auto it = open_.find(handle);
  if (it != open_.end() && it->second.write && vanishing.count(it->second.path)) {
    files.erase(it->second.path);
  }
  if (open_.erase(handle) == 1) {
    closed_.insert(handle);
    return 1;
  }
  faults.push_back(closed_.count(handle) ? "handle " + std::to_string(handle) + " closed twice"
                                         : "CloseHandle of unknown handle " +
                                               std::to_string(handle));
  return 0;
}

long RecordingPlatform::RegOpenKeyEx(RegKey root, const char16_t* subKey, std::uint32_t options,
                                     std::uint32_t samDesired, RegKey* result) {
  calls.push_back("RegOpenKeyEx(" + std::string(root == kHkeyLocalMachine ? "HKLM" : "other") +
                  ", " + Quoted(subKey) + ", " + std::to_string(options) + ", " +
                  Hex(samDesired) + ")");
  if (root != kHkeyLocalMachine || !keys.count(subKey)) return kErrorFileNotFound;
  if (deniedKeys.count(subKey)) return kErrorAccessDenied;
  *result = nextKey_++;
  openKeys_[*result] = subKey;
  return kErrorSuccess;
}

long RecordingPlatform::RegSetValueEx(RegKey key, const char16_t* valueName,
                                      std::uint32_t reserved, std::uint32_t type,
                                      const std::uint8_t* data, std::uint32_t dataBytes) {
  // The data as the length gives it, so a wrong length shows in the text.
  std::u16string text(reinterpret_cast<const char16_t*>(data), dataBytes / 2);
  const bool terminated = !text.empty() && text.back() == u'\0';
  if (terminated) text.pop_back();
  calls.push_back("RegSetValueEx(" + Quoted(valueName) + ", " + std::to_string(reserved) + ", " +
                  std::to_string(type) + ", \"" + Utf8(text) + "\"" +
                  (terminated ? "" : " unterminated") + ", " + std::to_string(dataBytes) + ")");
  auto it = openKeys_.find(key);
  if (it == openKeys_.end()) {
    faults.push_back("RegSetValueEx on a key that is not open");
    return kErrorFileNotFound;
  }
  if (failSetValue.count(valueName)) return kErrorAccessDenied;
  keys[it->second][valueName] = text;
  return kErrorSuccess;
}

long RecordingPlatform::RegQueryValueEx(RegKey key, const char16_t* valueName,
                                        std::uint32_t* reserved, std::uint32_t* type,
                                        std::uint8_t* data, std::uint32_t* dataBytes) {
  calls.push_back("RegQueryValueEx(" + Quoted(valueName) + ", " + Ptr(reserved) + ", " +
                  Ptr(type) + ", " + Ptr(data) + ", " +
                  (dataBytes ? std::to_string(*dataBytes) : std::string("null")) + ")");
  auto it = openKeys_.find(key);
  if (it == openKeys_.end()) {
    faults.push_back("RegQueryValueEx on a key that is not open");
    return kErrorFileNotFound;
  }
  const auto& values = keys[it->second];
  const auto value = values.find(valueName);
  if (value == values.end()) return kErrorFileNotFound;
  // Stored as REG_SZ does: the text and its terminator.
  const std::uint32_t size = static_cast<std::uint32_t>((value->second.size() + 1) * 2);
  if (type != nullptr) *type = kRegSz;
  if (dataBytes == nullptr) return kErrorSuccess;
  const std::uint32_t room = *dataBytes;
  *dataBytes = size;
  if (data == nullptr) return kErrorSuccess;
  if (room < size) return kErrorMoreData;
  std::memcpy(data, value->second.c_str(), size);
  return kErrorSuccess;
}

long RecordingPlatform::RegCloseKey(RegKey key) {
  calls.push_back("RegCloseKey()");
  if (openKeys_.erase(key) == 1) return kErrorSuccess;
  faults.push_back("RegCloseKey of a key that is not open");
  return kErrorFileNotFound;
}

long RecordingPlatform::RegFlushKey(RegKey key) {
  calls.push_back("RegFlushKey(" + std::string(key == kHkeyLocalMachine ? "HKLM" : "other") + ")");
  return flushResult;
}

std::uint32_t RecordingPlatform::SetSystemPowerState(const char16_t* state,
                                                     std::uint32_t stateFlags,
                                                     std::uint32_t options) {
  calls.push_back("SetSystemPowerState(" + Quoted(state) + ", " + Hex(stateFlags) + ", " +
                  Hex(options) + ")");
  ++resets;
  if (powerStateResult == 0 && resetComes) throw ResetCame{};
  return powerStateResult;
}

int RecordingPlatform::CeFsIoControl(const char16_t* root, std::uint32_t ioControlCode,
                                     void* inBuffer, std::uint32_t inSize, void* outBuffer,
                                     std::uint32_t outSize, std::uint32_t* bytesReturned,
                                     void* overlapped) {
  calls.push_back("CeFsIoControl(" + Quoted(root) + ", " + Hex(ioControlCode) + ", " +
                  Ptr(inBuffer) + ", " + std::to_string(inSize) + ", " + Ptr(outBuffer) + ", " +
                  std::to_string(outSize) + ", " + Ptr(bytesReturned) + ", " + Ptr(overlapped) +
                  ")");
  if (volumeFlushError != 0) {
    lastError = volumeFlushError;
    return 0;
  }
  const std::u16string folder = std::u16string(root) + u"\\";
  for (auto it = unflushed.begin(); it != unflushed.end();) {
    it = it->rfind(folder, 0) == 0 ? unflushed.erase(it) : std::next(it);
  }
  return 1;
}

void RecordingPlatform::SignalStarted(std::uint32_t sequence) {
  calls.push_back("SignalStarted(" + std::to_string(sequence) + ")");
  signalled.push_back(sequence);
}

int RecordingPlatform::CeGenRandom(std::uint32_t length, std::uint8_t* buffer) {
  calls.push_back("CeGenRandom(" + std::to_string(length) + ", " + Ptr(buffer) + ")");
  if (!randomWorks) return 0;
  for (std::uint32_t i = 0; i < length; ++i) buffer[i] = nextRandom++;
  return 1;
}

namespace {

void CopyCut(const std::u16string& from, char16_t* to, std::size_t capacity, bool* cut) {
  const std::size_t n = std::min(from.size(), capacity - 1);
  std::copy(from.begin(), from.begin() + n, to);
  to[n] = 0;
  *cut = *cut || n < from.size();
}

}  // namespace

DriverListResult RecordingPlatform::ListLoadedDrivers(LoadedDriver* list, std::uint32_t capacity,
                                                      std::uint32_t* count) {
  calls.push_back("ListLoadedDrivers(" + std::to_string(capacity) + ")");
  *count = 0;
  if (!driverListAvailable) return kDriverListNotAvailable;
  for (const Driver& driver : drivers) {
    if (driver.loadedAfter > slept) continue;
    if (*count == capacity) return kDriverListFull;
    LoadedDriver& out = list[(*count)++];
    out.cut = false;
    CopyCut(driver.legacyName, out.legacyName, std::size(out.legacyName), &out.cut);
    CopyCut(driver.key, out.deviceKey, std::size(out.deviceKey), &out.cut);
    CopyCut(driver.name, out.deviceName, std::size(out.deviceName), &out.cut);
  }
  return kDriverListRead;
}

void RecordingPlatform::Sleep(std::uint32_t milliseconds) {
  calls.push_back("Sleep(" + std::to_string(milliseconds) + ")");
  slept += milliseconds;
}

int RecordingPlatform::KernelIoControl(std::uint32_t ioControlCode, void* inBuffer,
                                       std::uint32_t inSize, void* outBuffer,
                                       std::uint32_t outSize, std::uint32_t* bytesReturned) {
  calls.push_back("KernelIoControl(" + Hex(ioControlCode) + ", " + Ptr(inBuffer) + ", " +
                  std::to_string(inSize) + ", " + Ptr(outBuffer) + ", " +
                  std::to_string(outSize) + ", " + Ptr(bytesReturned) + ")");
  if (ioControlCode == kIoctlHalGetDeviceInfo) {
    std::uint32_t spi = 0;
    if (inSize == sizeof spi) std::memcpy(&spi, inBuffer, sizeof spi);
    if (spi != kSpiGetUuid || uuid.empty() || bytesReturned == nullptr) return 0;
    *bytesReturned = static_cast<std::uint32_t>(uuid.size());
    if (outBuffer == nullptr || outSize < uuid.size()) return 0;
    std::memcpy(outBuffer, uuid.data(), uuid.size());
    return 1;
  }
  if (ioControlCode != kIoctlHalGetDeviceId || !deviceIdWorks) return 0;
  if (outBuffer == nullptr || outSize < sizeof(DeviceId)) return 0;
  // The preset id, then the platform id, after the header.
  const auto presetBytes = static_cast<std::uint32_t>(presetId.size());
  const auto platformBytes = static_cast<std::uint32_t>(platformId.size());
  const auto headerBytes = static_cast<std::uint32_t>(sizeof(DeviceId));
  DeviceId header{headerBytes + presetBytes + platformBytes, headerBytes, presetBytes,
                  headerBytes + presetBytes, platformBytes};
  auto* out = static_cast<std::uint8_t*>(outBuffer);
  if (outSize < header.size) {
    std::memcpy(out, &header.size, sizeof header.size);
    return 0;
  }
  std::memcpy(out, &header, sizeof header);
  if (presetBytes) std::memcpy(out + header.presetIdOffset, presetId.data(), presetBytes);
  if (platformBytes) std::memcpy(out + header.platformIdOffset, platformId.data(), platformBytes);
  if (bytesReturned != nullptr) *bytesReturned = header.size;
  return 1;
}

void RecordingPlatform::GetLocalTime(SystemTime* time) {
  calls.push_back("GetLocalTime(" + Ptr(time) + ")");
  *time = localTime;
}

void RecordingPlatform::GetSystemTime(SystemTime* time) {
  calls.push_back("GetSystemTime(" + Ptr(time) + ")");
  *time = systemTime;
}

void RecordingPlatform::DebugPrintf(const char16_t* format, std::uint32_t value) {
  calls.push_back("DebugPrintf(" + Quoted(format) + ")");
  char16_t line[kDebugLineCapacity];
  FormatDebugLine(line, kDebugLineCapacity, format, value);
  debugLines.push_back(Utf8(line));
}

}  // namespace hw::test
