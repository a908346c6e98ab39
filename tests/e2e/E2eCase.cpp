#include "E2eCase.h"

#include <cstdio>
#include <sstream>

#include "Config.h"
#include "Text.h"
#include "WindowQuery.h"

namespace e2e {
namespace {

std::string CaseName() {
  const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string(info->test_suite_name()) + "." + info->name();
  for (char& c : name) {
    if (c == '/' || c == '\\' || c == ':') c = '_';
  }
  return name;
}

std::string Numbered(const std::vector<std::string>& lines) {
  std::ostringstream out;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    out << "  " << i + 1 << ": " << Visible(lines[i]) << "\n";
  }
  if (lines.empty()) out << "  (none)\n";
  return out.str();
}

}  // namespace

void E2eCase::SetUp() {
  caseDir_ = TheConfig().workDir / Wide(CaseName());
  terminal_ =
      std::make_unique<TerminalFolder>(TheConfig().templateTerminal, caseDir_ / L"terminal");
}

void E2eCase::RenewTerminal() {
  terminal_ =
      std::make_unique<TerminalFolder>(TheConfig().templateTerminal, caseDir_ / L"terminal");
}

void E2eCase::TearDown() {
  if (tool_ && tool_->Started() && WaitForSingleObject(tool_->Process(), 0) == WAIT_TIMEOUT) {
    for (HWND box : tool_->MessageBoxes()) {
      ADD_FAILURE() << "a message box was left open: \"" << TextOf(box) << "\": \""
                    << ItemText(box, 0xFFFF) << "\"";
      tool_->PressOk(E2E_HERE, box);
    }
    if (tool_->FindMainWindow() != nullptr) Close(E2E_HERE);
  }
  tool_.reset();
}

ToolProcess& E2eCase::Launch(const Where& where, Flavour flavour, const std::string& winedebug) {
  LaunchOptions options;
  options.exe = flavour == Flavour::kSimulator ? TheConfig().simulatorExe : TheConfig().deviceExe;
  options.workDir = caseDir_;
  if (flavour == Flavour::kSimulator) options.terminal = Terminal().Root();
  options.winedebug = winedebug;
  tool_.reset();
  tool_ = std::make_unique<ToolProcess>(where, options);
  return *tool_;
}

ToolProcess& E2eCase::Start(const Where& where) {
  Launch(where);
  tool_->WaitMainWindowShown(where);
  return *tool_;
}

std::optional<DWORD> E2eCase::Close(const Where& where, WPARAM command) {
  tool_->PostCommand(where, command);
  return tool_->WaitExit(where);
}

