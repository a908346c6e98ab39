#include "platform/simulator/terminal/DriversFile.h"

#include <cstdio>

#include "platform/simulator/TextCodec.h"
#include "platform/simulator/files/FileIo.h"

namespace hw::sim {

namespace {

constexpr std::string_view kNotLoaded = "not loaded yet";
constexpr std::string_view kUnnamed = "(unnamed)";
constexpr std::string_view kTimeShape = "dddd-dd-dd dd:dd:dd.ddd UTC";

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar.
std::int64_t DaysFromCivil(std::int64_t year, unsigned month, unsigned day) {
  year -= month <= 2;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const auto yearOfEra = static_cast<unsigned>(year - era * 400);
  const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + static_cast<std::int64_t>(dayOfEra) - 719468;
}

std::string FormatTime(std::int64_t ms) {
  std::int64_t days = (ms >= 0 ? ms : ms - 86399999) / 86400000;
  const auto inDay = static_cast<unsigned>(ms - days * 86400000);
  days += 719468;
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const auto dayOfEra = static_cast<unsigned>(days - era * 146097);
  const unsigned yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const unsigned mp = (5 * dayOfYear + 2) / 153;
  const unsigned day = dayOfYear - (153 * mp + 2) / 5 + 1;
  const unsigned month = mp < 10 ? mp + 3 : mp - 9;
  const std::int64_t year = static_cast<std::int64_t>(yearOfEra) + era * 400 + (month <= 2);
  char text[96];
  std::snprintf(text, sizeof text, "%04lld-%02u-%02u %02u:%02u:%02u.%03u UTC",
                static_cast<long long>(year), month, day, inDay / 3600000, inDay / 60000 % 60,
                inDay / 1000 % 60, inDay % 1000);
  return text;
}

// "YYYY-MM-DD HH:MM:SS.mmm UTC" at the start of `text`.
bool ParseTime(std::string_view text, std::int64_t* ms) {
  if (text.size() < kTimeShape.size()) return false;
  int n[7] = {};
  int field = 0;
  for (std::size_t i = 0; i < kTimeShape.size(); ++i) {
    const char c = text[i];
    if (kTimeShape[i] != 'd') {
      if (c != kTimeShape[i]) return false;
      ++field;
    } else if (c < '0' || c > '9') {
      return false;
    } else {
      n[field] = n[field] * 10 + (c - '0');
    }
  }
  if (n[1] < 1 || n[1] > 12 || n[2] < 1 || n[2] > 31 || n[3] > 23 || n[4] > 59 || n[5] > 59) {
    return false;
  }
  const std::int64_t days =
      DaysFromCivil(n[0], static_cast<unsigned>(n[1]), static_cast<unsigned>(n[2]));
  *ms = ((days * 24 + n[3]) * 60 + n[4]) * 60000 + n[5] * 1000 + n[6];
  return true;
}

// "HCD1: loaded TIME UTC from KEY".
bool ParseDriverLine(std::string_view line, BootDriver* driver) {
  const std::size_t space = line.find(' ');
  if (space == std::string_view::npos) return false;
  const std::string_view name = line.substr(0, space);
  std::string_view rest = line.substr(space + 1);
  if (rest.substr(0, 7) != "loaded " || !ParseTime(rest.substr(7), &driver->loadedAtMs)) {
    return false;
  }
  rest.remove_prefix(7 + kTimeShape.size());
  if (rest.substr(0, 6) != " from " || rest.size() == 6) return false;
  driver->legacyName = name == kUnnamed ? std::string() : std::string(name);
  driver->deviceKey = rest.substr(6);
  return true;
}

}  // namespace

bool ParseDriversFile(std::string_view text, BootRecord* record, ParseError* error) {
  *record = BootRecord{};
  bool booted = false;
  bool notYet = false;
  for (int number = 1; !text.empty(); ++number) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    line = Trim(line);
    if (line.empty() || line.front() == ';') continue;
    BootDriver driver;
    if (!booted) {
      if (line.substr(0, 7) != "booted " || !ParseTime(line.substr(7), &record->bootedAtMs) ||
          line.size() != 7 + kTimeShape.size()) {
        return Fail(error, number, "expected \"booted YYYY-MM-DD HH:MM:SS.mmm UTC\"");
      }
      booted = true;
    } else if (line == kNotLoaded && !notYet && record->drivers.empty()) {
      notYet = true;
    } else if (!notYet && ParseDriverLine(line, &driver)) {
      record->drivers.push_back(std::move(driver));
    } else {
      return Fail(error, number,
                  notYet ? "nothing follows \"not loaded yet\""
                         : "expected \"NAME: loaded YYYY-MM-DD HH:MM:SS.mmm UTC from KEY\" or "
                           "\"not loaded yet\"");
    }
  }
  if (!booted) return Fail(error, 1, "expected \"booted YYYY-MM-DD HH:MM:SS.mmm UTC\"");
  record->loaded = !notYet;
  return true;
}

std::string FormatDriversFile(const BootRecord& record) {
  std::string text = "booted " + FormatTime(record.bootedAtMs) + "\r\n";
  if (!record.loaded) return text + std::string(kNotLoaded) + "\r\n";
  for (const BootDriver& driver : record.drivers) {
    text += (driver.legacyName.empty() ? std::string(kUnnamed) : driver.legacyName) + " loaded " +
            FormatTime(driver.loadedAtMs) + " from " + driver.deviceKey + "\r\n";
  }
  for (const std::string& reason : record.leftOut) text += "; left out: " + reason + "\r\n";
  return text;
}

bool MarkBooted(const std::filesystem::path& folder, std::int64_t bootedAtMs) {
  BootRecord record;
  record.bootedAtMs = bootedAtMs;
  return ReplaceFileAtomically(folder / kDriversFileName, FormatDriversFile(record),
                               Durability::kCached);
}

}  // namespace hw::sim
