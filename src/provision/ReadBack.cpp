#include "provision/ReadBack.h"

#include "provision/Text.h"

namespace hw {

namespace {

const UInt32 kChunkBytes = 512;

Handle OpenForReading(Platform& os, const Char* path) {
  return os.CreateFile(path, kGenericRead, kFileShareRead, NULL, kOpenExisting, 0, 0);
}

// Reads up to `size` bytes, going on after short reads until the end of the
// file; false when a read fails.
bool Fill(Platform& os, Handle file, UInt8* buffer, UInt32 size, UInt32* got) {
  *got = 0;
  while (*got < size) {
    UInt32 read = 0;
    if (!os.ReadFile(file, buffer + *got, size - *got, &read, NULL)) return false;
    if (read == 0) break;
    *got += read;
  }
  return true;
}

FileMatch CompareOpenFiles(Platform& os, Handle copy, Handle source) {
  UInt8 a[kChunkBytes];
  UInt8 b[kChunkBytes];
  for (;;) {
    UInt32 gotA = 0;
    UInt32 gotB = 0;
    if (!Fill(os, copy, a, kChunkBytes, &gotA) || !Fill(os, source, b, kChunkBytes, &gotB)) {
      return kFileUnreadable;
    }
    if (gotA != gotB) return kDifferentBytes;
    for (UInt32 i = 0; i < gotA; ++i) {
      if (a[i] != b[i]) return kDifferentBytes;
    }
    if (gotA < kChunkBytes) return kSameBytes;
  }
}

}  // namespace

void ReadRegistryValue(Platform& os, const Char* subKey, const Char* valueName,
                       RegistryReadBack* value) {
  value->subKey = subKey;
  value->valueName = valueName;
  value->type = 0;
  value->bytes = 0;
  value->text[0] = 0;
  RegKey key = 0;
  value->error = os.RegOpenKeyEx(kHkeyLocalMachine, subKey, 0, kKeyQueryValue, &key);
  if (value->error != kErrorSuccess) {
    value->status = RegistryReadBack::kKeyUnopened;
    return;
  }
  // One character short of the buffer, so a text stored without its
  // terminator still gets one here.
  UInt32 bytes = (kRegistryTextCapacity - 1) * sizeof(Char);
  const long result = os.RegQueryValueEx(key, valueName, NULL, &value->type,
                                         reinterpret_cast<UInt8*>(value->text), &bytes);
  os.RegCloseKey(key);
  if (result == kErrorFileNotFound) {
    value->status = RegistryReadBack::kMissing;
  } else if (result == kErrorMoreData) {
    value->status = RegistryReadBack::kTooLong;
  } else if (result != kErrorSuccess) {
    value->status = RegistryReadBack::kUnreadable;
    value->error = result;
  } else if (value->type != kRegSz) {
    value->status = RegistryReadBack::kNotText;
  } else {
    value->status = RegistryReadBack::kText;
    value->bytes = bytes;
    value->text[bytes / sizeof(Char)] = 0;
  }
  if (value->status != RegistryReadBack::kText) value->text[0] = 0;
}

bool ReadsBackAs(const RegistryReadBack& value, const Char* text) {
  return value.status == RegistryReadBack::kText && TextEquals(value.text, text) &&
         value.bytes == (TextLength(text) + 1) * sizeof(Char);
}

FileMatch CompareFiles(Platform& os, const Char* copy, const Char* source) {
  const Handle sourceFile = OpenForReading(os, source);
  if (sourceFile == kInvalidHandleValue) return kSourceMissing;
  const Handle copyFile = OpenForReading(os, copy);
  if (copyFile == kInvalidHandleValue) {
    const bool inUse = os.GetLastError() == static_cast<UInt32>(kErrorSharingViolation);
    os.CloseHandle(sourceFile);
    return inUse ? kCopyInUse : kCopyMissing;
  }
  const FileMatch match = CompareOpenFiles(os, copyFile, sourceFile);
  os.CloseHandle(copyFile);
  os.CloseHandle(sourceFile);
  return match;
}

}  // namespace hw
