#include "provision/Identity.h"

namespace hw {

namespace {

const Char kIdentKey[] = HW_TEXT("Ident");
const Char kNameValue[] = HW_TEXT("Name");

// The largest answer taken: a DEVICE_ID whose ids fit the identity.
const UInt32 kAnswerCapacity = sizeof(DeviceId) + kMaxDeviceIdBytes;

// An answer of the kernel, aligned for a DEVICE_ID's fields.
union KernelAnswer {
  DeviceId header;
  UInt8 bytes[kAnswerCapacity];
};

// What of an identity names its records: a UUID takes 32 digits; a longer
// unit's part is folded to its first kFoldedDigits and a checksum of all of it.
const size_t kFoldedDigits = kMaxRecordId - 16;

bool Within(UInt32 offset, UInt32 bytes, UInt32 size) {
  return offset <= size && bytes <= size - offset;
}

Char* AppendHex(const UInt8* bytes, UInt32 count, Char* out) {
  static const char kDigits[] = "0123456789ABCDEF";
  for (UInt32 i = 0; i < count; ++i) {
    *out++ = static_cast<Char>(kDigits[bytes[i] >> 4]);
    *out++ = static_cast<Char>(kDigits[bytes[i] & 0xF]);
  }
  return out;
}

// Asks with `firstSize` bytes and, when the answer says it needs more, once
// again with exactly what it needs: a DEVICE_ID says so in its size field,
// other answers in *bytesReturned. False when the request fails, or its
// answer would not fit the identity; else *size is the answer's size.
bool AskKernel(Platform& os, UInt32 code, UInt32 spi, UInt32 firstSize, KernelAnswer* answer,
               UInt32* size) {
  const bool takesSpi = code == kIoctlHalGetDeviceInfo;
  UInt32 asked = firstSize;
  for (int attempt = 0; attempt < 2; ++attempt) {
    answer->header.size = asked;
    UInt32 returned = 0;
    if (os.KernelIoControl(code, takesSpi ? &spi : NULL, takesSpi ? sizeof spi : 0, answer, asked,
                           &returned)) {
      *size = returned != 0 && returned < asked ? returned : asked;
      return true;
    }
    UInt32 needed = returned;
    if (code == kIoctlHalGetDeviceId && answer->header.size > needed) needed = answer->header.size;
    if (needed <= asked || needed > kAnswerCapacity) return false;
    asked = needed;
  }
  return false;
}

// The platform's UUID; empty when the OEM layer does not answer one.
void ReadUuid(Platform& os, Char* id) {
  KernelAnswer answer;
  UInt32 size = 0;
  if (AskKernel(os, kIoctlHalGetDeviceInfo, kSpiGetUuid, kUuidBytes, &answer, &size) &&
      size == kUuidBytes) {
    *AppendHex(answer.bytes, kUuidBytes, id) = 0;
  }
}

// The preset id and then the platform id. An answer that fails, that does
// not fit, or whose ids lie outside it leaves the id empty.
void ReadDeviceId(Platform& os, Char* id, size_t* unitStart) {
  KernelAnswer answer;
  UInt32 size = 0;
  if (!AskKernel(os, kIoctlHalGetDeviceId, 0, sizeof(DeviceId), &answer, &size)) return;
  const DeviceId& header = answer.header;
  if (header.size < size) size = header.size;
  if (!Within(header.presetIdOffset, header.presetIdBytes, size) ||
      !Within(header.platformIdOffset, header.platformIdBytes, size) ||
      header.presetIdBytes + header.platformIdBytes > kMaxDeviceIdBytes) {
    return;
  }
  Char* end = AppendHex(answer.bytes + header.presetIdOffset, header.presetIdBytes, id);
  *unitStart = static_cast<size_t>(end - id);
  end = AppendHex(answer.bytes + header.platformIdOffset, header.platformIdBytes, end);
  *end = 0;
}

void ReadName(Platform& os, Char* name) {
  RegistryReadBack value;
  ReadRegistryValue(os, kIdentKey, kNameValue, &value);
  size_t i = 0;
  if (value.status == RegistryReadBack::kText) {
    for (; value.text[i] != 0; ++i) name[i] = value.text[i];
  }
  name[i] = 0;
}

// What FAT and CE refuse in a file name, and what would end it badly.
bool Refused(Char c, bool last) {
  if (c < 0x20) return true;
  if (last && (c == '.' || c == ' ')) return true;
  const char* const kRefused = "\\/:*?\"<>|";
  for (const char* r = kRefused; *r != 0; ++r) {
    if (c == static_cast<Char>(*r)) return true;
  }
  return false;
}

// Two FNV-1a sums of the text, one run forward and one backward, in 16 hex
// digits: what tells apart two units whose parts share their first digits.
void AppendChecksum(const Char* text, size_t length, Char* out) {
  UInt32 forward = 2166136261u;
  UInt32 backward = 2166136261u;
  for (size_t i = 0; i < length; ++i) {
    forward = (forward ^ text[i]) * 16777619u;
    backward = (backward ^ text[length - 1 - i]) * 16777619u;
  }
  static const char kDigits[] = "0123456789ABCDEF";
  for (int i = 7; i >= 0; --i) {
    out[7 - i] = static_cast<Char>(kDigits[(forward >> (4 * i)) & 0xF]);
    out[15 - i] = static_cast<Char>(kDigits[(backward >> (4 * i)) & 0xF]);
  }
}

}  // namespace

size_t RecordIdOf(const TerminalIdentity& identity, Char* out) {
  const Char* name = identity.id[0] != 0 ? identity.id : KnownOrUnknown(identity.name);
  size_t length = TextLength(name);
  if (length > kMaxRecordId && identity.id[0] != 0) {
    name += identity.unitStart;
    length -= identity.unitStart;
  }
  const size_t kept = length > kMaxRecordId ? kFoldedDigits : length;
  for (size_t i = 0; i < kept; ++i) out[i] = Refused(name[i], i + 1 == length) ? '_' : name[i];
  if (kept == length) return kept;
  AppendChecksum(name, length, out + kept);
  return kMaxRecordId;
}

void ReadIdentity(Platform* os, TerminalIdentity* identity) {
  identity->name[0] = 0;
  identity->id[0] = 0;
  identity->unitStart = 0;
  if (os == NULL) return;
  ReadName(*os, identity->name);
  ReadUuid(*os, identity->id);
  if (identity->id[0] == 0) ReadDeviceId(*os, identity->id, &identity->unitStart);
}

const Char kOwnIdFile[] = HW_TEXT("\\Flash Disk\\HWProvision.id");

namespace {

const Char kOwnIdPrefix[] = HW_TEXT("HWP-");
const UInt32 kOwnIdRandomBytes = 8;
const UInt32 kOwnIdLength = 4 + 2 * kOwnIdRandomBytes;
const char kOwnIdNote[] =
    "\r\nThe id HWProvision made for this terminal, whose OEM layer answers none: its "
    "result files and log lines carry it. Keep this file.\r\n";

bool IsHexDigit(Char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

// The kept id, when the file begins with one.
bool ReadOwnId(Platform& os, Char* id) {
  const Handle file =
      os.CreateFile(kOwnIdFile, kGenericRead, kFileShareRead, NULL, kOpenExisting, 0, 0);
  if (file == kInvalidHandleValue) return false;
  UInt8 bytes[kOwnIdLength];
  UInt32 read = 0;
  if (!os.ReadFile(file, bytes, kOwnIdLength, &read, NULL)) read = 0;
  os.CloseHandle(file);
  if (read != kOwnIdLength) return false;
  for (UInt32 i = 0; i < kOwnIdLength; ++i) {
    const Char c = static_cast<Char>(bytes[i]);
    if (i < 4 ? c != kOwnIdPrefix[i] : !IsHexDigit(c)) return false;
    id[i] = c;
  }
  id[kOwnIdLength] = 0;
  return true;
}

// Makes an id and keeps it, flushed: a FAT cache may hold it back, and a
// terminal that lost it would make another.
bool MakeOwnId(Platform& os, Char* id) {
  UInt8 random[kOwnIdRandomBytes];
  if (!os.CeGenRandom(kOwnIdRandomBytes, random)) return false;
  UInt8 bytes[kOwnIdLength + sizeof kOwnIdNote];
  for (UInt32 i = 0; i < 4; ++i) id[i] = kOwnIdPrefix[i];
  *AppendHex(random, kOwnIdRandomBytes, id + 4) = 0;
  for (UInt32 i = 0; i < kOwnIdLength; ++i) bytes[i] = static_cast<UInt8>(id[i]);
  for (UInt32 i = 0; i + 1 < sizeof kOwnIdNote; ++i) bytes[kOwnIdLength + i] = kOwnIdNote[i];
  const Handle file = os.CreateFile(kOwnIdFile, kGenericWrite, 0, NULL, kCreateAlways, 0, 0);
  if (file == kInvalidHandleValue) return true;  // this run's id all the same
  UInt32 written = 0;
  os.WriteFile(file, bytes, kOwnIdLength + sizeof kOwnIdNote - 1, &written, NULL);
  os.FlushFileBuffers(file);
  os.CloseHandle(file);
  return true;
}

}  // namespace

void TakeOwnId(Platform& os, bool make, TerminalIdentity* identity) {
  if (identity->id[0] != 0) return;
  if (!ReadOwnId(os, identity->id) && !(make && MakeOwnId(os, identity->id))) {
    identity->id[0] = 0;
  }
  identity->unitStart = 0;
}

const Char* KnownOrUnknown(const Char* text) {
  return text[0] != 0 ? text : HW_TEXT("unknown");
}

void AppendIdentityLine(const TerminalIdentity& identity, TextLine& line) {
  line.Append(HW_TEXT("terminal: ")).Append(KnownOrUnknown(identity.name));
  line.Append(HW_TEXT(" ")).Append(KnownOrUnknown(identity.id));
}

}  // namespace hw
