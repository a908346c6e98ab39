#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "RecordingPlatform.h"
#include "setup/ModulePage.h"

namespace hw::test {

// A label that logs each text it is given into a shared call log, so tests
// see it in order with the OS calls.
class RecordingLabel final : public Label {
 public:
  RecordingLabel(int id, std::vector<std::string>& log) : id_(id), log_(log) {}
  void SetText(const char16_t* newText) override {
    text = Utf8(newText);
    log_.push_back("Label(" + std::to_string(id_) + ", \"" + this->text + "\")");
  }
  std::string text = "Unknown";  // what the templates start with

 private:
  int id_;
  std::vector<std::string>& log_;
};

// A page window: labels made on first use, message boxes logged.
class RecordingView final : public PageView {
 public:
  explicit RecordingView(std::vector<std::string>& log) : log_(log) {}
  Label& LabelFor(int labelControl) override { return label(labelControl); }
  void ShowMessage(const char16_t* text, const char16_t* caption) override {
    log_.push_back("MessageBox(\"" + Utf8(text) + "\", " +
                   (caption ? "\"" + Utf8(caption) + "\"" : std::string("app name")) + ")");
  }
  RecordingLabel& label(int id) {
    auto& slot = labels_[id];
    if (!slot) slot = std::make_unique<RecordingLabel>(id, log_);
    return *slot;
  }
  std::size_t MessageBoxCount() const {
    std::size_t n = 0;
    for (const auto& line : log_) n += line.rfind("MessageBox(", 0) == 0;
    return n;
  }

 private:
  std::vector<std::string>& log_;
  std::map<int, std::unique_ptr<RecordingLabel>> labels_;
};

}  // namespace hw::test
