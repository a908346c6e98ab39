// Counts heap allocations around a press: the per-press paths must not
// allocate (the terminal's heap is small and fragments).
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "RecordingPlatform.h"
#include "eeprom/RefreshCell.h"
#include "setup/ApplySelection.h"
#include "setup/PsConfigInstall.h"

namespace {
std::atomic<bool> counting{false};
std::atomic<int> allocations{0};
}  // namespace

void* operator new(std::size_t size) {
  if (counting) ++allocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace hw {
namespace {

// The recorders allocate; these stand-ins do not.
class SilentOs final : public Platform {
 public:
  std::uint8_t cell = 0xFF;
  std::uint8_t file[600] = {};
  std::uint32_t fileLeft = sizeof file;
  Handle CreateFile(const char16_t*, std::uint32_t, std::uint32_t, const void*, std::uint32_t,
                    std::uint32_t, Handle) override {
    return 7;
  }
  int DeviceIoControl(Handle, std::uint32_t code, const void* in, std::uint32_t, void* out,
                      std::uint32_t, std::uint32_t*, void*) override {
    if (code == 1) cell = static_cast<const std::uint8_t*>(in)[1];
    else *static_cast<std::uint8_t*>(out) = cell;
    return 1;
  }
  int ReadFile(Handle, void*, std::uint32_t, std::uint32_t* read, void*) override {
    *read = fileLeft;
    fileLeft = 0;
    return 1;
  }
  int WriteFile(Handle, const void*, std::uint32_t n, std::uint32_t* written, void*) override {
    *written = n;
    return 1;
  }
  int SetFileAttributes(const char16_t*, std::uint32_t) override { return 1; }
  int DeleteFile(const char16_t*) override { return 1; }
  int FlushFileBuffers(Handle) override { return 1; }
  int CloseHandle(Handle) override { return 1; }
  long RegOpenKeyEx(RegKey, const char16_t*, std::uint32_t, std::uint32_t, RegKey* k) override {
    *k = 9;
    return 0;
  }
  long RegSetValueEx(RegKey, const char16_t*, std::uint32_t, std::uint32_t, const std::uint8_t*,
                     std::uint32_t) override {
    return 0;
  }
  long RegQueryValueEx(RegKey, const char16_t*, std::uint32_t*, std::uint32_t*, std::uint8_t*,
                       std::uint32_t*) override {
    return kErrorFileNotFound;
  }
  long RegCloseKey(RegKey) override { return 0; }
  long RegFlushKey(RegKey) override { return 0; }
  int KernelIoControl(std::uint32_t, void*, std::uint32_t, void*, std::uint32_t,
                      std::uint32_t*) override {
    return 0;
  }
  void GetLocalTime(SystemTime*) override {}
  void GetSystemTime(SystemTime*) override {}
  std::uint32_t GetLastError() override { return 0; }
  void Sleep(std::uint32_t) override {}
  int CeFsIoControl(const char16_t*, std::uint32_t, void*, std::uint32_t, void*, std::uint32_t,
                    std::uint32_t*, void*) override {
    return 1;
  }
  void SignalStarted(std::uint32_t) override {}
  int CeGenRandom(std::uint32_t, std::uint8_t*) override { return 0; }
  DriverListResult ListLoadedDrivers(LoadedDriver*, std::uint32_t, std::uint32_t* n) override {
    *n = 0;
    return kDriverListNotAvailable;
  }
  std::uint32_t SetSystemPowerState(const char16_t*, std::uint32_t, std::uint32_t) override {
    return kErrorNotSupported;
  }
  void DebugPrintf(const char16_t*, std::uint32_t) override { ++lines; }
  int lines = 0;
};

struct SilentView final : Label, MessageBoxOwner {
  void SetText(const char16_t*) override { ++texts; }
  void ShowMessage(const char16_t*, const char16_t*) override { ++boxes; }
  int texts = 0, boxes = 0;
};

TEST(NoHeap, RefreshApplyAndInstallAllocateNothing) {
  SilentOs os;
  SilentView view;
  EepromChannel channel(os);
  ASSERT_TRUE(channel.Open());

  allocations = 0;
  counting = true;
  RefreshCell(os, channel, CellOf(Module::kKeypad), view);
  for (const SelectionAction& row : kSelectionTable) {
    os.fileLeft = sizeof os.file;
    ApplySelection(os, channel, row, view, view);
  }
  os.fileLeft = sizeof os.file;
  PsConfigInstall(os, kPsConfigSource, view);
  counting = false;

  EXPECT_EQ(allocations, 0);
  // The calls really happened: 1 + 24 refreshes, each with two lines.
  EXPECT_EQ(os.lines, 50);
  EXPECT_EQ(view.texts, 25);
  EXPECT_EQ(view.boxes, 0);
}

TEST(NoHeap, TheCounterSeesAnAllocation) {
  allocations = 0;
  counting = true;
  int* volatile p = new int(3);
  counting = false;
  delete p;
  EXPECT_EQ(allocations, 1);
}

}  // namespace
}  // namespace hw
