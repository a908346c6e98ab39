#pragma once

#include "platform/Types.h"

namespace hw {

// The debug print's formatting, shared by every backend that cannot hand the
// format to the OS: "%X" is `value` in uppercase hexadecimal without leading
// zeros, "%%" is "%". Writes at most capacity - 1 characters and a terminator;
// returns the characters written.
size_t FormatDebugLine(Char* out, size_t capacity, const Char* format, UInt32 value);

// Longest debug line the backends format; the tool's longest is under 80.
const size_t kDebugLineCapacity = 256;

}  // namespace hw
