#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/simulator/DeviceConfig.h"
#include "platform/simulator/EepromDevice.h"
#include "platform/simulator/TerminalFiles.h"
#include "platform/simulator/TerminalRegistry.h"

namespace hw {

// A terminal kept in a folder: eeprom.bin, registry.reg, Windows/, Flash Disk/,
// debug.log and the optional faults of device.ini.
class SimulatedTerminal final : public Platform {
 public:
  // Loads `folder` (UTF-8 path). On a malformed device.ini or registry.reg (or
  // an eeprom.bin that is not 256 bytes, or a folder that is not there):
  // returns null and sets *error to "<file>:<line>: <reason>"; the error has
  // already been written once to stderr and appended to debug.log (and, on
  // Windows, OutputDebugStringW).
  static std::unique_ptr<SimulatedTerminal> Load(const std::string& folder, std::string* error);

  SimulatedTerminal(const SimulatedTerminal&) = delete;
  SimulatedTerminal& operator=(const SimulatedTerminal&) = delete;
  ~SimulatedTerminal() override;

  Handle CreateFile(const char16_t* name, std::uint32_t access, std::uint32_t shareMode,
                    const void* securityAttributes, std::uint32_t creationDisposition,
                    std::uint32_t flagsAndAttributes, Handle templateFile) override;
  int DeviceIoControl(Handle device, std::uint32_t ioControlCode, const void* inBuffer,
                      std::uint32_t inSize, void* outBuffer, std::uint32_t outSize,
                      std::uint32_t* bytesReturned, void* overlapped) override;
  int ReadFile(Handle file, void* buffer, std::uint32_t bytesToRead, std::uint32_t* bytesRead,
               void* overlapped) override;
  int WriteFile(Handle file, const void* buffer, std::uint32_t bytesToWrite,
                std::uint32_t* bytesWritten, void* overlapped) override;
  int SetFileAttributes(const char16_t* path, std::uint32_t attributes) override;
  int CloseHandle(Handle handle) override;
  long RegOpenKeyEx(RegKey root, const char16_t* subKey, std::uint32_t options,
                    std::uint32_t samDesired, RegKey* result) override;
  long RegSetValueEx(RegKey key, const char16_t* valueName, std::uint32_t reserved,
                     std::uint32_t type, const std::uint8_t* data,
                     std::uint32_t dataBytes) override;
  long RegCloseKey(RegKey key) override;
  void DebugPrintf(const char16_t* format, std::uint32_t value) override;

 private:
  // One thing a handle stands for: the device, a file or a registry key.
  struct Object {
    enum class Kind { kDevice, kFile, kKey };
    Kind kind = Kind::kDevice;
    std::uint32_t access = 0;
    std::uint32_t shareMode = 0;
    std::string identity;  // the device or file that share modes guard
    std::unique_ptr<sim::OpenFile> file;
    std::string keyPath;  // full, "HKEY_LOCAL_MACHINE\..."
  };

  SimulatedTerminal(std::filesystem::path folder, sim::DeviceConfig faults,
                    sim::RegistryFileCache registry);

  Handle OpenDevice(std::uint32_t access, std::uint32_t shareMode, std::uint32_t disposition);
  Handle OpenFile(const char16_t* name, std::uint32_t access, std::uint32_t shareMode,
                  std::uint32_t disposition);
  bool SharingAllows(const std::string& identity, std::uint32_t access,
                     std::uint32_t shareMode) const;
  std::size_t DeviceOpens() const;
  Handle Add(Object object);
  Object* Find(std::intptr_t handle, Object::Kind kind);

  std::filesystem::path folder_;
  sim::DeviceConfig faults_;
  sim::EepromDevice eeprom_;
  sim::TerminalFiles files_;
  sim::TerminalRegistry registry_;
  std::map<std::intptr_t, Object> objects_;
  // With null_handle every device open is handle 0, so they are counted here.
  std::vector<Object> nullDeviceOpens_;
  std::intptr_t nextHandle_ = 0x100;
};

// The folder the simulator flavour runs on: $HWSETUP_TERMINAL when set and not
// empty, else "terminal" inside `exeDir`.
std::string FindTerminalFolder(const std::string& exeDir);

}  // namespace hw
