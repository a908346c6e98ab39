#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "platform/Platform.h"
#include "platform/simulator/files/TerminalFiles.h"
#include "platform/simulator/registry/TerminalRegistry.h"
#include "platform/simulator/terminal/DeviceConfig.h"
#include "platform/simulator/terminal/DeviceManager.h"
#include "platform/simulator/terminal/EepromDevice.h"
#include "platform/simulator/terminal/HandleTable.h"
#include "platform/simulator/terminal/TerminalBoot.h"
#include "platform/simulator/terminal/TerminalLoad.h"

namespace hw {

// A terminal kept in a folder: eeprom.bin, registry.reg, Windows/, Flash Disk/,
// debug.log and the optional faults of device.ini. Each call is forwarded to
// the room of the terminal that plays it: the handle table, the EEPROM
// device, the file system, the registry, the boots and the kernel; here
// the calls' text becomes UTF-8 and their buffers are filled.
class SimulatedTerminal final : public Platform {
 public:
  // Loads `folder` (UTF-8 path); the first load after a boot loads the boot's
  // drivers (sim::DeviceManager). On a malformed device.ini, registry.reg or
  // drivers.txt (or an eeprom.bin that is not 256 bytes, or a folder that is
  // not there):
  // returns null and sets *error to "<file>:<line>: <reason>", which the
  // caller tells the user; it has been appended to debug.log (and, on
  // Windows, passed to OutputDebugStringW). With no `error`, it has been
  // written once to stderr too.
  static std::unique_ptr<SimulatedTerminal> Load(const std::string& folder, std::string* error);

  SimulatedTerminal(const SimulatedTerminal&) = delete;
  SimulatedTerminal& operator=(const SimulatedTerminal&) = delete;
  ~SimulatedTerminal();

  Handle CreateFile(const Char* name, UInt32 access, UInt32 shareMode,
                    const void* securityAttributes, UInt32 creationDisposition,
                    UInt32 flagsAndAttributes, Handle templateFile) override;
  int DeviceIoControl(Handle device, UInt32 ioControlCode, const void* inBuffer, UInt32 inSize,
                      void* outBuffer, UInt32 outSize, UInt32* bytesReturned,
                      void* overlapped) override;
  int ReadFile(Handle file, void* buffer, UInt32 bytesToRead, UInt32* bytesRead,
               void* overlapped) override;
  int WriteFile(Handle file, const void* buffer, UInt32 bytesToWrite, UInt32* bytesWritten,
                void* overlapped) override;
  int SetFileAttributes(const Char* path, UInt32 attributes) override;
  int DeleteFile(const Char* path) override;
  // Puts what the flash cache holds of the file on its volume.
  int FlushFileBuffers(Handle file) override;
  int CloseHandle(Handle handle) override;
  long RegOpenKeyEx(RegKey root, const Char* subKey, UInt32 options, UInt32 samDesired,
                    RegKey* result) override;
  long RegSetValueEx(RegKey key, const Char* valueName, UInt32 reserved, UInt32 type,
                     const UInt8* data, UInt32 dataBytes) override;
  long RegQueryValueEx(RegKey key, const Char* valueName, UInt32* reserved, UInt32* type,
                       UInt8* data, UInt32* dataBytes) override;
  long RegCloseKey(RegKey key) override;
  long RegFlushKey(RegKey key) override;
  // The error of the last FlushFileBuffers or CeFsIoControl that failed.
  UInt32 GetLastError() override;
  // A warm reset, as sim::TerminalBoot has it: recorded in restarts.log, it
  // ends the program as the terminal's reset would, at once, with exit code
  // 0. It keeps the registry, flushed or not, and, unless the board clears
  // it, the object store; it loses what a write-back flash cache held. With
  // [power] reset = late it answers success, the program goes on, and the
  // reset comes when the terminal is let go of, the program's end.
  // Other power states are not modelled.
  UInt32 SetSystemPowerState(const Char* state, UInt32 stateFlags, UInt32 options) override;
  void Sleep(UInt32 milliseconds) override;
  // As sim::AnswerKernelIoControl: the identity of device.ini's [terminal].
  int KernelIoControl(UInt32 ioControlCode, void* inBuffer, UInt32 inSize, void* outBuffer,
                      UInt32 outSize, UInt32* bytesReturned) override;
  // The terminal's clock: the desktop's, moved by its clock file.
  void GetLocalTime(SystemTime* time) override;
  void GetSystemTime(SystemTime* time) override;
  // FSCTL_FLUSH_BUFFERS on "\Flash Disk" puts every write the flash cache
  // holds on the volume; [files] volume flush = unsupported fails it with
  // ERROR_NOT_SUPPORTED, = fails with ERROR_WRITE_FAULT. Any other volume or
  // request: ERROR_NOT_SUPPORTED.
  int CeFsIoControl(const Char* root, UInt32 ioControlCode, void* inBuffer, UInt32 inSize,
                    void* outBuffer, UInt32 outSize, UInt32* bytesReturned,
                    void* overlapped) override;
  // A line in debug.log, "SignalStarted(90)".
  void SignalStarted(UInt32 sequence) override;
  // The desktop's random device.
  int CeGenRandom(UInt32 length, UInt8* buffer) override;
  // As sim::DeviceManager lists what the last boot loaded.
  DriverListResult ListLoadedDrivers(LoadedDriver* drivers, UInt32 capacity,
                                     UInt32* count) override;
  void DebugPrintf(const Char* format, UInt32 value) override;

  // What a warm reset does after it is recorded; tests, which must go on, stay.
  void OnRestart(std::function<void()> restart) { restart_ = std::move(restart); }

 private:
  using Object = sim::HandleTable::Object;

  SimulatedTerminal(std::filesystem::path folder, sim::DeviceConfig faults,
                    sim::RegistryFileCache registry, sim::BootRecord drivers);

  Handle OpenDevice(UInt32 access, UInt32 shareMode, UInt32 disposition);
  Handle OpenFile(const Char* name, UInt32 access, UInt32 shareMode, UInt32 disposition,
                  UInt32 flags);

  std::filesystem::path folder_;
  sim::DeviceConfig faults_;
  sim::EepromDevice eeprom_;
  sim::TerminalFiles files_;
  sim::TerminalRegistry registry_;
  sim::TerminalBoot boot_;
  sim::HandleTable handles_;
  sim::DeviceManager devices_;
  UInt32 lastError_ = 0;
  std::function<void()> restart_;
};

}  // namespace hw
