#include "platform/simulator/files/FileIo.h"

namespace hw::sim {

namespace fs = std::filesystem;

fs::path PathFromUtf8(std::string_view utf8) {
  return fs::u8path(utf8.begin(), utf8.end());
}

std::string PathToUtf8(const fs::path& path) {
  return path.u8string();
}

bool ReplaceFileAtomically(const fs::path& target, std::string_view bytes, Durability durability) {
  return ReplaceFileAtomically(target, {bytes}, durability);
}

}  // namespace hw::sim
