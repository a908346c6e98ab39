// device.ini from arbitrary bytes: the parser either accepts it or names a
// line of the input and a reason.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/simulator/terminal/DeviceConfig.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  hw::sim::DeviceConfig config;
  hw::sim::ParseError error;
  if (hw::sim::ParseDeviceConfig(text, &config, &error)) return 0;
  const auto lines = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
  if (error.line < 1 || error.line > lines || error.reason.empty()) std::abort();
  return 0;
}
