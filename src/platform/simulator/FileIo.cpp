#ifdef _WIN32
#include <windows.h>
#endif

#include <fstream>
#include <iterator>
#include <system_error>

#include "platform/simulator/FileIo.h"

namespace hw::sim {

namespace fs = std::filesystem;

namespace {

bool RenameOver(const fs::path& from, const fs::path& to) {
#ifdef _WIN32
  // Spelled out because renaming over an existing file is what matters here.
  return ::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
#else
  std::error_code ec;
  fs::rename(from, to, ec);
  return !ec;
#endif
}

}  // namespace

fs::path PathFromUtf8(std::string_view utf8) {
  return fs::u8path(utf8.begin(), utf8.end());
}

std::string PathToUtf8(const fs::path& path) {
  return path.u8string();
}

ReadResult ReadWholeFile(const fs::path& path, std::string* bytes) {
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  if (status.type() == fs::file_type::not_found) return ReadResult::kAbsent;
  if (ec || status.type() != fs::file_type::regular) return ReadResult::kFailed;
  std::ifstream in(path, std::ios::binary);
  if (!in) return ReadResult::kFailed;
  bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return in.bad() ? ReadResult::kFailed : ReadResult::kRead;
}

bool ReplaceFileAtomically(const fs::path& target, std::string_view bytes) {
  fs::path temporary = target;
  temporary += ".tmp";
  std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out.fail() && RenameOver(temporary, target)) return true;
  std::error_code ec;
  fs::remove(temporary, ec);
  return false;
}

bool AppendToFile(const fs::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::app);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return !out.fail();
}

}  // namespace hw::sim
