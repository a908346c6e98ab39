#pragma once

#include <cstdint>

#include "platform/Platform.h"
#include "setup/MessageBoxOwner.h"

namespace hw {

inline constexpr char16_t kPsConfigSource[] = u"\\Windows\\PSconfig.psr";
inline constexpr char16_t kPsConfig1Source[] = u"\\Windows\\PSconfig1.psr";
inline constexpr char16_t kPsConfigDestination[] = u"\\Flash Disk\\PSconfig.psr";
inline constexpr char16_t kSetupFailedText[] = u"Setup Failed!";
inline constexpr char16_t kSetupFailedCaption[] = u"Tip";

inline constexpr std::uint32_t kPsConfigBufferSize = 10240;
inline constexpr std::uint32_t kPsConfigMinimumSize = 100;

// Copies a Bluetooth configuration file over "\Flash Disk\PSconfig.psr" with
// one read and one write through a stack buffer. Any failure, including a
// source too big for the buffer, shows "Setup Failed!" once.
void PsConfigInstall(Platform& os, const char16_t* source, MessageBoxOwner& owner);

}  // namespace hw
