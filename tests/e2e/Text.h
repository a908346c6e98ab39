#pragma once

#include <filesystem>
#include <string>

namespace e2e {

std::string Utf8(const std::wstring& text);
std::wstring Wide(const std::string& utf8);

// A path as the Windows side of Wine names it: a Unix path "/a/b" becomes
// "Z:\a\b"; a path that already has a drive letter is kept.
std::filesystem::path WindowsPath(const std::string& path);

// Text with control characters spelled out, for failure messages.
std::string Visible(const std::string& text);

}  // namespace e2e
