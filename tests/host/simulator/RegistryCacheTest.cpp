// registry.reg is parsed again only when it changed, so every way another
// program can change it between two calls must still be seen, and a set must
// land on the changed file rather than on the one in memory.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "TerminalFixture.h"
#include "platform/simulator/registry/RegistryFileCache.h"

namespace hw::simtest {
namespace {

constexpr char16_t kHcdKey[] = u"Drivers\\BuiltIn\\HCD_HSH1";

long OpenKey(Platform& os, const char16_t* key) {
  RegKey handle = 0;
  const long status = os.RegOpenKeyEx(kHkeyLocalMachine, key, 0, kKeyAllAccess, &handle);
  if (status == kErrorSuccess) {
    EXPECT_EQ(os.RegCloseKey(handle), 0);
  }
  return status;
}

long SetDll(Platform& os, const std::u16string& text) {
  RegKey handle = 0;
  if (const long status = os.RegOpenKeyEx(kHkeyLocalMachine, kHcdKey, 0, kKeyAllAccess, &handle)) {
    return status;
  }
  const long status = os.RegSetValueEx(handle, u"Dll", 0, kRegSz,
                                       reinterpret_cast<const std::uint8_t*>(text.c_str()),
                                       static_cast<std::uint32_t>((text.size() + 1) * 2));
  EXPECT_EQ(os.RegCloseKey(handle), 0);
  EXPECT_EQ(os.RegFlushKey(kHkeyLocalMachine), 0);  // as each press ends
  return status;
}

// The same bytes written into the file in place: same inode, same size, and
// the modification time put back to what it was, as an editor or a copy that
// keeps times can leave it within one tick of the file system's clock.
void OverwriteInPlaceKeepingTime(const fs::path& file, const std::string& bytes) {
  const auto before = fs::last_write_time(file);
  std::ofstream(file, std::ios::binary | std::ios::in | std::ios::out)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  fs::last_write_time(file, before);
}

// Another file renamed over registry.reg with the old one's size and time.
void ReplaceKeepingTime(const fs::path& file, const std::string& bytes) {
  const fs::path other = file.string() + ".other";
  std::ofstream(other, std::ios::binary)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  fs::last_write_time(other, fs::last_write_time(file));
  fs::rename(other, file);
}

using RegistryCacheTest = TerminalTest;

TEST_F(RegistryCacheTest, AnEditBetweenTwoCallsIsSeenAndASetLandsOnIt) {
  struct Case {
    const char* edit;
    std::function<void(const fs::path&, const std::string&)> write;
  };
  const Case cases[] = {
      {"rewritten with another size",
       [](const fs::path& file, const std::string& bytes) {
         std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes << "; longer\r\n";
       }},
      {"overwritten in place, same size and time", OverwriteInPlaceKeepingTime},
      {"replaced by a rename, same size and time", ReplaceKeepingTime},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.edit);
    TearDown();
    SetUp();
    auto os = Load();
    // The tool's own set first: the cache then holds the file it wrote.
    ASSERT_EQ(SetDll(*os, u"hcd_hsh1.dll"), 0);
    ASSERT_EQ(OpenKey(*os, u"Ident"), 0);
    // "Ident" becomes "Idenx": one letter, so the size can stay.
    c.write(PathOf("registry.reg"),
            ReplacedAfter(ReadFile("registry.reg"), "", "\\Ident]", "\\Idenx]"));
    const std::string edited = ReadFile("registry.reg");

    EXPECT_EQ(OpenKey(*os, u"Idenx"), 0);
    EXPECT_EQ(OpenKey(*os, u"Ident"), kErrorFileNotFound);
    ASSERT_EQ(SetDll(*os, u"xxx"), 0);
    EXPECT_EQ(ReadFile("registry.reg"),
              ReplacedAfter(edited, "HCD_HSH1]", "\"Dll\"=\"hcd_hsh1.dll\"", "\"Dll\"=\"xxx\""))
        << "the set is made on the edited file";
  }
}

TEST_F(RegistryCacheTest, AFileRemovedBetweenCallsHasNoKeys) {
  auto os = Load();
  ASSERT_EQ(OpenKey(*os, kHcdKey), 0);
  fs::remove(PathOf("registry.reg"));
  EXPECT_EQ(OpenKey(*os, kHcdKey), kErrorFileNotFound);
  EXPECT_NE(SetDll(*os, u"xxx"), 0);
  EXPECT_FALSE(fs::exists(PathOf("registry.reg"))) << "a set never makes the file";
}

// Once the file has settled the stamp alone decides. An in-place edit of the
// same size with its time put back still moves the status-change time, which
// no program can set.
TEST_F(RegistryCacheTest, ASettledFileStillShowsAnEditWithItsTimePutBack) {
  const fs::path file = PathOf("registry.reg");
  sim::RegistryFileCache cache(file, /*settledNanoseconds=*/0);
  sim::ParseError error;
  // A tick of the file system's clock at most 10 ms: the file's times are
  // then behind the clock, and the edit after the read gets later ones.
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  ASSERT_EQ(cache.Refresh(&error), sim::RegistryFileCache::State::kCurrent);
  ASSERT_EQ(cache.Refresh(&error), sim::RegistryFileCache::State::kCurrent);
  ASSERT_TRUE(cache.file().HasKey("HKEY_LOCAL_MACHINE\\Ident"));
  std::this_thread::sleep_for(std::chrono::milliseconds(30));

  OverwriteInPlaceKeepingTime(file,
                              ReplacedAfter(ReadFile("registry.reg"), "", "\\Ident]", "\\Idenx]"));
  ASSERT_EQ(cache.Refresh(&error), sim::RegistryFileCache::State::kCurrent);
  EXPECT_TRUE(cache.file().HasKey("HKEY_LOCAL_MACHINE\\Idenx"));
  EXPECT_FALSE(cache.file().HasKey("HKEY_LOCAL_MACHINE\\Ident"));
}

// A file system whose clock stands still: every state of the file has the
// same stamp, written now or long ago.
sim::FileStamp frozenStamp;
sim::ReadResult FrozenStamp(const fs::path&, sim::FileStamp* stamp) {
  *stamp = frozenStamp;
  return sim::ReadResult::kRead;
}

TEST_F(RegistryCacheTest, AnEditWithinTheStampOfAFreshFileIsSeenByItsBytes) {
  frozenStamp = {100, sim::FileClockNow(), sim::FileClockNow(), 1, 1};
  sim::RegistryFileCache cache(PathOf("registry.reg"), sim::RegistryFileCache::kSettledNanoseconds,
                               FrozenStamp);
  sim::ParseError error;
  ASSERT_EQ(cache.Refresh(&error), sim::RegistryFileCache::State::kCurrent);
  WriteFile("registry.reg", ReplacedAfter(ReadFile("registry.reg"), "", "\\Ident]", "\\Idenx]"));
  ASSERT_EQ(cache.Refresh(&error), sim::RegistryFileCache::State::kCurrent);
  EXPECT_TRUE(cache.file().HasKey("HKEY_LOCAL_MACHINE\\Idenx"));
}

TEST_F(RegistryCacheTest, ASettledFileWhoseStampStaysIsNotReadAgain) {
  frozenStamp = {100, sim::FileClockNow() - 60'000'000'000, sim::FileClockNow() - 60'000'000'000, 1,
                 1};
  sim::RegistryFileCache cache(PathOf("registry.reg"), sim::RegistryFileCache::kSettledNanoseconds,
                               FrozenStamp);
  sim::ParseError error;
  ASSERT_EQ(cache.Refresh(&error), sim::RegistryFileCache::State::kCurrent);
  // Behind the stamp's back, which no real file system allows once settled.
  WriteFile("registry.reg", ReplacedAfter(ReadFile("registry.reg"), "", "\\Ident]", "\\Idenx]"));
  ASSERT_EQ(cache.Refresh(&error), sim::RegistryFileCache::State::kCurrent);
  EXPECT_TRUE(cache.file().HasKey("HKEY_LOCAL_MACHINE\\Ident")) << "the file was read again";
}

TEST_F(RegistryCacheTest, AFileThatStopsParsingIsForgottenAndReadAgainWhenMended) {
  const fs::path file = PathOf("registry.reg");
  const std::string good = ReadFile("registry.reg");
  sim::RegistryFileCache cache(file);
  sim::ParseError error;
  ASSERT_EQ(cache.Refresh(&error), sim::RegistryFileCache::State::kCurrent);
  WriteFile("registry.reg", good + "junk\r\n");
  EXPECT_EQ(cache.Refresh(&error), sim::RegistryFileCache::State::kMalformed);
  EXPECT_EQ(error.line, static_cast<int>(Count(good, "\n")) + 1);
  WriteFile("registry.reg", good);
  EXPECT_EQ(cache.Refresh(&error), sim::RegistryFileCache::State::kCurrent);
  EXPECT_EQ(cache.file().Serialize(), good);
}

}  // namespace
}  // namespace hw::simtest
