#include "TerminalFixture.h"

#include <stdlib.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "platform/simulator/terminal/DriversFile.h"
#include "platform/simulator/terminal/TerminalBoot.h"

namespace hw::simtest {

fs::path MakeTemporaryFolder() {
  std::string pattern = (fs::temp_directory_path() / "hwsim-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "mkdtemp failed";
  return pattern;
}

int RunNewTerminal(const std::string& arguments) {
  const std::string command = std::string("'") + HWSETUP_SOURCE_DIR + "/scripts/new-terminal' " +
                              arguments + " 2>/dev/null";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

namespace {

// scripts/new-terminal takes most of a second; a test copies the terminal it
// made once, then boots the copy now, as the script would have.
class FactoryTerminal {
 public:
  ~FactoryTerminal() {
    if (!folder_.empty()) fs::remove_all(folder_.parent_path());
  }
  // Empty when the script failed.
  fs::path Folder() {
    if (folder_.empty()) {
      folder_ = MakeTemporaryFolder() / "terminal";
      made_ = RunNewTerminal("'" + folder_.string() + "'") == 0;
    }
    return made_ ? folder_ : fs::path();
  }

 private:
  fs::path folder_;
  bool made_ = false;
};

}  // namespace

void TerminalTest::SetUp() {
  static FactoryTerminal factory;
  const fs::path made = factory.Folder();
  ASSERT_FALSE(made.empty()) << "scripts/new-terminal failed";
  folder_ = MakeTemporaryFolder() / "terminal";
  fs::copy(made, folder_, fs::copy_options::recursive);
  ASSERT_TRUE(sim::MarkBooted(folder_, sim::TerminalClock(folder_).UtcMilliseconds()));
}

void TerminalTest::TearDown() {
  fs::remove_all(folder_.parent_path());
}

fs::path TerminalTest::PathOf(std::string_view relative) const {
  return folder_ / relative;
}

std::string TerminalTest::ReadFile(std::string_view relative) const {
  std::ifstream in(PathOf(relative), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void TerminalTest::WriteFile(std::string_view relative, std::string_view bytes) const {
  std::ofstream out(PathOf(relative), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::string> TerminalTest::Listing() const {
  std::vector<std::string> names;
  for (const auto& entry : fs::recursive_directory_iterator(folder_)) {
    names.push_back(entry.path().lexically_relative(folder_).string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::unique_ptr<SimulatedTerminal> TerminalTest::Load() const {
  std::string error;
  auto terminal = SimulatedTerminal::Load(folder_.string(), &error);
  EXPECT_NE(terminal, nullptr) << error;
  return terminal;
}

long SetString(Platform& os, const char16_t* key, const char16_t* name, std::u16string text,
               std::uint32_t access) {
  RegKey handle = 0;
  if (const long status = os.RegOpenKeyEx(kHkeyLocalMachine, key, 0, access, &handle)) {
    return status;
  }
  const long status =
      os.RegSetValueEx(handle, name, 0, kRegSz, reinterpret_cast<const std::uint8_t*>(text.c_str()),
                       static_cast<std::uint32_t>((text.size() + 1) * 2));
  EXPECT_EQ(os.RegCloseKey(handle), 0);
  return status;
}

Handle OpenEeprom(Platform& os) {
  return os.CreateFile(u"EOM1:", kGenericRead | kGenericWrite, kFileShareRead | kFileShareWrite,
                       nullptr, kOpenExisting, 0, 0);
}

Handle OpenForRead(Platform& os, const char16_t* path) {
  return os.CreateFile(path, kGenericRead, kFileShareRead, nullptr, kOpenExisting, 0, 0);
}

Handle OpenForWrite(Platform& os, const char16_t* path) {
  return os.CreateFile(path, kGenericWrite, kFileShareWrite, nullptr, kCreateAlways, 0, 0);
}

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

std::string ReplacedAfter(const std::string& text, std::string_view anchor, std::string_view from,
                          std::string_view to) {
  const std::size_t at = text.find(from, text.find(anchor));
  EXPECT_NE(text.find(anchor), std::string::npos) << anchor;
  EXPECT_NE(at, std::string::npos) << from;
  std::string replaced = text;
  return at == std::string::npos ? replaced : replaced.replace(at, from.size(), to);
}

}  // namespace hw::simtest
