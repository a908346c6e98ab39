#pragma once

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "Catalogue.h"
#include "TerminalFolder.h"
#include "ToolProcess.h"
#include "Where.h"

namespace e2e {

enum class Flavour { kSimulator, kDevice };

// One case: a fresh terminal copied from the template into the case's own
// folder, and at most one run of the tool on it at a time.
class E2eCase : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  TerminalFolder& Terminal() { return *terminal_; }
  // A fresh copy of the template in place of the case's terminal, for a case
  // that runs the tool twice. The tool must have ended.
  void RenewTerminal();
  const std::filesystem::path& CaseDir() const { return caseDir_; }

  // Starts the tool without waiting for anything.
  ToolProcess& Launch(const Where& where, Flavour flavour = Flavour::kSimulator,
                      const std::string& winedebug = "-all");
  // Starts the simulator flavour and waits until its start is over.
  ToolProcess& Start(const Where& where);
  ToolProcess& Tool() { return *tool_; }
  // Ends the running tool with a posted command and returns its exit code.
  std::optional<DWORD> Close(const Where& where, WPARAM command = IDCANCEL);

  // A technician's click: BN_CLICKED from the button, posted to its page. Then
  // waits until debug.log has grown by `expectedLines` lines (or a message box
  // came up) and the page's thread has answered a WM_NULL. Returns the lines
  // the press added.
  std::vector<std::string> Press(const Where& where, HWND page, int id, std::size_t expectedLines);
  // The same notification sent to the page, for a button nobody can click.
  std::vector<std::string> SendClick(const Where& where, HWND page, int id);

  // Both pages' labels against the cell values they should show.
  void ExpectLabels(const Where& where, const std::vector<std::uint8_t>& eeprom);
  void ExpectNoMessageBox(const Where& where);

  std::unique_ptr<ToolProcess> tool_;

 private:
  std::filesystem::path caseDir_;
  std::unique_ptr<TerminalFolder> terminal_;
};

// The trace a start writes for an EEPROM image: page one's cells, then page two's.
std::vector<std::string> StartLines(const std::vector<std::uint8_t>& eeprom);

// Compares two lists of lines; on a difference prints both, numbered, with
// control characters spelled out.
void ExpectLines(const Where& where, const std::string& what,
                 const std::vector<std::string>& expected, const std::vector<std::string>& actual);

// registry.reg against `before` with `writes` applied. Every key and value is
// compared, so a stray write shows as well as a missing one.
void ExpectRegistry(const Where& where, const RegistryFile& before,
                    const std::vector<RegistryValue>& writes, const RegistryFile& after);

// eeprom.bin against the image it should hold; names each cell that differs.
void ExpectEeprom(const Where& where, const std::vector<std::uint8_t>& expected,
                  const std::vector<std::uint8_t>& actual);

// The lines of `all` after the first `skip`.
std::vector<std::string> After(const std::vector<std::string>& all, std::size_t skip);

// A fresh chip (all 0xFF) with the given cells set.
std::vector<std::uint8_t> EepromImage(
    std::initializer_list<std::pair<std::uint8_t, std::uint8_t>> cells, std::uint8_t filler = 0xFF);

}  // namespace e2e
