// registry.reg parse and serialise throughput, natively:
//   registry_throughput FILE [RUNS]
// The file as it is (UTF-8, or Windows-1252 under REGEDIT4) and converted to
// UTF-16LE with its BOM, since they take different paths through the parser.
// A small file is parsed many times a run, so that a run lasts long enough to
// time. Prints medians in MB/s (10^6 bytes per second of the file's own
// size) with the goals beside them.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "Median.h"
#include "platform/simulator/TextCodec.h"
#include "platform/simulator/registry/RegistryFile.h"

namespace {

using hw::sim::ParseError;
using hw::sim::RegistryEncoding;
using hw::sim::RegistryFile;
using Clock = std::chrono::steady_clock;

constexpr double kGoalMBps = 100;
// Bytes a run goes through at least.
constexpr std::size_t kBytesPerRun = 4'000'000;

double Seconds(Clock::time_point from) {
  return std::chrono::duration<double>(Clock::now() - from).count();
}

const char* NameOf(RegistryEncoding encoding) {
  switch (encoding) {
    case RegistryEncoding::kUtf8: return "UTF-8";
    case RegistryEncoding::kUtf8Bom: return "UTF-8 BOM";
    case RegistryEncoding::kUtf16LeBom: return "UTF-16LE";
    case RegistryEncoding::kWindows1252: return "ANSI 1252";
  }
  return "?";
}

// The file's text in UTF-16LE with its BOM, whatever it was read in.
std::string Utf16LeWithBom(const std::string& bytes) {
  RegistryEncoding encoding;
  std::string text;
  ParseError error;
  hw::sim::DecodeRegistryText(bytes, &encoding, &text, &error);
  std::u16string units;
  hw::sim::Utf8ToUtf16(text, &units);
  std::string utf16 = "\xFF\xFE";
  for (char16_t u : units) utf16 += {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
  return utf16;
}

void Line(const char* what, const char* encoding, double mbps) {
  std::printf("  %-10s %-9s %8.1f MB/s   [goal >= %.0f]%s\n", what, encoding, mbps, kGoalMBps,
              mbps >= kGoalMBps ? "" : "  MISSED");
}

bool Measure(const std::string& bytes, int runs) {
  const std::size_t repeats = std::max<std::size_t>(1, kBytesPerRun / bytes.size());
  std::vector<double> parse;
  std::vector<double> serialise;
  RegistryFile file;
  for (int i = 0; i < runs; ++i) {
    ParseError error;
    Clock::time_point start = Clock::now();
    for (std::size_t r = 0; r < repeats; ++r) {
      if (!RegistryFile::Parse(bytes, &file, &error)) {
        std::fprintf(stderr, "registry_throughput: line %d: %s\n", error.line,
                     error.reason.c_str());
        return false;
      }
    }
    parse.push_back(Seconds(start) / static_cast<double>(repeats));
    start = Clock::now();
    std::string written;
    for (std::size_t r = 0; r < repeats; ++r) written = file.Serialize();
    serialise.push_back(Seconds(start) / static_cast<double>(repeats));
    if (written != bytes) {
      std::fprintf(stderr, "registry_throughput: the file does not serialise to its bytes\n");
      return false;
    }
  }
  const double megabytes = static_cast<double>(bytes.size()) / 1e6;
  const char* encoding = NameOf(file.encoding());
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
  std::printf("%s parse and serialise, natively (%.*f MB, median of %d runs)\n", argv[1],
              bytes.size() < 1'000'000 ? 3 : 1, static_cast<double>(bytes.size()) / 1e6, runs);
  const bool ok = Measure(bytes, runs) && Measure(Utf16LeWithBom(bytes), runs);
  return ok ? 0 : 1;
}
