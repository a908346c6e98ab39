#include "setup/PsConfigInstall.h"

namespace hw {

namespace {

// Reads the whole source into the buffer. A source that fills the buffer is
// probed for one more byte: a longer file would otherwise be installed cut
// short and still reported as installed.
bool ReadWholeSource(Platform& os, Handle source, std::uint8_t (&buffer)[kPsConfigBufferSize],
                     std::uint32_t* bytesRead) {
  os.ReadFile(source, buffer, kPsConfigBufferSize, bytesRead, nullptr);
  if (*bytesRead < kPsConfigMinimumSize) return false;
  if (*bytesRead < kPsConfigBufferSize) return true;
  std::uint8_t probe = 0;
  std::uint32_t extra = 0;
  os.ReadFile(source, &probe, 1, &extra, nullptr);
  return extra == 0;
}

}  // namespace

void PsConfigInstall(Platform& os, const char16_t* source, MessageBoxOwner& owner) {
  std::uint8_t buffer[kPsConfigBufferSize];
  std::uint32_t bytesRead = 0;
  std::uint32_t bytesWritten = 0;
  bool installed = false;

  const Handle in =
      os.CreateFile(source, kGenericRead, kFileShareRead, nullptr, kOpenExisting, 0, 0);
  if (in != kInvalidHandleValue) {
    const bool whole = ReadWholeSource(os, in, buffer, &bytesRead);
    os.CloseHandle(in);
    if (whole) {
      os.SetFileAttributes(kPsConfigDestination, kFileAttributeNormal);
      const Handle out = os.CreateFile(kPsConfigDestination, kGenericWrite, kFileShareWrite,
                                       nullptr, kCreateAlways, 0, 0);
      if (out != kInvalidHandleValue) {
        os.WriteFile(out, buffer, bytesRead, &bytesWritten, nullptr);
        os.CloseHandle(out);
        installed = bytesWritten == bytesRead;
      }
    }
  }
  if (!installed) owner.ShowMessage(kSetupFailedText, kSetupFailedCaption);
}

}  // namespace hw
