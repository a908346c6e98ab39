#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

// What a technician's terminal is expected to show and do, written down from
// the product's own description of the cells and buttons. The driver checks
// the running program against these tables; it never asks the program's
// sources what they hold.
namespace e2e {

struct KnownCode {
  std::uint8_t code;
  std::string label;
  std::string trace;
};

struct CellEntry {
  std::string module;
  std::uint8_t address;
  int page;  // 1 or 2
  int labelId;
  std::string rawTrace;  // printf format with one %X
  std::vector<KnownCode> codes;
  std::string fallbackTrace;
};

// The nine cells in refresh order: page one's five, then page two's four.
const std::vector<CellEntry>& Cells();
const CellEntry& CellAt(std::uint8_t address);

std::string LabelOf(const CellEntry& cell, std::uint8_t value);
// The two lines of one successful refresh: raw value, then decoded.
std::vector<std::string> RefreshLines(const CellEntry& cell, std::uint8_t value);

inline const std::string kReadFailedLine =
    "Korva_HWSetupDlg: DeviceIoControl(EOM1, EEPROM_READ) Failed!\r\n";
inline const std::string kOpenFailedLine = "Korva_HWSetupDlg: CreateFile(EOM1) Failed!\r\n";
inline const std::string kOpenFailedText = "打开Flash设备失败！";  // ends in U+FF01
inline const std::string kOpenFailedCaption = "HWSetup";
inline const std::string kSetupFailedText = "Setup Failed!";
inline const std::string kSetupFailedCaption = "Tip";
std::string WriteFailedLine(int number);  // "... Failed 00N!\r\n"

// What a button provisions besides its cell.
enum class Effect {
  kNone,
  kUsbHostOff,
  kUsbHostOn,
  kWifiUsiSd40,
  kWifiMurata8Xqf,
  kPsConfig,
  kPsConfig1
};

struct ButtonRow {
  int page;
  int id;
  std::string caption;
  std::uint8_t cell;  // address
  std::uint8_t code;
  Effect effect;
  int writeFailureNumber;  // 3G rows: 1..4; 0 for every other row
  bool visible;
};

// How a failing case names its button.
void PrintTo(const ButtonRow& button, std::ostream* out);

// Every button of both pages, in the order of their rows.
const std::vector<ButtonRow>& Buttons();
const ButtonRow& ButtonOn(int page, int id);

struct RegistryValue {
  std::string key;  // under HKEY_LOCAL_MACHINE
  std::string name;
  std::string data;
};

// Every value the tool may write, in no particular order.
const std::vector<RegistryValue>& ManagedValues();
// The values a button's provisioning writes, in the order it writes them.
std::vector<RegistryValue> RegistryWritesOf(Effect effect);
// The source file, relative to the terminal folder, a Bluetooth row installs;
// empty for every other row.
std::string InstallSourceOf(Effect effect);
inline const std::string kInstalledFile = "Flash Disk/PSconfig.psr";

}  // namespace e2e
