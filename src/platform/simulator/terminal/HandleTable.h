#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/simulator/files/TerminalFiles.h"

namespace hw::sim {

// The terminal's open handles, as the kernel's table has them: each a
// distinct value, aligned, never 0 or -1, that stands for one object. The
// share rule is checked here, over every handle open.
//
// [EOM1] null_handle: a board whose driver hands out handle 0 for every
// successful open of the device. Those opens are kept apart, most recent
// last, since one value cannot tell them apart: a request or a close on
// handle 0 goes to the most recent.
class HandleTable {
 public:
  // One thing a handle stands for: the device, a file or a registry key.
  struct Object {
    enum class Kind { kDevice, kFile, kKey };
    Kind kind = Kind::kDevice;
    std::uint32_t access = 0;
    std::uint32_t shareMode = 0;
    std::string identity;  // the device or file that share modes guard
    std::unique_ptr<OpenFile> file;
    std::string keyPath;  // full, "HKEY_LOCAL_MACHINE\..."
  };

  explicit HandleTable(bool nullDeviceHandles) : nullDeviceHandles_(nullDeviceHandles) {}

  std::intptr_t Add(Object object);
  // The object open as `handle`, when it is of that kind; else null.
  Object* Find(std::intptr_t handle, Object::Kind kind);
  // CloseHandle, which closes devices and files, and RegCloseKey, which
  // closes keys: false for a handle that is not open as such.
  bool Close(std::intptr_t handle);
  bool CloseKey(std::intptr_t handle);
  // The program's end: the kernel closes whatever it left open.
  void CloseAll();
  // Win32's rule: every open handle's share mode must allow the new access,
  // and the new share mode must allow every open handle's access.
  bool SharingAllows(const std::string& identity, std::uint32_t access,
                     std::uint32_t shareMode) const;
  std::size_t DeviceOpens() const;

 private:
  bool nullDeviceHandles_;
  std::map<std::intptr_t, Object> objects_;
  std::vector<Object> nullDeviceOpens_;  // with null_handle, every device open
  std::intptr_t next_ = 0x100;
};

}  // namespace hw::sim
