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

}  // namespace

void ReadIdentity(Platform* os, TerminalIdentity* identity) {
  identity->name[0] = 0;
  identity->id[0] = 0;
  identity->unitStart = 0;
  if (os == NULL) return;
  ReadName(*os, identity->name);
  ReadUuid(*os, identity->id);
  if (identity->id[0] == 0) ReadDeviceId(*os, identity->id, &identity->unitStart);
}

const Char* KnownOrUnknown(const Char* text) {
  return text[0] != 0 ? text : HW_TEXT("unknown");
}

void AppendIdentityLine(const TerminalIdentity& identity, TextLine& line) {
  line.Append(HW_TEXT("terminal: ")).Append(KnownOrUnknown(identity.name));
  line.Append(HW_TEXT(" ")).Append(KnownOrUnknown(identity.id));
}

}  // namespace hw
