// How a terminal folder is found and loaded: its files read in the order
// their errors are reported, and refused whole when one does not make sense.
#include "platform/simulator/terminal/TerminalLoad.h"

#ifdef _WIN32
#include <windows.h>  // before the platform interface, which undoes its W names
#endif

#include <algorithm>
#include <cstdlib>
#include <string_view>
#include <system_error>
#include <utility>

#include "platform/simulator/TextCodec.h"
#include "platform/simulator/files/FileIo.h"
#include "platform/simulator/terminal/SimulatedTerminal.h"
#include "platform/simulator/terminal/TerminalLog.h"

namespace hw {

namespace fs = std::filesystem;
using sim::ReadResult;

namespace {

std::string Located(std::string_view file, int line, std::string_view reason) {
  return std::string(file) + ":" + std::to_string(line) + ": " + std::string(reason);
}

// Reads one optional file of the terminal; a file that is there but cannot be
// read is an error, like one that does not parse.
bool ReadTerminalFile(const fs::path& folder, std::string_view name, std::string* bytes,
                      bool* present, std::string* error) {
  const ReadResult read = sim::ReadWholeFile(folder / sim::PathFromUtf8(name), bytes);
  *present = read == ReadResult::kRead;
  if (read == ReadResult::kFailed) *error = Located(name, 1, "cannot be read");
  return read != ReadResult::kFailed;
}

// What the last boot loaded. After a boot, the drivers are loaded now, from
// the registry as it stands, and written down. A terminal made before the
// simulator kept the file boots now.
std::string LoadDrivers(const fs::path& folder, const sim::DeviceConfig& faults,
                        const sim::RegistryFile& registry, sim::BootRecord* record) {
  std::string bytes;
  bool present = false;
  std::string error;
  sim::ParseError parse;
  if (!ReadTerminalFile(folder, sim::kDriversFileName, &bytes, &present, &error)) return error;
  if (!present) {
    record->bootedAtMs = sim::TerminalClock(folder).UtcMilliseconds();
  } else if (!sim::ParseDriversFile(bytes, record, &parse)) {
    return Located(sim::kDriversFileName, parse.line, parse.reason);
  }
  if (record->loaded) return {};
  sim::LoadBootDrivers(folder / "Windows", faults, registry, record);
  if (!sim::ReplaceFileAtomically(folder / sim::kDriversFileName, sim::FormatDriversFile(*record),
                                  sim::Durability::kCached)) {
    return Located(sim::kDriversFileName, 1, "cannot be written");
  }
  return {};
}

// Reads the terminal's files in the order their errors are reported. The
// registry is read into the cache its calls will start from.
std::string LoadError(const fs::path& folder, sim::DeviceConfig* faults,
                      sim::RegistryFileCache* registry, sim::BootRecord* drivers) {
  std::string bytes;
  bool present = false;
  std::string error;
  sim::ParseError parse;
  if (!ReadTerminalFile(folder, "device.ini", &bytes, &present, &error)) return error;
  if (present && !sim::ParseDeviceConfig(bytes, faults, &parse)) {
    return Located("device.ini", parse.line, parse.reason);
  }
  switch (registry->Refresh(&parse)) {
    case sim::RegistryFileCache::State::kUnreadable:
      return Located("registry.reg", 1, "cannot be read");
    case sim::RegistryFileCache::State::kMalformed:
      return Located("registry.reg", parse.line, parse.reason);
    default: break;
  }
  if (!ReadTerminalFile(folder, "eeprom.bin", &bytes, &present, &error)) return error;
  if (present && bytes.size() != sim::kEepromSize) {
    return Located("eeprom.bin", 1,
                   "holds " + std::to_string(bytes.size()) + " bytes; the chip has 256 cells");
  }
  return LoadDrivers(folder, *faults, registry->file(), drivers);
}

}  // namespace

std::unique_ptr<SimulatedTerminal> SimulatedTerminal::Load(const std::string& folder,
                                                           std::string* error) {
  const fs::path path = sim::PathFromUtf8(folder);
  sim::DeviceConfig faults;
  sim::RegistryFileCache registry(path / "registry.reg");
  sim::BootRecord drivers;
  std::error_code ec;
  std::string message =
      fs::is_directory(path, ec)
          ? LoadError(path, &faults, &registry, &drivers)
          : sim::DesktopPath(folder) + ": no terminal folder there; scripts/new-terminal makes one";
  if (message.empty()) {
    return std::unique_ptr<SimulatedTerminal>(
        new SimulatedTerminal(path, std::move(faults), std::move(registry), std::move(drivers)));
  }
  sim::ReportTerminalError(path, message, error == nullptr);
  if (error != nullptr) *error = std::move(message);
  return nullptr;
}

std::string FindTerminalFolder(const std::string& exeDir) {
  std::string configured;
#ifdef _WIN32
  // The environment is UTF-16 on Windows; the ANSI copy would lose names.
  if (const wchar_t* value = _wgetenv(L"HWSETUP_TERMINAL")) {
    sim::Utf16ToUtf8(reinterpret_cast<const char16_t*>(value), &configured);
  }
#else
  if (const char* value = std::getenv("HWSETUP_TERMINAL")) configured = value;
#endif
  if (!configured.empty()) return configured;
  if (exeDir.empty()) return "terminal";
  const char last = exeDir.back();
  if (last == '/' || last == '\\') return exeDir + "terminal";
  // One kind of separator in the path: the one the folder already uses.
  return exeDir + (exeDir.find('\\') != std::string::npos ? "\\terminal" : "/terminal");
}

#ifdef _WIN32
std::string ProgramTerminalFolder() {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::u16string folder(reinterpret_cast<const char16_t*>(path), length < MAX_PATH ? length : 0);
  folder.erase(std::min(folder.size(), folder.find_last_of(u"\\/")));
  std::string utf8;
  sim::Utf16ToUtf8(folder, &utf8);
  return FindTerminalFolder(utf8);
}
#endif

}  // namespace hw
