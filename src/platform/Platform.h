#pragma once

#include "platform/Types.h"

// <windows.h> maps these names to their W forms. The interface keeps the plain
// Win32 names, so a file that needs both includes <windows.h> first.
#undef CreateFile
#undef SetFileAttributes
#undef RegOpenKeyEx
#undef RegSetValueEx
#undef RegQueryValueEx
#undef DeleteFile

namespace hw {

// Opaque OS handles. They carry the same bits as HANDLE and HKEY, so the Win32
// backend converts them back with a cast and nothing else.
typedef IntPtr Handle;
typedef IntPtr RegKey;

const Handle kInvalidHandleValue = -1;
// HKEY_LOCAL_MACHINE is (HKEY)(LONG)0x80000002: sign-extended on 64-bit hosts.
const RegKey kHkeyLocalMachine = static_cast<RegKey>(static_cast<Int32>(0x80000002u));

// The Win32 constants the tool passes, with their Win32 values.
const UInt32 kGenericRead = 0x80000000u;
const UInt32 kGenericWrite = 0x40000000u;
const UInt32 kFileShareRead = 1;
const UInt32 kFileShareWrite = 2;
const UInt32 kCreateAlways = 2;
const UInt32 kOpenExisting = 3;
const UInt32 kFileAttributeNormal = 0x80;
const UInt32 kFileFlagWriteThrough = 0x80000000u;
const UInt32 kKeyAllAccess = 0xF003F;
const UInt32 kKeyQueryValue = 0x0001;
const UInt32 kRegSz = 1;
const long kErrorSuccess = 0;
const long kErrorFileNotFound = 2;
const long kErrorAccessDenied = 5;
const long kErrorMoreData = 234;
const long kErrorNotSupported = 50;
const long kErrorInvalidFunction = 1;
const long kErrorSharingViolation = 32;
const long kErrorWriteFault = 29;
const long kErrorNoMoreFiles = 18;
// CE's power manager: a warm reset, urgent. The values of CE's pm.h.
const UInt32 kPowerStateReset = 0x00800000u;
const UInt32 kPowerForce = 0x00001000u;
// The kernel's requests for the terminal's identity, as CE's pkfuncs.h has
// them: CTL_CODE(FILE_DEVICE_HAL, 1 or 21, METHOD_BUFFERED, FILE_ANY_ACCESS).
// IOCTL_HAL_GET_DEVICE_INFO takes an SPI code as its input; SPI_GETUUID
// asks for the platform's 16-byte UUID. IOCTL_HAL_GET_DEVICEID, which CE 6.0
// keeps for older programs, answers a DEVICE_ID.
const UInt32 kIoctlHalGetDeviceInfo = 0x01010004u;
const UInt32 kSpiGetUuid = 263;
const UInt32 kUuidBytes = 16;
const UInt32 kIoctlHalGetDeviceId = 0x01010054u;

// CE's DEVICE_ID: what IOCTL_HAL_GET_DEVICEID answers. The two ids' bytes
// follow in the same buffer at their offsets from its start; `size` is the
// whole answer's size, and the size a too small buffer would have needed.
struct DeviceId {
  UInt32 size;
  UInt32 presetIdOffset;
  UInt32 presetIdBytes;
  UInt32 platformIdOffset;
  UInt32 platformIdBytes;
};

// CE's file system requests to a volume (fsioctl.h): FSCTL_FLUSH_BUFFERS is
// CTL_CODE(FILE_DEVICE_FILE_SYSTEM, 33, METHOD_BUFFERED, FILE_ANY_ACCESS),
// and writes every buffer the volume's file system holds.
const UInt32 kFsctlFlushBuffers = 0x00090084u;

// One driver Device Manager has loaded, as FindFirstDevice and
// FindNextDevice describe it (DEVMGR_DEVICE_INFORMATION): its legacy name
// ("HCD1:"), the registry key it was loaded from, as passed to
// ActivateDeviceEx ("Drivers\BuiltIn\HCD_HSH1", or with a leading
// backslash for a bus's client), and its name in the $device namespace. A
// text too long for its field is cut and marked by `cut`.
struct LoadedDriver {
  Char legacyName[6];
  Char deviceKey[260];
  Char deviceName[64];
  bool cut;
};
const UInt32 kMaxLoadedDrivers = 64;

enum DriverListResult {
  kDriverListRead,
  kDriverListFull,         // more drivers than the array holds: the first ones
  kDriverListNotAvailable  // the OS does not answer: not the same as none loaded
};

// SYSTEMTIME, field for field.
struct SystemTime {
  UInt16 year;
  UInt16 month;
  UInt16 dayOfWeek;
  UInt16 day;
  UInt16 hour;
  UInt16 minute;
  UInt16 second;
  UInt16 milliseconds;
};

// The operating-system calls of the tool, one virtual per Win32 call with the
// same arguments and results. All text is zero-terminated UTF-16. BOOL results
// are int: nonzero is success. Registry results are Win32 error codes: 0 is
// success.
class Platform {
 public:
  virtual ~Platform() {}

