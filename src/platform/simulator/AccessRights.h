#pragma once

#include <cstdint>

#include "platform/Platform.h"

namespace hw::sim {

// GENERIC_ALL, which asks for reading and writing both.
inline constexpr std::uint32_t kGenericAll = 0x10000000u;

// What an access mask of CreateFile asks for, GENERIC_ALL included.
inline bool WantsRead(std::uint32_t access) {
  return (access & (kGenericRead | kGenericAll)) != 0;
}
inline bool WantsWrite(std::uint32_t access) {
  return (access & (kGenericWrite | kGenericAll)) != 0;
}

}  // namespace hw::sim
