// Failed cell writes, refused registry keys and Bluetooth installs that cannot
// be done, seen from the technician's side and in the terminal's files.
#include "E2eCase.h"
#include "WindowQuery.h"

namespace e2e {
namespace {

class ProvisioningFault : public E2eCase {
 protected:
  void SetUp() override {
    E2eCase::SetUp();
    for (const RegistryValue& value : ManagedValues()) {
      ASSERT_TRUE(Terminal().SeedRegistryValue(value.key, value.name, "e2e-before")) << value.key;
    }
  }

  HWND PageShown(int number) {
    Tool().SelectTab(E2E_HERE, number - 1);
    HWND page = Tool().Page(number);
    EXPECT_NE(nullptr, page);
    return page;
  }

  // Presses a Bluetooth row whose install must fail: the cell is written and
  // shown first, then "Setup Failed!" comes up exactly once.
  void ExpectInstallFailure(const Where& where, int id) {
    const ButtonRow& button = ButtonOn(2, id);
    HWND page = PageShown(2);
    const std::size_t before = Terminal().DebugLog().size();
    const std::vector<std::string> expected = RefreshLines(CellAt(button.cell), button.code);
    ExpectLines(where, "trace of the press", expected, Press(where, page, id, expected.size()));
    EXPECT_EQ(LabelOf(CellAt(button.cell), button.code),
              ItemText(page, CellAt(button.cell).labelId));
    std::vector<HWND> boxes = Tool().MessageBoxes();
    ASSERT_EQ(1u, boxes.size()) << "message boxes after the press";
    const MessageBoxView view = ViewOf(boxes[0]);
    EXPECT_EQ(kSetupFailedCaption, view.caption);
    EXPECT_EQ(kSetupFailedText, view.text);
    EXPECT_EQ(page, view.owner);
    EXPECT_EQ(std::vector<int>{IDOK}, view.visibleButtons);
    EXPECT_FALSE(view.hasIcon);
    Tool().PressOk(where, boxes[0]);
    Tool().Sync(where, page);
    ExpectNoMessageBox(where);
    ExpectLines(where, "trace after the box", expected, After(Terminal().DebugLog(), before));
  }
};

TEST_F(ProvisioningFault, FailedWritesSkipOnly3GProvisioning) {
  const std::vector<std::uint8_t> image = EepromImage({{0x91, 0x11}, {0x11, 0xFF}, {0x19, 0x00}});
  Terminal().SetEeprom(image);
  Terminal().WriteDeviceIni("[EOM1]\nfail_write = 0x91 0x11 0x19\n");
  Start(E2E_HERE);
  HWND page1 = PageShown(1);
  ASSERT_NE(nullptr, page1);
  const std::string registry = Terminal().Read("registry.reg");
  for (const ButtonRow& button : Buttons()) {
    if (button.writeFailureNumber == 0) continue;
    SCOPED_TRACE("3G button " + std::to_string(button.id));
    std::vector<std::string> expected{WriteFailedLine(button.writeFailureNumber)};
    for (const std::string& line : RefreshLines(CellAt(0x91), 0x11)) expected.push_back(line);
    std::vector<std::string> lines = button.visible
                                         ? Press(E2E_HERE, page1, button.id, expected.size())
                                         : SendClick(E2E_HERE, page1, button.id);
    ExpectLines(E2E_HERE, "trace of the press", expected, lines);
    EXPECT_EQ("SIMCOM WCDMA", ItemText(page1, 1010));
    EXPECT_EQ(registry, Terminal().Read("registry.reg")) << "registry.reg changed";
  }

  // WiFi and Bluetooth rows do not look at the write: no line of their own,
  // the label keeps the old code, and the provisioning runs all the same.
  HWND page2 = PageShown(2);
  ASSERT_NE(nullptr, page2);
  const RegistryFile before = Terminal().Registry();
  ExpectLines(E2E_HERE, "trace of \"USI SD40\"", RefreshLines(CellAt(0x11), 0xFF),
              Press(E2E_HERE, page2, 1020, 2));
  EXPECT_EQ("muRata 2To1", ItemText(page2, 1019));
  ExpectRegistry(E2E_HERE, before, RegistryWritesOf(Effect::kWifiUsiSd40), Terminal().Registry());
  ExpectLines(E2E_HERE, "trace of \"2to1\"", RefreshLines(CellAt(0x19), 0x00),
              Press(E2E_HERE, page2, 1009, 2));
  EXPECT_EQ("None", ItemText(page2, 1011));
  EXPECT_EQ(Terminal().Read("Windows/PSconfig.psr"), Terminal().Read(kInstalledFile));
  ExpectNoMessageBox(E2E_HERE);
  ExpectEeprom(E2E_HERE, image, Terminal().Eeprom());
}

TEST_F(ProvisioningFault, RefusedKeyIsSkippedSilently) {
  Terminal().WriteDeviceIni("[registry]\ndeny = Drivers\\BuiltIn\\HCD_HSH1\n");
  Terminal().SetCell(0x91, 0xFF);
  Start(E2E_HERE);
  const std::string registry = Terminal().Read("registry.reg");
  ExpectLines(E2E_HERE, "trace of \"SIMCOM_WCDMA\"", RefreshLines(CellAt(0x91), 0x11),
              Press(E2E_HERE, PageShown(1), 1016, 2));
  ExpectNoMessageBox(E2E_HERE);
  EXPECT_EQ(registry, Terminal().Read("registry.reg"));
  const RegistryFile before = Terminal().Registry();
  Press(E2E_HERE, PageShown(2), 1022, 2);
  ExpectRegistry(E2E_HERE, before, RegistryWritesOf(Effect::kWifiMurata8Xqf),
                 Terminal().Registry());
}

// A flash copy from an earlier install, which a failure before the create
// must leave as it is.
const std::string kEarlierInstall = "an earlier install\r\n";

TEST_F(ProvisioningFault, MissingSourceShowsSetupFailedOnce) {
  Terminal().Remove("Windows/PSconfig.psr");
  Terminal().Write(kInstalledFile, kEarlierInstall);
  Start(E2E_HERE);
  ExpectInstallFailure(E2E_HERE, 1009);
  EXPECT_EQ(kEarlierInstall, Terminal().Read(kInstalledFile));
  EXPECT_EQ(0xFF, Terminal().Eeprom()[0x19]) << "the cell is written before the install";
}

TEST_F(ProvisioningFault, SourceBelowHundredBytesShowsSetupFailed) {
  Terminal().Write("Windows/PSconfig1.psr", std::string(99, 'p'));
  Terminal().Write(kInstalledFile, kEarlierInstall);
  Start(E2E_HERE);
  ExpectInstallFailure(E2E_HERE, 1010);
  EXPECT_EQ(kEarlierInstall, Terminal().Read(kInstalledFile));
}

TEST_F(ProvisioningFault, FullFlashShowsSetupFailed) {
  Terminal().WriteDeviceIni("[files]\nflash_free_bytes = 50\n");
  ASSERT_GT(Terminal().Read("Windows/PSconfig.psr").size(), 50u);
  Start(E2E_HERE);
  ExpectInstallFailure(E2E_HERE, 1009);
}

TEST_F(ProvisioningFault, HundredByteSourceReplacesAReadOnlyCopy) {
  std::string source(100, '\0');
  for (std::size_t i = 0; i < source.size(); ++i) source[i] = static_cast<char>(i * 13);
  Terminal().Write("Windows/PSconfig1.psr", source);
  Terminal().Write(kInstalledFile, kEarlierInstall);
  ASSERT_TRUE(
      SetFileAttributesW(Terminal().PathOf(kInstalledFile).c_str(), FILE_ATTRIBUTE_READONLY));
  Start(E2E_HERE);
  ExpectLines(E2E_HERE, "trace of \"46LCS3\"", RefreshLines(CellAt(0x19), 0x01),
              Press(E2E_HERE, PageShown(2), 1010, 2));
  ExpectNoMessageBox(E2E_HERE);
  EXPECT_EQ(source, Terminal().Read(kInstalledFile));
}

}  // namespace
}  // namespace e2e
