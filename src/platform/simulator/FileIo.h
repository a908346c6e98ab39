#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace hw::sim {

// Folder and file names are UTF-8 everywhere in the simulator.
std::filesystem::path PathFromUtf8(std::string_view utf8);
std::string PathToUtf8(const std::filesystem::path& path);

enum class ReadResult { kRead, kAbsent, kFailed };
ReadResult ReadWholeFile(const std::filesystem::path& path, std::string* bytes);

// Writes `bytes` beside `target` under a temporary name and renames it over
// `target`, so a reader sees the old file or the new one, never half of one.
// No temporary file is left behind, whatever happens.
bool ReplaceFileAtomically(const std::filesystem::path& target, std::string_view bytes);

bool AppendToFile(const std::filesystem::path& path, std::string_view bytes);

}  // namespace hw::sim
