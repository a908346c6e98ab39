// registry.reg from arbitrary bytes. A file that parses must serialize to
// exactly its bytes, and after a value is set it must parse again, hold the
// value that was set and keep its keys and its encoding.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/simulator/registry/RegistryFile.h"

namespace {

using hw::sim::ParseError;
using hw::sim::RegistryFile;
using hw::sim::RegistryValue;

void Check(bool condition) {
  if (!condition) std::abort();
}

void SetAndReparse(const RegistryFile& original, const std::string& key, const std::string& name,
                   const RegistryValue& value) {
  RegistryFile changed = original;
  Check(changed.SetValue(key, name, value));
  RegistryFile again;
  ParseError error;
  Check(RegistryFile::Parse(changed.Serialize(), &again, &error));
  Check(again.QueryValue(key, name) == value);
  Check(again.KeyPaths() == original.KeyPaths());
  // Under regedit's header, a file whose last byte beyond UTF-8 went with the
  // data a set replaced is UTF-8 again.
  Check(again.encoding() == original.encoding() ||
        (original.encoding() == hw::sim::RegistryEncoding::kWindows1252 &&
         again.encoding() == hw::sim::RegistryEncoding::kUtf8 &&
         original.Serialize().rfind("REGEDIT4", 0) != 0));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  RegistryFile file;
  ParseError error;
  if (!RegistryFile::Parse(bytes, &file, &error)) {
    Check(error.line >= 1 && !error.reason.empty());
    return 0;
  }
  Check(file.Serialize() == bytes);
  const std::vector<std::string> keys = file.KeyPaths();
  if (keys.empty()) return 0;
  const std::string& key = keys[size % keys.size()];
  // The input's own tail as the data: a text, a text without terminator or
  // odd bytes, whichever it happens to be.
  const std::size_t tail = size < 12 ? size : 12;
  RegistryValue value{1, std::vector<std::uint8_t>(data + size - tail, data + size)};
  SetAndReparse(file, key, "FuzzValue", value);
  SetAndReparse(file, key, "Dll", RegistryValue{1, {'x', 0, 'x', 0, 'x', 0, 0, 0}});
  SetAndReparse(file, key, "", RegistryValue{size % 2 == 0 ? 4u : 0x20u, {1, 2, 3, 4}});
  return 0;
}
