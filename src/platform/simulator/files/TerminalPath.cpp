#include "platform/simulator/files/TerminalPath.h"

#include <string>
#include <system_error>
#include <vector>

#include "platform/simulator/TextCodec.h"
#include "platform/simulator/files/FileIo.h"

namespace hw::sim {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kRoots[] = {"Windows", "Flash Disk"};

bool IsPlainName(std::string_view name) {
  if (name == "." || name == "..") return false;
  if (name.back() == '.' || name.back() == ' ') return false;
  for (char c : name) {
    if (static_cast<unsigned char>(c) < 0x20) return false;
    if (std::string_view("<>:\"|?*").find(c) != std::string_view::npos) return false;
  }
  return true;
}

std::vector<std::string> SplitComponents(std::string_view path) {
  std::vector<std::string> names;
  while (!path.empty()) {
    const std::size_t end = path.find_first_of("\\/");
    if (end != 0) names.emplace_back(path.substr(0, end));
    path.remove_prefix(end == std::string_view::npos ? path.size() : end + 1);
  }
  return names;
}

// The entry of `folder` named `name` in any case; the name as given when
// there is none.
fs::path FindEntry(const fs::path& folder, const std::string& name) {
  const fs::path exact = folder / PathFromUtf8(name);
  std::error_code ec;
  if (fs::symlink_status(exact, ec).type() != fs::file_type::not_found) return exact;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (EqualsFolded(PathToUtf8(it->path().filename()), name)) return it->path();
  }
  return exact;
}

bool InsideFolder(const fs::path& folder, const fs::path& host) {
  std::error_code ec;
  const fs::path root = fs::canonical(folder, ec);
  if (ec) return false;
  const fs::path resolved = fs::weakly_canonical(host, ec);
  if (ec) return false;
  const fs::path relative = resolved.lexically_relative(root);
  return !relative.empty() && *relative.begin() != "..";
}

}  // namespace

bool MapTerminalPath(const fs::path& folder, std::u16string_view path, TerminalPath* mapped) {
  std::string utf8;
  if (!Utf16ToUtf8(path, &utf8) || utf8.empty() || utf8.front() != '\\') return false;
  const std::vector<std::string> names = SplitComponents(utf8);
  if (names.empty()) return false;
  for (const std::string& name : names) {
    if (!IsPlainName(name)) return false;
  }
  std::string_view root;
  for (std::string_view candidate : kRoots) {
    if (EqualsFolded(names[0], candidate)) root = candidate;
  }
  const bool inObjectStore = root.empty();
  fs::path host = folder / PathFromUtf8(inObjectStore ? kObjectStoreFolder : root);
  for (std::size_t i = inObjectStore ? 0 : 1; i < names.size(); ++i) {
    host = FindEntry(host, names[i]);
  }
  if (!InsideFolder(folder, host)) return false;
  mapped->host = host;
  mapped->inFlashDisk = root == "Flash Disk";
  mapped->inObjectStore = inObjectStore;
  return true;
}

}  // namespace hw::sim
