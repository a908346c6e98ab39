// registry_check: a registry file as the simulator reads it, for the scripts.
//
//   registry_check FILE            exit 0 when the simulator loads FILE as a
//                                  terminal's registry.reg; else its refusal
//                                  on standard error and exit 1
//   registry_check --import FILE OUT
//                                  FILE as a terminal's registry.reg: with the
//                                  header it lacks, written to OUT, when it
//                                  loads; else the refusal, and OUT is not made
//   registry_check --encoding FILE prints how FILE's text reads (utf-8,
//                                  utf-8-sig, utf-16-le, windows-1252) when it
//                                  loads; else the refusal
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/simulator/registry/RegistryFile.h"

namespace {

using hw::sim::RegistryEncoding;

bool ReadBytes(const char* path, std::string* bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

const char* EncodingName(RegistryEncoding encoding) {
  switch (encoding) {
    case RegistryEncoding::kUtf8: return "utf-8";
    case RegistryEncoding::kUtf8Bom: return "utf-8-sig";
    case RegistryEncoding::kUtf16LeBom: return "utf-16-le";
    case RegistryEncoding::kWindows1252: return "windows-1252";
  }
  return "unknown";
}

int Usage() {
  std::fprintf(stderr, "usage: registry_check FILE | --import FILE OUT | --encoding FILE\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  const bool import = mode == "--import" && argc == 4;
  const bool encoding = mode == "--encoding" && argc == 3;
  if (!import && !encoding && (argc != 2 || mode.rfind("--", 0) == 0)) return Usage();
  const char* path = argc == 2 ? argv[1] : argv[2];
  std::string bytes;
  if (!ReadBytes(path, &bytes)) {
    std::fprintf(stderr, "%s: cannot be read\n", path);
    return 1;
  }
  // A header put before FILE's first line moves its lines; a refusal names FILE's.
  const auto lines = [](const std::string& text) {
    return std::count(text.begin(), text.end(), '\n');
  };
  const long before = lines(bytes);
  if (import) bytes = hw::sim::WithRegistryHeader(std::move(bytes));
  const int added = static_cast<int>(lines(bytes) - before);
  const std::string kept = import ? bytes : std::string();
  hw::sim::RegistryFile file;
  std::vector<hw::sim::ParseError> refused;
  if (!hw::sim::RegistryFile::Parse(std::move(bytes), &file, &refused)) {
    for (hw::sim::ParseError& error : refused) error.line -= added;
    std::fprintf(stderr, "%s\n", hw::sim::DescribeRefusal(path, refused).c_str());
    return 1;
  }
  if (encoding) std::printf("%s\n", EncodingName(file.encoding()));
  if (import) {
    std::ofstream out(argv[3], std::ios::binary);
    out << kept;
    if (!out.flush()) {
      std::fprintf(stderr, "%s: cannot be written\n", argv[3]);
      return 1;
    }
  }
  return 0;
}
