// What a press forces to the disk, counted natively:
//   forced_writes DIR [RUNS]
// The presses run through the same core (ModulePage::Click) and simulator
// code as the simulator flavour's, on the terminal in DIR, which they change.
// fsync is interposed here to count the forces by file; under Wine each is a
// FlushFileBuffers, which Wine makes an fsync. Prints the most that any press
// of a row forced, with the goal beside registry.reg's ("!" when missed).
#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>

#include "platform/simulator/terminal/SimulatedTerminal.h"
#include "setup/ModulePage.h"

namespace {

std::map<std::string, int>* counting = nullptr;

// The name a forced descriptor has: its file's, or "folders" for a folder.
std::string ForcedName(int fd) {
  char target[4096] = {};
  const std::string link = "/proc/self/fd/" + std::to_string(fd);
  const ssize_t length = ::readlink(link.c_str(), target, sizeof target - 1);
  const std::string path(target, length > 0 ? static_cast<std::size_t>(length) : 0);
  if (access((path + "/.").c_str(), F_OK) == 0) return "folders";
  std::string name = path.substr(path.rfind('/') + 1);
  return name.size() > 4 && name.compare(name.size() - 4, 4, ".tmp") == 0
             ? name.substr(0, name.size() - 4)
             : name;
}

}  // namespace

extern "C" int fsync(int fd) {
  using Real = int (*)(int);
  static const auto real = reinterpret_cast<Real>(::dlsym(RTLD_NEXT, "fsync"));
  if (counting != nullptr) ++(*counting)[ForcedName(fd)];
  return real(fd);
}

namespace {

class QuietView final : public hw::PageView {
 public:
  virtual ~QuietView() = default;
  hw::Label& LabelFor(int) override { return label_; }
  void ShowMessage(const hw::Char*, const hw::Char*) override {}

 private:
  struct : hw::Label {
    void SetText(const hw::Char*) override {}
  } label_;
};

struct RowKind {
  const char* name;
  hw::Page page;
  int buttons[2];
};

// The rows of scripts/bench's press latency, with the same buttons.
constexpr RowKind kRows[] = {
    {"plain row (keypad Simple/Turkey)", hw::kPage1, {1002, 1003}},
    {"3G row (SIMCOM_WCDMA/None)", hw::kPage1, {1016, 1011}},
    {"WiFi row (USI SD40/muRate 8XQF)", hw::kPage2, {1020, 1022}},
    {"Bluetooth row (2to1/46LCS3)", hw::kPage2, {1009, 1010}},
};

constexpr const char* kColumns[] = {"registry.reg", "eeprom.bin", "other files", "folders"};
constexpr int kGoalRegistry = 1;

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: forced_writes DIR [RUNS]\n");
    return 2;
  }
  const int runs = argc > 2 ? std::atoi(argv[2]) : 11;
  const std::unique_ptr<hw::SimulatedTerminal> os = hw::SimulatedTerminal::Load(argv[1], nullptr);
  if (os == nullptr) return 1;
  QuietView view;
  hw::ModulePage pages[] = {{*os, hw::kPage1, view}, {*os, hw::kPage2, view}};
  for (hw::ModulePage& page : pages) page.Initialise();

  std::printf("Forced writes (fsync) per press, natively through the same core, the most of %d\n",
              runs);
  std::printf("  %-34s", "");
  for (const char* column : kColumns) std::printf("%16s", column);
  std::printf("\n");
  for (const RowKind& row : kRows) {
    std::map<std::string, int> most;
    for (int run = 0; run < runs; ++run) {
      std::map<std::string, int> forced;
      counting = &forced;
      pages[row.page == hw::kPage1 ? 0 : 1].Click(row.buttons[run % 2]);
      counting = nullptr;
      int others = 0;
      for (const auto& [name, count] : forced) {
        most[name] = std::max(most[name], count);
        const bool named = name == kColumns[0] || name == kColumns[1] || name == kColumns[3];
        others += named ? 0 : count;
      }
      most[kColumns[2]] = std::max(most[kColumns[2]], others);
    }
    std::printf("  %-34s", row.name);
    for (const char* column : kColumns) {
      char cell[32];
      const int count = most[column];
      if (column == kColumns[0]) {
        std::snprintf(cell, sizeof cell, "%d [<= %d]%s", count, kGoalRegistry,
                      count <= kGoalRegistry ? "" : "!");
      } else {
        std::snprintf(cell, sizeof cell, "%d", count);
      }
      std::printf("%16s", cell);
    }
    std::printf("\n");
  }
  return 0;
}
