#include "provision/Identity.h"

namespace hw {

namespace {

const Char kIdentKey[] = HW_TEXT("Ident");
const Char kNameValue[] = HW_TEXT("Name");

// What IOCTL_HAL_GET_DEVICEID writes: the header, then the ids.
struct DeviceIdAnswer {
  DeviceId header;
  UInt8 ids[kMaxDeviceIdBytes];
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

// An answer that fails, that does not fit, or whose ids lie outside it
// leaves the id empty.
void ReadDeviceId(Platform& os, Char* id) {
  id[0] = 0;
  DeviceIdAnswer answer;
  answer.header.size = sizeof answer;
  UInt32 returned = 0;
  if (!os.KernelIoControl(kIoctlHalGetDeviceId, NULL, 0, &answer, sizeof answer, &returned)) {
    return;
  }
  const DeviceId& header = answer.header;
  const UInt32 size = header.size < sizeof answer ? header.size : sizeof answer;
  if (!Within(header.presetIdOffset, header.presetIdBytes, size) ||
      !Within(header.platformIdOffset, header.platformIdBytes, size) ||
      header.presetIdBytes + header.platformIdBytes > kMaxDeviceIdBytes) {
    return;
  }
  const UInt8* bytes = reinterpret_cast<const UInt8*>(&answer);
  Char* end = AppendHex(bytes + header.presetIdOffset, header.presetIdBytes, id);
  end = AppendHex(bytes + header.platformIdOffset, header.platformIdBytes, end);
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
  if (os == NULL) return;
  ReadName(*os, identity->name);
  ReadDeviceId(*os, identity->id);
}

const Char* KnownOrUnknown(const Char* text) {
  return text[0] != 0 ? text : HW_TEXT("unknown");
}

void AppendIdentityLine(const TerminalIdentity& identity, TextLine& line) {
  line.Append(HW_TEXT("terminal: ")).Append(KnownOrUnknown(identity.name));
  line.Append(HW_TEXT(" ")).Append(KnownOrUnknown(identity.id));
}

}  // namespace hw
