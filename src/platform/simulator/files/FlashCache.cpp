#include "platform/simulator/files/FlashCache.h"

#include <fstream>
#include <system_error>

namespace hw::sim {

namespace fs = std::filesystem;

namespace {

constexpr char kFlashFolder[] = "Flash Disk";

// The file's path below "Flash Disk", as the two record trees repeat it.
fs::path Relative(const fs::path& folder, const TerminalPath& path) {
  return path.host.lexically_relative(folder / kFlashFolder);
}

bool MakeParent(const fs::path& file) {
  std::error_code ec;
  fs::create_directories(file.parent_path(), ec);
  return !ec;
}

// Each file below `tree`, as its path relative to it.
template <class Visit>
void EachFile(const fs::path& tree, Visit visit) {
  std::error_code ec;
  for (fs::recursive_directory_iterator it(tree, ec), end; !ec && it != end; it.increment(ec)) {
    if (it->is_regular_file(ec)) visit(it->path().lexically_relative(tree));
  }
}

}  // namespace

bool FlashCache::BeforeWrite(const TerminalPath& path) const {
  if (!writeBack_ || !path.inFlashDisk) return true;
  const fs::path store = folder_ / kUnflushedFolder;
  const fs::path relative = Relative(folder_, path);
  const fs::path was = store / "was" / relative;
  const fs::path made = store / "new" / relative;
  std::error_code ec;
  if (fs::exists(was, ec) || fs::exists(made, ec)) return true;  // kept since the last flush
  if (fs::exists(path.host, ec)) {
    return MakeParent(was) && fs::copy_file(path.host, was, ec);
  }
  if (!MakeParent(made)) return false;
  std::ofstream marker(made, std::ios::binary);
  return static_cast<bool>(marker);
}

void FlashCache::OnVolume(const TerminalPath& path) const {
  if (!writeBack_ || !path.inFlashDisk) return;
  const fs::path store = folder_ / kUnflushedFolder;
  const fs::path relative = Relative(folder_, path);
  std::error_code ec;
  fs::remove(store / "was" / relative, ec);
  fs::remove(store / "new" / relative, ec);
}

void FlashCache::OnVolumeAll() const {
  std::error_code ec;
  fs::remove_all(folder_ / kUnflushedFolder, ec);
}

void FlashCache::LoseUnflushed() const {
  const fs::path store = folder_ / kUnflushedFolder;
  const fs::path flash = folder_ / kFlashFolder;
  std::error_code ec;
  EachFile(store / "was", [&](const fs::path& relative) {
    fs::copy_file(store / "was" / relative, flash / relative, fs::copy_options::overwrite_existing,
                  ec);
  });
  EachFile(store / "new", [&](const fs::path& relative) { fs::remove(flash / relative, ec); });
  fs::remove_all(store, ec);
}

}  // namespace hw::sim
