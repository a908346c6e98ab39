// registry.reg parse and serialise throughput, natively:
//   registry_throughput FILE [RUNS]
// The file as it is (UTF-8) and converted to UTF-16LE with its BOM, since the
// two take different paths through the parser. Prints medians in MB/s
// (10^6 bytes per second of the file's own size) with the goals beside them.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "Median.h"
#include "platform/simulator/RegistryFile.h"
#include "platform/simulator/TextCodec.h"

namespace {

using hw::sim::ParseError;
using hw::sim::RegistryFile;
using Clock = std::chrono::steady_clock;

constexpr double kGoalMBps = 100;

double Seconds(Clock::time_point from) {
  return std::chrono::duration<double>(Clock::now() - from).count();
}

std::string Utf16LeWithBom(const std::string& utf8) {
  std::u16string units;
  hw::sim::Utf8ToUtf16(utf8, &units);
  std::string bytes = "\xFF\xFE";
  for (char16_t u : units) bytes += {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
  return bytes;
}

void Line(const char* what, const char* encoding, double mbps) {
  std::printf("  %-10s %-9s %8.1f MB/s   [goal >= %.0f]%s\n", what, encoding, mbps, kGoalMBps,
              mbps >= kGoalMBps ? "" : "  MISSED");
}

bool Measure(const std::string& bytes, const char* encoding, int runs) {
  std::vector<double> parse;
  std::vector<double> serialise;
  for (int i = 0; i < runs; ++i) {
    RegistryFile file;
    ParseError error;
    Clock::time_point start = Clock::now();
    if (!RegistryFile::Parse(bytes, &file, &error)) {
      std::fprintf(stderr, "registry_throughput: line %d: %s\n", error.line, error.reason.c_str());
      return false;
    }
    parse.push_back(Seconds(start));
    start = Clock::now();
    const std::string written = file.Serialize();
    serialise.push_back(Seconds(start));
    if (written != bytes) {
      std::fprintf(stderr, "registry_throughput: %s does not serialise to its bytes\n", encoding);
      return false;
    }
  }
  const double megabytes = static_cast<double>(bytes.size()) / 1e6;
  Line("parse", encoding, megabytes / bench::Median(parse));
  Line("serialise", encoding, megabytes / bench::Median(serialise));
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: registry_throughput FILE [RUNS]\n");
    return 2;
  }
  const int runs = argc > 2 ? std::atoi(argv[2]) : 9;
  std::ifstream in(argv[1], std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (!in || bytes.empty()) {
    std::fprintf(stderr, "registry_throughput: cannot read %s\n", argv[1]);
    return 1;
  }
  std::printf("registry.reg parse and serialise, natively (%.1f MB, median of %d runs)\n",
              static_cast<double>(bytes.size()) / 1e6, runs);
  const bool ok = Measure(bytes, "UTF-8", runs) && Measure(Utf16LeWithBom(bytes), "UTF-16LE", runs);
  return ok ? 0 : 1;
}
