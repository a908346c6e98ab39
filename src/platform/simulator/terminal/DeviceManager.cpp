#include "platform/simulator/terminal/DeviceManager.h"

#include <algorithm>
#include <optional>
#include <string>
#include <system_error>

#include "platform/simulator/TextCodec.h"
#include "platform/simulator/files/FileIo.h"

namespace hw::sim {

namespace fs = std::filesystem;

namespace {

constexpr char kUsbHostKey[] = "Drivers\\BuiltIn\\HCD_HSH1";
constexpr char kCardKeyStart[] = "\\Drivers\\SDCARD\\ClientDrivers\\Custom\\MANF-02D0-CARDID-";
constexpr char kCardKeyEnd[] = "-FUNC-1";

std::optional<std::string> StringValue(const RegistryFile& registry, const std::string& key,
                                       std::string_view name) {
  const std::optional<RegistryValue> value = registry.QueryValue(key, name);
  if (!value || value->type != kRegSz) return std::nullopt;
  std::string text;
  std::size_t bad = 0;
  const std::string_view bytes(reinterpret_cast<const char*>(value->data.data()),
                               value->data.size());
  if (!Utf16LeToUtf8(bytes, &text, &bad)) return std::nullopt;
  text.erase(std::min(text.size(), text.find('\0')));
  return text;
}

std::uint32_t IndexValue(const RegistryFile& registry, const std::string& key) {
  const std::optional<RegistryValue> value = registry.QueryValue(key, "Index");
  if (!value || value->type != kRegDword || value->data.size() != 4) return 1;
  const auto& d = value->data;
  return d[0] | d[1] << 8 | d[2] << 16 | static_cast<std::uint32_t>(d[3]) << 24;
}

// Whether `dll`, a bare file name, is a file of the folder, compared without case.
bool HasFile(const fs::path& windows, const std::string& dll) {
  std::error_code ec;
  for (fs::directory_iterator it(windows, ec), end; !ec && it != end; it.increment(ec)) {
    if (it->is_regular_file(ec) && EqualsFolded(PathToUtf8(it->path().filename()), dll)) {
      return true;
    }
  }
  return false;
}

bool InitFails(const DeviceConfig& config, std::string_view key) {
  const std::string_view name = key.substr(key.rfind('\\') + 1);
  return std::any_of(config.failingInits.begin(), config.failingInits.end(),
                     [&](const std::string& failing) { return EqualsFolded(failing, name); });
}

// ActivateDeviceEx of `key`, as Device Manager passes it, at `loadedAtMs`.
void Activate(const fs::path& windows, const DeviceConfig& config, const RegistryFile& registry,
              const std::string& key, std::int64_t loadedAtMs, BootRecord* record) {
  const std::string path = "HKEY_LOCAL_MACHINE\\" + key.substr(key[0] == '\\' ? 1 : 0);
  const std::optional<std::string> dll = StringValue(registry, path, "Dll");
  std::string leftOut;
  if (!registry.HasKey(path)) {
    leftOut = "the key is not in the registry";
  } else if (!dll) {
    leftOut = "the key has no Dll";
  } else if (!HasFile(windows, *dll)) {
    leftOut = "its Dll \"" + *dll + "\" is not in \\Windows";
  } else if (InitFails(config, key)) {
    leftOut = "its Init failed ([drivers] init fails)";
  }
  if (!leftOut.empty()) {
    record->leftOut.push_back(key + ": " + leftOut);
    return;
  }
  const std::optional<std::string> prefix = StringValue(registry, path, "Prefix");
  const bool named = prefix && !prefix->empty();
  const std::string index = std::to_string(IndexValue(registry, path));
  record->drivers.push_back(BootDriver{named ? *prefix + index + ":" : "", key, loadedAtMs});
}

// `text` as UTF-16 into a field of `capacity` units, cut when it is longer.
void CopyField(const std::string& text, Char* field, std::size_t capacity, bool* cut) {
  std::u16string wide;
  Utf8ToUtf16(text, &wide);
  const std::size_t n = std::min(wide.size(), capacity - 1);
  std::copy(wide.begin(), wide.begin() + static_cast<std::ptrdiff_t>(n), field);
  field[n] = 0;
  *cut = *cut || n < wide.size();
}

}  // namespace

void LoadBootDrivers(const fs::path& windows, const DeviceConfig& config,
                     const RegistryFile& registry, BootRecord* record) {
  record->drivers.clear();
  record->leftOut.clear();
  Activate(windows, config, registry, kUsbHostKey, record->bootedAtMs, record);
  if (config.sdioCard.empty()) {
    record->leftOut.push_back("no SDIO card ([sdio] card = none)");
  } else {
    Activate(windows, config, registry, kCardKeyStart + config.sdioCard + kCardKeyEnd,
             record->bootedAtMs + config.sdioLoadDelayMs, record);
  }
  record->loaded = true;
}

DriverListResult DeviceManager::List(LoadedDriver* drivers, UInt32 capacity, UInt32* count) const {
  *count = 0;
  if (config_.driverListUnavailable) return kDriverListNotAvailable;
  const std::int64_t now = clock_.UtcMilliseconds();
  for (const BootDriver& driver : boot_.drivers) {
    if (driver.loadedAtMs > now && now >= boot_.bootedAtMs) continue;  // not yet enumerated
    if (*count == capacity) return kDriverListFull;
    LoadedDriver& out = drivers[(*count)++];
    out.cut = false;
    const std::string bare = driver.legacyName.substr(0, driver.legacyName.find(':'));
    CopyField(driver.legacyName, out.legacyName, std::size(out.legacyName), &out.cut);
    CopyField(driver.deviceKey, out.deviceKey, std::size(out.deviceKey), &out.cut);
    CopyField(bare.empty() ? bare : "$device\\" + bare, out.deviceName, std::size(out.deviceName),
              &out.cut);
  }
  return kDriverListRead;
}

}  // namespace hw::sim
