#include "setup/PsConfigInstall.h"

#include <gtest/gtest.h>

#include <optional>

#include "RecordingPlatform.h"
#include "RecordingView.h"

namespace hw {
namespace {

using test::RecordingPlatform;
using test::RecordingView;
using Calls = std::vector<std::string>;
using Bytes = std::vector<std::uint8_t>;

const std::u16string kSource = kPsConfigSource;
const std::u16string kDestination = kPsConfigDestination;

Bytes Pattern(std::size_t size, std::uint8_t seed) {
  Bytes b(size);
  for (std::size_t i = 0; i < size; ++i) b[i] = static_cast<std::uint8_t>(seed + i * 7);
  return b;
}

// A terminal's files and the page that owns the install's message box.
class PsConfigInstallOnTerminal : public ::testing::Test {
 protected:
  RecordingPlatform os;
  std::vector<std::string> log;
  RecordingView owner{log};
};

TEST_F(PsConfigInstallOnTerminal, CopiesWithOneReadAndOneWriteInThisOrder) {
  os.files[kSource] = Pattern(500, 1);
  PsConfigInstall(os, kPsConfigSource, owner);
  EXPECT_EQ(
      os.calls,
      (Calls{"CreateFile(\"\\Windows\\PSconfig.psr\", 0x80000000, 0x1, null, 3, 0x0, 0)",
             "ReadFile(256, ptr, 10240, ptr, null)", "CloseHandle(256)",
             "SetFileAttributes(\"\\Flash Disk\\PSconfig.psr\", 0x80)",
             "CreateFile(\"\\Flash Disk\\PSconfig.psr\", 0x40000000, 0x2, null, 2, 0x0, 0)",
             "WriteFile(257, ptr, 500, ptr, null)", "FlushFileBuffers(257)", "CloseHandle(257)"}));
  EXPECT_EQ(os.files[kDestination], os.files[kSource]);
  EXPECT_TRUE(log.empty());
  EXPECT_TRUE(os.debugLines.empty());
  EXPECT_TRUE(os.faults.empty());
}

// Every outcome: whether the box shows, what the destination then holds.
TEST(PsConfigInstall, InstallsOrRefusesBySourceAndDestination) {
  const Bytes previous = Pattern(300, 9);
  struct Case {
    const char* name;
    std::optional<std::size_t> sourceSize;  // none: the source is missing
    bool flashDiskExists;
    std::uint32_t writeLimit;
    bool installed;
    bool destinationUntouched;
    // Installed, but not on its volume: FlushFileBuffers fails, last error this.
    std::optional<std::uint32_t> flushFailsWith = std::nullopt;
  };
  const Case cases[] = {
      {"missing source", std::nullopt, true, 0xFFFFFFFF, false, true},
      {"installed, the flush fails", 500, true, 0xFFFFFFFF, true, false, 29},
      {"installed, the flush fails naming no error", 500, true, 0xFFFFFFFF, true, false, 0},
      {"empty source", 0, true, 0xFFFFFFFF, false, true},
      {"99 bytes", 99, true, 0xFFFFFFFF, false, true},
      {"exactly 100 bytes", 100, true, 0xFFFFFFFF, true, false},
      {"exactly 10240 bytes", 10240, true, 0xFFFFFFFF, true, false},
      {"10241 bytes is too big for the buffer", 10241, true, 0xFFFFFFFF, false, true},
      {"no Flash Disk", 500, false, 0xFFFFFFFF, false, true},
      {"flash disk full", 500, true, 50, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingPlatform os;
    std::vector<std::string> log;
    RecordingView owner(log);
    os.writeLimit = c.writeLimit;
    if (c.sourceSize) os.files[kSource] = Pattern(*c.sourceSize, 3);
    if (c.flashDiskExists) os.files[kDestination] = previous;
    else os.writableFolders.clear();
    if (c.flushFailsWith) os.failFlush = {kDestination};
    os.failFlushError = c.flushFailsWith.value_or(0);

    const std::uint32_t flushError = !c.flushFailsWith        ? 0u
                                     : *c.flushFailsWith == 0 ? kFlushFailedWithoutError
                                                              : *c.flushFailsWith;
    EXPECT_EQ(PsConfigInstall(os, kPsConfigSource, owner), flushError);

    EXPECT_EQ(log, c.installed ? Calls{} : Calls{"MessageBox(\"Setup Failed!\", \"Tip\")"});
    if (c.installed) {
      EXPECT_EQ(os.unflushed.count(kDestination), c.flushFailsWith ? 1u : 0u) << "on its volume";
    }
    if (c.installed) {
      EXPECT_EQ(os.files[kDestination], os.files[kSource]);
    }
    if (c.destinationUntouched && c.flashDiskExists) {
      EXPECT_EQ(os.files[kDestination], previous);
    }
    EXPECT_TRUE(os.OpenFiles().empty()) << "a handle was left open";
    EXPECT_TRUE(os.faults.empty()) << os.faults.front();
    EXPECT_EQ(os.CallsNamed("CreateFile").size(), os.CallsNamed("CloseHandle").size() +
                                                      (c.sourceSize ? 0 : 1) +
                                                      (c.flashDiskExists ? 0 : 1))
        << "every handle opened is closed once, and only those";
    EXPECT_LE(os.CallsNamed("WriteFile").size(), 1u);
    EXPECT_TRUE(os.debugLines.empty());
  }
}

// Each failure path as one record of the calls and the box: every handle
// opened is closed before "Setup Failed!" shows, and nothing after it.
TEST(PsConfigInstall, ClosesEveryHandleBeforeItsMessageBoxShows) {
  const std::string openSource =
      "CreateFile(\"\\Windows\\PSconfig.psr\", 0x80000000, 0x1, null, 3, 0x0, 0)";
  const std::string openDestination =
      "CreateFile(\"\\Flash Disk\\PSconfig.psr\", 0x40000000, 0x2, null, 2, 0x0, 0)";
  const std::string attributes = "SetFileAttributes(\"\\Flash Disk\\PSconfig.psr\", 0x80)";
  const std::string read = "ReadFile(256, ptr, 10240, ptr, null)";
  const std::string box = "MessageBox(\"Setup Failed!\", \"Tip\")";
  struct Case {
    const char* name;
    std::optional<std::size_t> sourceSize;
    bool flashDiskExists;
    std::uint32_t writeLimit;
    Calls record;
  };
  const Case cases[] = {
      {"missing source", std::nullopt, true, 0xFFFFFFFF, {openSource, box}},
      {"short source", 99, true, 0xFFFFFFFF, {openSource, read, "CloseHandle(256)", box}},
      {"source too big", 10241, true, 0xFFFFFFFF,
       {openSource, read, "ReadFile(256, ptr, 1, ptr, null)", "CloseHandle(256)", box}},
      {"destination not created", 500, false, 0xFFFFFFFF,
       {openSource, read, "CloseHandle(256)", attributes, openDestination, box}},
      {"short write", 500, true, 50,
       {openSource, read, "CloseHandle(256)", attributes, openDestination,
        "WriteFile(257, ptr, 500, ptr, null)", "CloseHandle(257)", box}},
  };
  for (const Case& c : cases) {
    RecordingPlatform os;
    RecordingView owner(os.calls);  // the box joins the record of calls
    os.writeLimit = c.writeLimit;
    if (c.sourceSize) os.files[kSource] = Pattern(*c.sourceSize, 3);
    if (c.flashDiskExists) os.files[kDestination] = Pattern(300, 9);
    else os.writableFolders.clear();
    PsConfigInstall(os, kPsConfigSource, owner);
    EXPECT_EQ(os.calls, c.record) << c.name;
    EXPECT_TRUE(os.faults.empty()) << c.name;
  }
}

TEST_F(PsConfigInstallOnTerminal, ShortSourceNeverTouchesTheDestination) {
  os.files[kSource] = Pattern(99, 3);
  PsConfigInstall(os, kPsConfigSource, owner);
  EXPECT_TRUE(os.CallsNamed("SetFileAttributes").empty());
  EXPECT_EQ(os.CallsNamed("CreateFile").size(), 1u);
}

TEST_F(PsConfigInstallOnTerminal, ReplacesAReadOnlyDestination) {
  os.files[kSource] = Pattern(1000, 5);
  os.files[kDestination] = Pattern(20, 0);
  os.readOnly = {kDestination};
  PsConfigInstall(os, kPsConfigSource, owner);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(os.files[kDestination], os.files[kSource]);
}

TEST_F(PsConfigInstallOnTerminal, InstallsTheSecondSourceUnderTheSameName) {
  os.files[kSource] = Pattern(400, 1);
  os.files[kPsConfig1Source] = Pattern(600, 2);
  PsConfigInstall(os, kPsConfig1Source, owner);
  EXPECT_EQ(os.files[kDestination], os.files[kPsConfig1Source]);
}

}  // namespace
}  // namespace hw