std::vector<std::string> E2eCase::Press(const Where& where, HWND page, int id,
                                        std::size_t expectedLines) {
  const std::size_t before = Terminal().DebugLog().size();
  HWND button = GetDlgItem(page, id);
  if (button == nullptr) {
    E2E_FAIL_AT(where) << "page has no control " << id << " to click";
    return {};
  }
  PostMessageW(page, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
  bool done = PollUntil(
      [&] {
        return Terminal().DebugLog().size() >= before + expectedLines ||
               !tool_->MessageBoxes().empty();
      },
      kStepTimeout);
  if (!done) {
    E2E_FAIL_AT(where) << "timed out after " << kStepTimeout << " ms awaiting " << expectedLines
                       << " trace lines from a click on " << id << "; debug.log has "
                       << Numbered(After(Terminal().DebugLog(), before));
  }
  tool_->Sync(where, page);
  return After(Terminal().DebugLog(), before);
}

std::vector<std::string> E2eCase::SendClick(const Where& where, HWND page, int id) {
  const std::size_t before = Terminal().DebugLog().size();
  DWORD_PTR result = 0;
  if (SendMessageTimeoutW(page, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                          reinterpret_cast<LPARAM>(GetDlgItem(page, id)), SMTO_NORMAL, kStepTimeout,
                          &result) == 0) {
    E2E_FAIL_AT(where) << "the click notification for " << id << " was not handled within "
                       << kStepTimeout << " ms";
  }
  return After(Terminal().DebugLog(), before);
}

void E2eCase::ExpectLabels(const Where& where, const std::vector<std::uint8_t>& eeprom) {
  for (const CellEntry& cell : Cells()) {
    HWND page = tool_->Page(cell.page);
    if (page == nullptr) {
      E2E_FAIL_AT(where) << "page " << cell.page << " has no window to show the " << cell.module
                         << " label";
      continue;
    }
    std::string expected = LabelOf(cell, eeprom.at(cell.address));
    std::string actual = ItemText(page, cell.labelId);
    if (actual != expected) {
      E2E_FAIL_AT(where) << cell.module << " label " << cell.labelId << " on page " << cell.page
                         << ": expected \"" << expected << "\", actual \"" << actual << "\"";
    }
  }
}

void E2eCase::ExpectNoMessageBox(const Where& where) {
  for (HWND box : tool_->MessageBoxes()) {
    E2E_FAIL_AT(where) << "unexpected message box \"" << TextOf(box) << "\": \""
                       << ItemText(box, 0xFFFF) << "\"";
    tool_->PressOk(where, box);
  }
}

std::vector<std::string> StartLines(const std::vector<std::uint8_t>& eeprom) {
  std::vector<std::string> lines;
  for (const CellEntry& cell : Cells()) {
    for (const std::string& line : RefreshLines(cell, eeprom.at(cell.address))) {
      lines.push_back(line);
    }
  }
  return lines;
}

void ExpectLines(const Where& where, const std::string& what,
                 const std::vector<std::string>& expected, const std::vector<std::string>& actual) {
  if (expected == actual) return;
  E2E_FAIL_AT(where) << what << " differ\nexpected:\n"
                     << Numbered(expected) << "actual:\n"
                     << Numbered(actual);
}

void ExpectRegistry(const Where& where, const RegistryFile& before,
                    const std::vector<RegistryValue>& writes, const RegistryFile& after) {
  if (!after.Error().empty()) {
    E2E_FAIL_AT(where) << "registry.reg does not parse: " << after.Error();
  }
  RegistryFile expected = before;
  for (const RegistryValue& value : writes) expected.Set(value.key, value.name, value.data);
  std::ostringstream differences;
  for (const auto& [key, values] : expected.All()) {
    auto actualKey = after.All().find(key);
    if (actualKey == after.All().end()) {
      differences << "  key [" << key << "] is gone\n";
      continue;
    }
    for (const auto& [name, data] : values) {
      auto actual = actualKey->second.find(name);
      if (actual == actualKey->second.end()) {
        differences << "  [" << key << "] \"" << name << "\" is gone\n";
      } else if (actual->second != data) {
        differences << "  [" << key << "] \"" << name << "\": expected \"" << data
                    << "\", actual \"" << actual->second << "\"\n";
      }
    }
  }
  for (const auto& [key, values] : after.All()) {
    auto expectedKey = expected.All().find(key);
    if (expectedKey == expected.All().end()) {
      differences << "  key [" << key << "] is new\n";
      continue;
    }
    for (const auto& [name, data] : values) {
      if (expectedKey->second.count(name) == 0) {
        differences << "  [" << key << "] \"" << name << "\" = \"" << data << "\" is new\n";
      }
    }
  }
  if (!differences.str().empty()) {
    E2E_FAIL_AT(where) << "registry.reg differs from the values expected:\n" << differences.str();
  }
}

void ExpectEeprom(const Where& where, const std::vector<std::uint8_t>& expected,
                  const std::vector<std::uint8_t>& actual) {
  if (expected.size() != actual.size()) {
    E2E_FAIL_AT(where) << "eeprom.bin holds " << actual.size() << " bytes, expected "
                       << expected.size();
    return;
  }
  for (std::size_t address = 0; address < expected.size(); ++address) {
    if (expected[address] != actual[address]) {
      char line[96];
      std::snprintf(line, sizeof line, "eeprom.bin cell 0x%02X: expected 0x%02X, actual 0x%02X",
                    static_cast<unsigned>(address), expected[address], actual[address]);
      E2E_FAIL_AT(where) << line;
    }
  }
}

std::vector<std::string> After(const std::vector<std::string>& all, std::size_t skip) {
  if (skip >= all.size()) return {};
  return std::vector<std::string>(all.begin() + static_cast<std::ptrdiff_t>(skip), all.end());
}

std::vector<std::uint8_t> EepromImage(
    std::initializer_list<std::pair<std::uint8_t, std::uint8_t>> cells, std::uint8_t filler) {
  std::vector<std::uint8_t> image(256, filler);
  for (const auto& [address, value] : cells) image[address] = value;
  return image;
}

}  // namespace e2e
