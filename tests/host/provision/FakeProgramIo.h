#pragma once

#include <algorithm>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "RecordingPlatform.h"
#include "provision/Commands.h"
#include "provision/ExitCodes.h"
#include "provision/ProgramIo.h"

namespace hw::test {

// The program's files in memory, by path, its standard output as lines and
// its message boxes (UTF-8). Paths listed in `unwritable` cannot be created
// or opened (LastError: `unwritableError`, the card is read-only); writes to
// those in `full` fail and store nothing (ERROR_DISK_FULL); those in
// `unflushable` cannot be flushed. Files written since their last flush are
// in `unflushed`: what a write-back cache would lose at a reset.
class FakeProgramIo final : public ProgramIo {
 public:
  struct Box {
    std::string text;
    std::string caption;
    bool warning;
  };
  std::map<std::u16string, std::string> files;
  std::vector<std::u16string> unwritable;
  std::vector<std::u16string> full;
  std::vector<std::u16string> unflushable;
  std::set<std::u16string> unflushed;
  std::vector<std::string> console;
  std::vector<Box> boxes;
  std::u16string programFolder = u"\\Storage Card\\";
  int truncations = 0;
  std::uint32_t unwritableError = 5;  // ERROR_ACCESS_DENIED
  std::uint32_t lastError = 0;

  ReadResult ReadWholeFile(const char16_t* path, std::uint8_t* buffer, std::uint32_t capacity,
                           std::uint32_t* size) override {
    const auto it = files.find(path);
    if (it == files.end()) return kNotFound;
    if (it->second.size() > capacity) {
      std::copy(it->second.begin(), it->second.begin() + capacity, buffer);
      *size = capacity;
      return kTooLarge;
    }
    std::copy(it->second.begin(), it->second.end(), buffer);
    *size = static_cast<std::uint32_t>(it->second.size());
    return kReadWhole;
  }
  File CreateForWriting(const char16_t* path) override {
    if (Refused(path)) return kNoFile;
    files[path].clear();
    open_.push_back(path);
    return static_cast<File>(open_.size() - 1);
  }
  File OpenForAppending(const char16_t* path) override {
    if (Refused(path)) return kNoFile;
    open_.push_back(path);
    return static_cast<File>(open_.size() - 1);
  }
  bool Size(File file, std::uint32_t* size) override {
    *size = static_cast<std::uint32_t>(files[PathOf(file)].size());
    return true;
  }
  bool Write(File file, const std::uint8_t* data, std::uint32_t size) override {
    const std::u16string& path = PathOf(file);
    if (IsFull(path)) return false;
    files[path].append(reinterpret_cast<const char*>(data), size);
    unflushed.insert(path);
    return true;
  }
  bool WriteAt(File file, std::uint32_t offset, const std::uint8_t* data,
               std::uint32_t size) override {
    const std::u16string& path = PathOf(file);
    if (IsFull(path)) return false;
    std::string& bytes = files[path];
    if (bytes.size() < offset + size) bytes.resize(offset + size);
    bytes.replace(offset, size, reinterpret_cast<const char*>(data), size);
    unflushed.insert(path);
    return true;
  }
  bool Truncate(File file, std::uint32_t size) override {
    ++truncations;
    files[PathOf(file)].resize(size);
    unflushed.insert(PathOf(file));
    return true;
  }
  bool Flush(File file) override {
    const std::u16string& path = PathOf(file);
    if (std::find(unflushable.begin(), unflushable.end(), path) != unflushable.end()) {
      lastError = 29;  // ERROR_WRITE_FAULT
      return false;
    }
    unflushed.erase(path);
    return true;
  }
  void Close(File file) override { closed_.push_back(file); }
  void PrintLine(const char16_t* line) override { console.push_back(Utf8(line)); }
  std::size_t ProgramFolder(char16_t* folder, std::size_t capacity) override {
    if (programFolder.empty() || programFolder.size() >= capacity) return 0;
    std::copy(programFolder.begin(), programFolder.end(), folder);
    folder[programFolder.size()] = u'\0';
    return programFolder.size();
  }
  std::uint32_t LastError() override { return lastError; }
  void ShowMessage(const char16_t* text, const char16_t* caption, bool warning) override {
    boxes.push_back({Utf8(text), Utf8(caption), warning});
  }

  // Files created and not closed.
  std::size_t OpenCount() const { return open_.size() - closed_.size(); }

 private:
  bool Refused(const char16_t* path) {
    if (std::find(unwritable.begin(), unwritable.end(), path) == unwritable.end()) return false;
    lastError = unwritableError;
    return true;
  }
  bool IsFull(const std::u16string& path) {
    if (std::find(full.begin(), full.end(), path) == full.end()) return false;
    lastError = 112;  // ERROR_DISK_FULL
    return true;
  }
  const std::u16string& PathOf(File file) const { return open_.at(static_cast<std::size_t>(file)); }

  std::vector<std::u16string> open_;
  std::vector<File> closed_;
};

// Splits text at CRLF; a last line without one is kept.
inline std::vector<std::string> CrlfLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

// Runs the program as its entry points do: the arguments, then the command.
// A null `os` is a terminal that cannot be reached, for the reason
// `unreachable` gives when not null.
inline int RunProgram(std::vector<std::u16string> arguments, Platform* os, FakeProgramIo& io,
                      const char16_t* unreachable = nullptr) {
  arguments.insert(arguments.begin(), u"HWProvision.exe");
  std::vector<const char16_t*> argv;
  for (const auto& argument : arguments) argv.push_back(argument.c_str());
  CommandLine command;
  if (!ReadCommandLine(static_cast<int>(argv.size()), argv.data(), &command, io)) {
    return kExitRefused;
  }
  return RunCommand(command, os, io, unreachable);
}

}  // namespace hw::test
