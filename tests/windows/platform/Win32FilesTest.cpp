// The configuration install with the real file calls (Wine's, in the test
// run's own prefix). The terminal's paths are rooted, so the tests run with
// the current drive C: and use C:\Windows and C:\Flash Disk of the prefix.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/Win32Platform.h"
#include "setup/PsConfigInstall.h"

namespace hw {
namespace {

using Bytes = std::vector<char>;

const wchar_t kSource[] = L"C:\\Windows\\PSconfig.psr";
const wchar_t kFlashDisk[] = L"C:\\Flash Disk";
const wchar_t kDestination[] = L"C:\\Flash Disk\\PSconfig.psr";

void Put(const wchar_t* path, const Bytes& bytes) {
  HANDLE f = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(f, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(f);
  ASSERT_EQ(written, bytes.size());
}

Bytes Get(const wchar_t* path) {
  HANDLE f = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return {};
  Bytes bytes(20000);
  DWORD read = 0;
  ReadFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(f);
  bytes.resize(read);
  return bytes;
}

Bytes Pattern(std::size_t size, char seed) {
  Bytes b(size);
  for (std::size_t i = 0; i < size; ++i) b[i] = static_cast<char>(seed + i % 61);
  return b;
}

struct BoxCounter final : MessageBoxOwner {
  void ShowMessage(const wchar_t* text, const wchar_t* caption) override {
    EXPECT_EQ(std::wstring(text), L"Setup Failed!");
    EXPECT_EQ(std::wstring(caption), L"Tip");
    ++boxes;
  }
  int boxes = 0;
};

class Win32Files : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SetCurrentDirectoryW(L"C:\\"));
    CreateDirectoryW(kFlashDisk, nullptr);
  }
  void TearDown() override {
    SetFileAttributesW(kDestination, FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(kDestination);
    DeleteFileW(kSource);
    RemoveDirectoryW(kFlashDisk);
  }
  Win32Platform os;
  BoxCounter owner;
};

TEST_F(Win32Files, InstallsTheSourceOverAReadOnlyDestination) {
  Put(kSource, Pattern(4000, 'a'));
  Put(kDestination, Pattern(50, 'z'));
  ASSERT_TRUE(SetFileAttributesW(kDestination, FILE_ATTRIBUTE_READONLY));
  PsConfigInstall(os, kPsConfigSource, owner);
  EXPECT_EQ(owner.boxes, 0);
  EXPECT_EQ(Get(kDestination), Pattern(4000, 'a'));
  EXPECT_EQ(GetFileAttributesW(kDestination) & FILE_ATTRIBUTE_READONLY, 0u);
}

TEST_F(Win32Files, SizeLimitsOfTheSource) {
  const struct {
    std::size_t size;
    bool installed;
  } cases[] = {{0, false}, {99, false}, {100, true}, {10240, true}, {10241, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.size);
    const Bytes previous = Pattern(300, 'p');
    Put(kDestination, previous);
    Put(kSource, Pattern(c.size, 's'));
    owner.boxes = 0;
    PsConfigInstall(os, kPsConfigSource, owner);
    EXPECT_EQ(owner.boxes, c.installed ? 0 : 1);
    EXPECT_EQ(Get(kDestination), c.installed ? Pattern(c.size, 's') : previous);
  }
}

TEST_F(Win32Files, MissingSourceOrFlashDiskShowsTheBoxOnce) {
  PsConfigInstall(os, kPsConfigSource, owner);
  EXPECT_EQ(owner.boxes, 1);

  Put(kSource, Pattern(500, 'q'));
  ASSERT_TRUE(RemoveDirectoryW(kFlashDisk));
  PsConfigInstall(os, kPsConfigSource, owner);
  EXPECT_EQ(owner.boxes, 2);
  EXPECT_EQ(GetFileAttributesW(kFlashDisk), INVALID_FILE_ATTRIBUTES) << "a folder was created";
}

TEST_F(Win32Files, SourceIsNotHeldOpenAfterTheInstall) {
  Put(kSource, Pattern(500, 'r'));
  PsConfigInstall(os, kPsConfigSource, owner);
  // An exclusive open succeeds only when no handle to the file is left.
  HANDLE f = CreateFileW(kSource, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_NE(f, INVALID_HANDLE_VALUE);
  CloseHandle(f);
  f = CreateFileW(kDestination, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_NE(f, INVALID_HANDLE_VALUE);
  CloseHandle(f);
}

}  // namespace
}  // namespace hw
