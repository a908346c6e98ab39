#pragma once

#include <map>
#include <optional>
#include <string>

namespace e2e {

// The values of a terminal's registry.reg ("Windows Registry Editor Version
// 5.00", UTF-8 or UTF-16LE with a byte-order mark). Keys are full paths
// ("HKEY_LOCAL_MACHINE\..."); keys and value names compare case-insensitively.
// A string value holds its text; any other value holds its data as written
// ("dword:00000001", "hex:..."), so two files with the same values compare equal.
class RegistryFile {
 public:
  using Values = std::map<std::string, std::string>;  // lower-case name -> data
  using Keys = std::map<std::string, Values>;         // lower-case key -> values

  static RegistryFile Parse(const std::string& bytes);

  bool HasKey(const std::string& machineKey) const;
  // A value under HKEY_LOCAL_MACHINE\machineKey; nothing when absent.
  std::optional<std::string> Get(const std::string& machineKey, const std::string& name) const;
  void Set(const std::string& machineKey, const std::string& name, const std::string& data);
  const Keys& All() const { return keys_; }
  const std::string& Error() const { return error_; }

  // The file's text as UTF-8, whichever of the two encodings it is in.
  static std::string TextOf(const std::string& bytes);
  // The (UTF-8) text with one string value replaced, or added to its existing
  // key. False when the key is not in the file.
  static bool SetString(std::string& bytes, const std::string& machineKey, const std::string& name,
                        const std::string& data);

 private:
  Keys keys_;
  std::string error_;
};

}  // namespace e2e
