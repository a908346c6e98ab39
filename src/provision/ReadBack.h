#pragma once

#include "platform/Platform.h"

namespace hw {

// Characters of a registry text kept when read back, the terminator included:
// every text a press writes is far shorter.
const size_t kRegistryTextCapacity = 128;

// One registry value under HKEY_LOCAL_MACHINE as read back.
struct RegistryReadBack {
  enum Status { kText, kKeyUnopened, kMissing, kNotText, kTooLong, kUnreadable };
  const Char* subKey;
  const Char* valueName;
  Status status;
  long error;                        // kKeyUnopened, kUnreadable: what the registry answered
  UInt32 type;                       // kText, kNotText
  UInt32 bytes;                      // kText: the size stored
  Char text[kRegistryTextCapacity];  // kText: up to the first terminator
};

// Opens the key for reading, queries the value and closes the key again.
void ReadRegistryValue(Platform& os, const Char* subKey, const Char* valueName,
                       RegistryReadBack* value);
// True when the value holds what RegSetString stores for `text`: a REG_SZ of
// the text and its terminator, no more and no less.
bool ReadsBackAs(const RegistryReadBack& value, const Char* text);

// A file against the source it should be a byte-for-byte copy of.
// kCopyInUse: the copy is there, but another program holds it open without
// sharing it (a sharing violation), so it cannot be compared.
enum FileMatch {
  kSameBytes,
  kDifferentBytes,
  kCopyMissing,
  kCopyInUse,
  kSourceMissing,
  kFileUnreadable
};
// Reads both files in small pieces side by side: no buffer holds a whole file.
FileMatch CompareFiles(Platform& os, const Char* copy, const Char* source);

}  // namespace hw
