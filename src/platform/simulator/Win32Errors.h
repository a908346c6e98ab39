#pragma once

namespace hw::sim {

// Win32 error codes the simulated terminal gives beyond those the tool knows
// (platform/Platform.h), with their Win32 values.
inline constexpr long kErrorInvalidHandle = 6;
inline constexpr long kErrorWriteFault = 29;
inline constexpr long kErrorInvalidParameter = 87;
inline constexpr long kErrorBadDb = 1009;
inline constexpr long kErrorKeyDeleted = 1018;

}  // namespace hw::sim
