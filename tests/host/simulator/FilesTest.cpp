#include <string>

#include "TerminalFixture.h"

namespace hw::simtest {
namespace {

constexpr char16_t kSource[] = u"\\Windows\\PSconfig.psr";
constexpr char16_t kDestination[] = u"\\Flash Disk\\PSconfig.psr";

using FilesTest = TerminalTest;

std::string ReadAll(Platform& os, Handle h) {
  char buffer[10240];
  std::uint32_t got = 0;
  EXPECT_NE(os.ReadFile(h, buffer, sizeof buffer, &got, nullptr), 0);
  return std::string(buffer, got);
}

std::uint32_t Write(Platform& os, Handle h, std::string_view bytes, int* result = nullptr) {
  std::uint32_t written = 12345;
  const int r =
      os.WriteFile(h, bytes.data(), static_cast<std::uint32_t>(bytes.size()), &written, nullptr);
  if (result != nullptr) *result = r;
  return written;
}

bool OwnerCanWrite(const fs::path& path) {
  return (fs::status(path).permissions() & fs::perms::owner_write) != fs::perms::none;
}

TEST_F(FilesTest, ReadsAFileOfTheTerminalThenReachesItsEnd) {
  auto os = Load();
  for (const char16_t* path : {kSource, u"\\windows\\psconfig.PSR"}) {
    const Handle h = OpenForRead(*os, path);
    ASSERT_NE(h, kInvalidHandleValue);
    EXPECT_EQ(ReadAll(*os, h), ReadFile("Windows/PSconfig.psr"));
    EXPECT_EQ(ReadAll(*os, h), "") << "the second read is at the end";
    EXPECT_EQ(os->CloseHandle(h), 1);
  }
}

TEST_F(FilesTest, PathsOutsideTheTerminalAreRefused) {
  fs::create_symlink(folder_.parent_path(), PathOf("Flash Disk/out"));
  const char16_t* paths[] = {
      u"\\Windows\\..\\eeprom.bin",
      u"\\..\\escaped.txt",
      u"\\Flash Disk\\..\\..\\escaped.txt",
      u"\\Flash Disk\\out\\escaped.txt",
      u"Windows\\escaped.txt",
      u"/Windows/escaped.txt",
      u"\\..\\registry.reg",
      u"\\Windows\\.\\escaped.txt",
      u"\\Windows\\C:\\escaped.txt",
      u"\\Windows\\escaped.txt.",
      u"",
  };
  auto os = Load();
  const std::vector<std::string> before = Listing();
  for (const char16_t* path : paths) {
    EXPECT_EQ(OpenForWrite(*os, path), kInvalidHandleValue) << fs::path(std::u16string(path));
    EXPECT_EQ(OpenForRead(*os, path), kInvalidHandleValue) << fs::path(std::u16string(path));
  }
  EXPECT_FALSE(fs::exists(folder_.parent_path() / "escaped.txt"));
  EXPECT_EQ(Listing(), before);
  // The root is the object store, never the simulator's own files.
  const Handle h = OpenForWrite(*os, u"\\eeprom.bin");
  EXPECT_EQ(Write(*os, h, "x"), 1u);
  EXPECT_EQ(os->CloseHandle(h), 1);
  EXPECT_EQ(ReadFile("Object Store/eeprom.bin"), "x");
  EXPECT_EQ(ReadFile("eeprom.bin").size(), 256u);
}

TEST_F(FilesTest, CreateAlwaysCreatesAndTruncatesInAnExistingFolder) {
  WriteFile("Flash Disk/PSconfig.psr", std::string(500, 'o'));
  auto os = Load();
  Handle h = OpenForWrite(*os, kDestination);
  ASSERT_NE(h, kInvalidHandleValue);
  EXPECT_EQ(ReadFile("Flash Disk/PSconfig.psr"), "") << "truncated on open";
  EXPECT_EQ(Write(*os, h, "new"), 3u);
  os->CloseHandle(h);
  EXPECT_EQ(ReadFile("Flash Disk/PSconfig.psr"), "new");
  EXPECT_EQ(OpenForWrite(*os, u"\\Flash Disk\\NoFolder\\x.psr"), kInvalidHandleValue);
  EXPECT_EQ(OpenForRead(*os, u"\\Windows\\absent.psr"), kInvalidHandleValue);
}

TEST_F(FilesTest, AReadOnlyFileIsKeptUntilItsAttributeIsCleared) {
  WriteFile("Flash Disk/PSconfig.psr", "old contents");
  fs::permissions(PathOf("Flash Disk/PSconfig.psr"), fs::perms::owner_write,
                  fs::perm_options::remove);
  auto os = Load();
  EXPECT_EQ(OpenForWrite(*os, kDestination), kInvalidHandleValue);
  EXPECT_EQ(ReadFile("Flash Disk/PSconfig.psr"), "old contents");

  EXPECT_EQ(os->SetFileAttributes(kDestination, kFileAttributeNormal), 1);
  EXPECT_TRUE(OwnerCanWrite(PathOf("Flash Disk/PSconfig.psr")));
  const Handle h = OpenForWrite(*os, kDestination);
  EXPECT_NE(h, kInvalidHandleValue);
  os->CloseHandle(h);

  EXPECT_EQ(os->SetFileAttributes(kDestination, 1 /* FILE_ATTRIBUTE_READONLY */), 1);
  EXPECT_FALSE(OwnerCanWrite(PathOf("Flash Disk/PSconfig.psr")));
  EXPECT_EQ(os->SetFileAttributes(u"\\Flash Disk\\absent.psr", kFileAttributeNormal), 0);
}

TEST_F(FilesTest, FlashFreeBytesIsOneBudgetForEveryWriteUnderFlashDisk) {
  WriteFile("device.ini", "[files]\nflash_free_bytes = 50\n");
  auto os = Load();
  const std::string data(30, 'a');
  const Handle h = OpenForWrite(*os, kDestination);
  int result = 0;
  EXPECT_EQ(Write(*os, h, data, &result), 30u);
  EXPECT_NE(result, 0);
  EXPECT_EQ(Write(*os, h, std::string(30, 'b'), &result), 20u);
  EXPECT_EQ(result, 0) << "a short write fails";
  os->CloseHandle(h);
  EXPECT_EQ(ReadFile("Flash Disk/PSconfig.psr"), data + std::string(20, 'b'));

  const Handle other = OpenForWrite(*os, u"\\Flash Disk\\other.psr");
  EXPECT_EQ(Write(*os, other, "x", &result), 0u);
  EXPECT_EQ(result, 0);
  const Handle windows = OpenForWrite(*os, u"\\Windows\\big.psr");
  EXPECT_EQ(Write(*os, windows, std::string(200, 'w'), &result), 200u) << "\\Windows is not flash";
  EXPECT_NE(result, 0);
}

TEST_F(FilesTest, AHandleDoesOnlyWhatItWasOpenedFor) {
  auto os = Load();
  const Handle reader = OpenForRead(*os, kSource);
  int result = 0;
  EXPECT_EQ(Write(*os, reader, "x", &result), 0u);
  EXPECT_EQ(result, 0);
  os->CloseHandle(reader);
  const Handle writer = OpenForWrite(*os, kDestination);
  char byte = 0;
  std::uint32_t got = 7;
  EXPECT_EQ(os->ReadFile(writer, &byte, 1, &got, nullptr), 0);
  EXPECT_EQ(got, 0u);
  std::uint8_t in[2] = {0x11, 0};
  EXPECT_EQ(os->DeviceIoControl(writer, 1, in, 2, nullptr, 0, nullptr, nullptr), 0);
  EXPECT_EQ(OpenForRead(*os, kDestination), kInvalidHandleValue)
      << "the writer's share mode does not allow readers";
}

TEST_F(FilesTest, AReadThatReachesTheEndLeavesTheHandleUsable) {
  auto os = Load();
  const Handle h = os->CreateFile(u"\\Flash Disk\\rw.bin", kGenericRead | kGenericWrite, 0, nullptr,
                                  4 /* OPEN_ALWAYS */, 0, 0);
  ASSERT_NE(h, kInvalidHandleValue);
  EXPECT_EQ(Write(*os, h, "abc"), 3u);
  EXPECT_EQ(ReadAll(*os, h), "");
  EXPECT_EQ(Write(*os, h, "def"), 3u);
  os->CloseHandle(h);
  EXPECT_EQ(ReadFile("Flash Disk/rw.bin"), "abcdef");
}

TEST_F(FilesTest, EveryHandleClosesExactlyOnce) {
  auto os = Load();
  const Handle h = OpenForRead(*os, kSource);
  EXPECT_EQ(os->CloseHandle(h), 1);
  EXPECT_EQ(os->CloseHandle(h), 0);
  char byte = 0;
  std::uint32_t got = 0;
  EXPECT_EQ(os->ReadFile(h, &byte, 1, &got, nullptr), 0);
  EXPECT_EQ(os->CloseHandle(kInvalidHandleValue), 0);
  EXPECT_EQ(os->CloseHandle(0), 0);
}

}  // namespace
}  // namespace hw::simtest
