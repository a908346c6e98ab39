#pragma once

#include <filesystem>
#include <string_view>

namespace hw::sim {

// A terminal file path ("\Flash Disk\PSconfig.psr") placed in the folder.
struct TerminalPath {
  std::filesystem::path host;
  bool inFlashDisk = false;
};

// Maps an absolute terminal path onto the folder. The terminal's file system
// is "\Windows" and "\Flash Disk" (the simulator's own files are not part of
// it); names compare without regard to ASCII case, as on CE. Refused: paths
// that do not start with '\', "." and "..", names Windows could not hold
// (drive colons, wildcards, trailing dots or spaces), and anything that ends up
// outside the folder, symbolic links included.
bool MapTerminalPath(const std::filesystem::path& folder, std::u16string_view path,
                     TerminalPath* mapped);

}  // namespace hw::sim
