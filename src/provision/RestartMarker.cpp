#include "provision/RestartMarker.h"

#include "provision/Log.h"

namespace hw {

const Char kRestartMarker[] = HW_TEXT("\\Flash Disk\\HWProvision.restart");

namespace {

const Char kStampPrefix[] = HW_TEXT("restarted ");
const Char kStampSuffix[] = HW_TEXT(" UTC\r\n");
const Char kExplanation[] = HW_TEXT(
    "HWProvision sync restarted the terminal then, to load the driver values it restored. "
    "The sync of the next boot removes this file, and does not restart the terminal again "
    "if it comes less than ");
const Char kExplanationEnd[] = HW_TEXT(" minutes later.\r\n");
// "restarted 2026-12-10 10:15:03 UTC\r\n": the stamp's date starts here.
const UInt32 kStampAt = 10;
const UInt32 kStampBytes = kStampAt + 19;
const UInt32 kMarkerCapacity = 512;

// Days since 1970-01-01 of a proleptic Gregorian date.
Int32 DaysOf(const SystemTime& t) {
  const Int32 y = static_cast<Int32>(t.year) - (t.month <= 2 ? 1 : 0);
  const Int32 era = y / 400;
  const Int32 yearOfEra = y - era * 400;
  const Int32 m = static_cast<Int32>(t.month);
  const Int32 dayOfYear = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + static_cast<Int32>(t.day) - 1;
  const Int32 dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

Int32 SecondsOfDay(const SystemTime& t) {
  return (static_cast<Int32>(t.hour) * 60 + t.minute) * 60 + t.second;
}

// Where `written` lies against `now` and the window before it.
MarkerState Age(const SystemTime& written, const SystemTime& now) {
  const Int32 days = DaysOf(now) - DaysOf(written);
  if (days > 1) return kMarkerStale;
  if (days < -1) return kMarkerAhead;
  const Int32 age = days * 86400 + SecondsOfDay(now) - SecondsOfDay(written);
  if (age < 0) return kMarkerAhead;
  return age <= static_cast<Int32>(kRestartWindowMinutes * 60) ? kMarkerFresh : kMarkerStale;
}

bool ReadNumber(const UInt8* text, UInt32 digits, UInt16 lowest, UInt16 highest, UInt16* value) {
  UInt32 n = 0;
  for (UInt32 i = 0; i < digits; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    n = n * 10 + (text[i] - '0');
  }
  *value = static_cast<UInt16>(n);
  return n >= lowest && n <= highest;
}

// "YYYY-MM-DD HH:MM:SS" at `text`.
bool ParseStamp(const UInt8* text, SystemTime* time) {
  static const char kSeparators[] = "-- ::";
  static const UInt32 kAt[] = {4, 7, 10, 13, 16};
  for (UInt32 i = 0; i < HW_COUNT_OF(kAt); ++i) {
    if (text[kAt[i]] != static_cast<UInt8>(kSeparators[i])) return false;
  }
  time->dayOfWeek = 0;
  time->milliseconds = 0;
  return ReadNumber(text, 4, 1601, 9999, &time->year) &&
         ReadNumber(text + 5, 2, 1, 12, &time->month) &&
         ReadNumber(text + 8, 2, 1, 31, &time->day) &&
         ReadNumber(text + 11, 2, 0, 23, &time->hour) &&
         ReadNumber(text + 14, 2, 0, 59, &time->minute) &&
         ReadNumber(text + 17, 2, 0, 59, &time->second);
}

// The marker's bytes; false when there is no file to read.
bool ReadMarker(Platform& os, UInt8 (&bytes)[kMarkerCapacity], UInt32* size) {
  const Handle file =
      os.CreateFile(kRestartMarker, kGenericRead, kFileShareRead, NULL, kOpenExisting, 0, 0);
  if (file == kInvalidHandleValue) return false;
  *size = 0;
  if (!os.ReadFile(file, bytes, kMarkerCapacity, size, NULL)) *size = 0;
  os.CloseHandle(file);
  return true;
}

bool StartsWithPrefix(const UInt8* bytes, UInt32 size) {
  if (size < kStampBytes) return false;
  for (UInt32 i = 0; i < kStampAt; ++i) {
    if (bytes[i] != static_cast<UInt8>(kStampPrefix[i])) return false;
  }
  return true;
}

// The marker's text, all ASCII, as bytes.
UInt32 MarkerText(const SystemTime& now, UInt8 (&bytes)[kMarkerCapacity]) {
  TextLine text;
  text.Append(kStampPrefix);
  AppendDateTime(now, text);
  text.Append(kStampSuffix).Append(kExplanation).AppendDecimal(kRestartWindowMinutes);
  text.Append(kExplanationEnd);
  UInt32 size = 0;
  for (; size < text.length() && size < kMarkerCapacity; ++size) {
    bytes[size] = static_cast<UInt8>(text.text()[size]);
  }
  return size;
}

bool WriteMarker(Platform& os, const UInt8* bytes, UInt32 size) {
  const Handle file = os.CreateFile(kRestartMarker, kGenericWrite, 0, NULL, kCreateAlways, 0, 0);
  if (file == kInvalidHandleValue) return false;
  UInt32 written = 0;
  os.WriteFile(file, bytes, size, &written, NULL);
  const bool flushed = os.FlushFileBuffers(file) != 0;
  os.CloseHandle(file);
  return written == size && flushed;
}

// The marker as the next boot's sync will find it: every byte, and no more.
bool ReadsBack(Platform& os, const UInt8* expected, UInt32 size) {
  UInt8 bytes[kMarkerCapacity];
  UInt32 read = 0;
  if (!ReadMarker(os, bytes, &read) || read != size) return false;
  for (UInt32 i = 0; i < size; ++i) {
    if (bytes[i] != expected[i]) return false;
  }
  return true;
}

}  // namespace

MarkerState FindRestartMarker(Platform& os, SystemTime* written) {
  UInt8 bytes[kMarkerCapacity];
  UInt32 size = 0;
  if (!ReadMarker(os, bytes, &size)) return kNoMarker;
  if (!StartsWithPrefix(bytes, size) || !ParseStamp(bytes + kStampAt, written)) {
    return kMarkerStale;
  }
  SystemTime now;
  os.GetSystemTime(&now);
  return Age(*written, now);
}

bool LeaveRestartMarker(Platform& os, TextLine& why) {
  SystemTime now;
  os.GetSystemTime(&now);
  UInt8 bytes[kMarkerCapacity];
  const UInt32 size = MarkerText(now, bytes);
  const bool written = WriteMarker(os, bytes, size);
  if (written && ReadsBack(os, bytes, size)) return true;
  why.Append(kRestartMarker)
      .Append(written ? HW_TEXT(" does not read back as written") : HW_TEXT(" cannot be written"))
      .Append(HW_TEXT(": the terminal is not restarted, lest it restart again and again"));
  return false;
}

void RemoveRestartMarker(Platform& os) {
  os.DeleteFile(kRestartMarker);
}

}  // namespace hw
