#pragma once

#include <cstddef>
#include <cstdint>

namespace hw {

// The debug print's formatting, shared by every backend that cannot hand the
// format to the OS: "%X" is `value` in uppercase hexadecimal without leading
// zeros, "%%" is "%". Writes at most capacity - 1 characters and a terminator;
// returns the characters written.
std::size_t FormatDebugLine(char16_t* out, std::size_t capacity, const char16_t* format,
                            std::uint32_t value);

// Longest debug line the backends format; the tool's longest is under 80.
inline constexpr std::size_t kDebugLineCapacity = 256;

}  // namespace hw