  // Stream devices and files.
  virtual Handle CreateFile(const Char* name, UInt32 access, UInt32 shareMode,
                            const void* securityAttributes, UInt32 creationDisposition,
                            UInt32 flagsAndAttributes, Handle templateFile) = 0;
  virtual int DeviceIoControl(Handle device, UInt32 ioControlCode, const void* inBuffer,
                              UInt32 inSize, void* outBuffer, UInt32 outSize,
                              UInt32* bytesReturned, void* overlapped) = 0;
  virtual int ReadFile(Handle file, void* buffer, UInt32 bytesToRead, UInt32* bytesRead,
                       void* overlapped) = 0;
  virtual int WriteFile(Handle file, const void* buffer, UInt32 bytesToWrite,
                        UInt32* bytesWritten, void* overlapped) = 0;
  virtual int SetFileAttributes(const Char* path, UInt32 attributes) = 0;
  virtual int DeleteFile(const Char* path) = 0;
  // Writes what the file system still caches of the file to its volume: a
  // FAT volume may hold writes back until then, and a reset loses them.
  virtual int FlushFileBuffers(Handle file) = 0;
  virtual int CloseHandle(Handle handle) = 0;

  // Registry.
  virtual long RegOpenKeyEx(RegKey root, const Char* subKey, UInt32 options, UInt32 samDesired,
                            RegKey* result) = 0;
  virtual long RegSetValueEx(RegKey key, const Char* valueName, UInt32 reserved, UInt32 type,
                             const UInt8* data, UInt32 dataBytes) = 0;
  // `reserved` is null. `type` may be null; `data` may be null to ask for the
  // size. In: *dataBytes is the buffer's size; out: the value's size.
  // ERROR_MORE_DATA when the buffer is too small.
  virtual long RegQueryValueEx(RegKey key, const Char* valueName, UInt32* reserved,
                               UInt32* type, UInt8* data, UInt32* dataBytes) = 0;
  virtual long RegCloseKey(RegKey key) = 0;
  // Writes every change made so far to the registry's persistent store: the
  // hive file, or the OEM's store of a RAM registry (which fails when the
  // image has none). Until then a power loss may take a change back.
  virtual long RegFlushKey(RegKey key) = 0;

  // The error code of the last call that failed on this thread.
  virtual UInt32 GetLastError() = 0;

  // CE's power manager. The tool asks only for a warm reset, which keeps the
  // registry: (null, kPowerStateReset, kPowerForce). A Win32 error code when
  // it is refused. CE does not promise that a success never returns, nor how
  // soon the reset follows one.
  virtual UInt32 SetSystemPowerState(const Char* state, UInt32 stateFlags, UInt32 options) = 0;
  // Suspends the calling thread.
  virtual void Sleep(UInt32 milliseconds) = 0;

  // A request to the kernel's OEM layer; the tool asks only for the
  // terminal's identity. Nonzero is success. A buffer too small for the
  // answer fails, and *bytesReturned (or a DEVICE_ID's size) says how large
  // it must be.
  virtual int KernelIoControl(UInt32 ioControlCode, void* inBuffer, UInt32 inSize,
                              void* outBuffer, UInt32 outSize, UInt32* bytesReturned) = 0;
  // The terminal's clock, in its local time and in UTC.
  virtual void GetLocalTime(SystemTime* time) = 0;
  virtual void GetSystemTime(SystemTime* time) = 0;

  // A request to the file system of the volume mounted at `root` ("\\Flash
  // Disk"); the tool asks only kFsctlFlushBuffers. Nonzero is success; a file
  // system without the request fails with ERROR_NOT_SUPPORTED.
  virtual int CeFsIoControl(const Char* root, UInt32 ioControlCode, void* inBuffer, UInt32 inSize,
                            void* outBuffer, UInt32 outSize, UInt32* bytesReturned,
                            void* overlapped) = 0;
  // Tells the kernel that a program it started from HKLM\Init with this
  // sequence id has started, so that the entries that depend on it start.
  virtual void SignalStarted(UInt32 sequence) = 0;
  // Fills `buffer` with random bytes from the kernel. Nonzero is success.
  virtual int CeGenRandom(UInt32 length, UInt8* buffer) = 0;
  // Device Manager's loaded drivers, named and unnamed, in its order, into
  // `drivers` (at most `capacity`); *count says how many. Every search it
  // opens is closed.
  virtual DriverListResult ListLoadedDrivers(LoadedDriver* drivers, UInt32 capacity,
                                             UInt32* count) = 0;

  // Formatted debug print. Every trace line of the tool has at most one "%X"
  // placeholder, which takes `value`; lines without one ignore it.
  virtual void DebugPrintf(const Char* format, UInt32 value) = 0;
};

}  // namespace hw
