// Every button of both pages pressed on a fresh terminal, then the cell, the
// label, the trace, the registry and the flash file checked against what the
// button stands for.
#include <cctype>

#include "E2eCase.h"
#include "WindowQuery.h"

namespace e2e {
namespace {

const std::string kBefore = "e2e-before";

// Puts a marker into every registry value the tool manages, so that a write
// shows even where the template already holds the text the tool writes.
void SeedManagedValues(TerminalFolder& terminal) {
  for (const RegistryValue& value : ManagedValues()) {
    ASSERT_TRUE(terminal.SeedRegistryValue(value.key, value.name, kBefore))
        << "the template terminal lacks the key " << value.key;
  }
}

class Selection : public E2eCase, public testing::WithParamInterface<ButtonRow> {
 protected:
  HWND ShowPage(int number) {
    Tool().SelectTab(E2E_HERE, number - 1);
    HWND page = Tool().Page(number);
    EXPECT_NE(nullptr, page) << "page " << number;
    return page;
  }

  // One press and everything it must leave behind; `eeprom` is updated.
  void PressAndCheck(const Where& where, HWND page, const ButtonRow& button,
                     std::vector<std::uint8_t>& eeprom) {
    const RegistryFile registryBefore = Terminal().Registry();
    const std::string registryBytes = Terminal().Read("registry.reg");
    const std::vector<std::string> expectedLines = RefreshLines(CellAt(button.cell), button.code);
    const std::vector<std::string> lines = button.visible
                                               ? Press(where, page, button.id, expectedLines.size())
                                               : SendClick(where, page, button.id);
    ExpectLines(where, "trace lines of the press", expectedLines, lines);
    ExpectNoMessageBox(where);

    eeprom[button.cell] = button.code;
    ExpectEeprom(where, eeprom, Terminal().Eeprom());
    ExpectLabels(where, eeprom);

    const std::vector<RegistryValue> writes = RegistryWritesOf(button.effect);
    if (writes.empty()) {
      if (Terminal().Read("registry.reg") != registryBytes) {
        E2E_FAIL_AT(where) << "registry.reg was rewritten";
      }
    } else {
      ExpectRegistry(where, registryBefore, writes, Terminal().Registry());
    }

    const std::string source = InstallSourceOf(button.effect);
    if (!source.empty()) {
      if (!Terminal().Exists(kInstalledFile)) {
        E2E_FAIL_AT(where) << kInstalledFile << " was not installed";
      } else if (Terminal().Read(kInstalledFile) != Terminal().Read(source)) {
        E2E_FAIL_AT(where) << kInstalledFile << " (" << Terminal().Read(kInstalledFile).size()
                           << " bytes) differs from " << source << " ("
                           << Terminal().Read(source).size() << " bytes)";
      }
    }
  }
};

TEST_P(Selection, WritesTheCodeShowsItAndProvisions) {
  const ButtonRow& button = GetParam();
  // The cell starts on another code, so the write and the refresh both show.
  Terminal().SetCell(button.cell, button.code == 0xFF ? 0x00 : 0xFF);
  SeedManagedValues(Terminal());
  std::vector<std::uint8_t> eeprom = Terminal().Eeprom();
  Start(E2E_HERE);
  HWND page = ShowPage(button.page);
  ASSERT_NE(nullptr, page);
  ExpectLabels(E2E_HERE, eeprom);
  ASSERT_EQ(button.visible,
            (GetWindowLongW(GetDlgItem(page, button.id), GWL_STYLE) & WS_VISIBLE) != 0);

  PressAndCheck(E2E_HERE, page, button, eeprom);
  if (InstallSourceOf(button.effect).empty()) {
    EXPECT_FALSE(Terminal().Exists(kInstalledFile)) << "only the Bluetooth rows install a file";
  }
}

std::string ButtonName(const testing::TestParamInfo<ButtonRow>& info) {
  std::string name =
      "Page" + std::to_string(info.param.page) + "_" + std::to_string(info.param.id) + "_";
  for (char c : info.param.caption) {
    if (std::isalnum(static_cast<unsigned char>(c))) name += c;
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(Buttons, Selection, testing::ValuesIn(Buttons()), ButtonName);

// Rows one after another on one terminal: nothing undoes what an earlier row
// provisioned, and a later row replaces it.
TEST_F(Selection, LaterRowsReplaceButNeverUndoProvisioning) {
  SeedManagedValues(Terminal());
  std::vector<std::uint8_t> eeprom = Terminal().Eeprom();
  Start(E2E_HERE);
  HWND page2 = ShowPage(2);
  ASSERT_NE(nullptr, page2);
  for (int id : {1020, 1021, 1018, 1022, 1020, 1009, 1010, 1012}) {
    SCOPED_TRACE("page 2 button " + std::to_string(id));
    PressAndCheck(E2E_HERE, page2, ButtonOn(2, id), eeprom);
  }
  EXPECT_EQ(Terminal().Read("Windows/PSconfig1.psr"), Terminal().Read(kInstalledFile))
      << "Bluetooth \"None\" leaves the installed file in place";
  HWND page1 = ShowPage(1);
  for (int id : {1011, 1016, 1011, 1017}) {
    SCOPED_TRACE("page 1 button " + std::to_string(id));
    PressAndCheck(E2E_HERE, page1, ButtonOn(1, id), eeprom);
  }
}

}  // namespace
}  // namespace e2e
