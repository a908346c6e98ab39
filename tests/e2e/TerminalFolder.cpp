#include "TerminalFolder.h"

#include <fstream>
#include <iterator>
#include <sstream>

#include "Text.h"

namespace e2e {

namespace fs = std::filesystem;

TerminalFolder::TerminalFolder(const fs::path& templateFolder, const fs::path& root) : root_(root) {
  fs::remove_all(root_);
  fs::create_directories(root_.parent_path());
  fs::copy(templateFolder, root_, fs::copy_options::recursive);
}

fs::path TerminalFolder::PathOf(const std::string& relative) const {
  return root_ / fs::path(Wide(relative)).make_preferred();
}

bool TerminalFolder::Exists(const std::string& relative) const {
  return fs::exists(PathOf(relative));
}

std::string TerminalFolder::Read(const std::string& relative) const {
  std::ifstream in(PathOf(relative), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void TerminalFolder::Write(const std::string& relative, const std::string& bytes) const {
  std::ofstream out(PathOf(relative), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void TerminalFolder::Remove(const std::string& relative) const {
  fs::remove(PathOf(relative));
}

std::vector<std::uint8_t> TerminalFolder::Eeprom() const {
  std::string bytes = Read("eeprom.bin");
  return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

void TerminalFolder::SetEeprom(const std::vector<std::uint8_t>& bytes) const {
  Write("eeprom.bin", std::string(bytes.begin(), bytes.end()));
}

void TerminalFolder::SetCell(std::uint8_t address, std::uint8_t value) const {
  std::vector<std::uint8_t> bytes = Eeprom();
  if (bytes.size() <= address) bytes.resize(256, 0xFF);
  bytes[address] = value;
  SetEeprom(bytes);
}

void TerminalFolder::WriteDeviceIni(const std::string& text) const {
  Write("device.ini", text);
}

std::vector<std::string> TerminalFolder::DebugLog() const {
  return SplitLines(Read("debug.log"));
}

RegistryFile TerminalFolder::Registry() const {
  return RegistryFile::Parse(Read("registry.reg"));
}

bool TerminalFolder::SeedRegistryValue(const std::string& machineKey, const std::string& name,
                                       const std::string& data) const {
  std::string bytes = RegistryFile::TextOf(Read("registry.reg"));
  if (!RegistryFile::SetString(bytes, machineKey, name, data)) return false;
  Write("registry.reg", bytes);
  return true;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    std::size_t next = end == std::string::npos ? text.size() : end + 1;
    lines.push_back(text.substr(start, next - start));
    start = next;
  }
  return lines;
}

}  // namespace e2e
