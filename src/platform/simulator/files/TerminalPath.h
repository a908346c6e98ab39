#pragma once

#include <filesystem>
#include <string_view>

namespace hw::sim {

// The object store's folder in the terminal's: CE's RAM file system at the
// root, which a warm reset keeps and a cold boot empties.
inline constexpr char kObjectStoreFolder[] = "Object Store";

// A terminal file path ("\Flash Disk\PSconfig.psr") placed in the folder.
struct TerminalPath {
  std::filesystem::path host;
  bool inFlashDisk = false;
  bool inObjectStore = false;
};

// Maps an absolute terminal path onto the folder. "\Windows" (the image's
// files) and "\Flash Disk" are the folders of those names; any other path is
// in the object store, kObjectStoreFolder (so the simulator's own files are
// never part of the terminal's). Names compare without regard to ASCII case,
// as on CE. Refused: paths that do not start with '\', "." and "..", names
// Windows could not hold (drive colons, wildcards, trailing dots or spaces),
// and anything that ends up outside the folder, symbolic links included.
bool MapTerminalPath(const std::filesystem::path& folder, std::u16string_view path,
                     TerminalPath* mapped);

}  // namespace hw::sim
