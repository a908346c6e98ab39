#include "setup/PsConfigInstall.h"

namespace hw {

const Char kPsConfigSource[] = HW_TEXT("\\Windows\\PSconfig.psr");
const Char kPsConfig1Source[] = HW_TEXT("\\Windows\\PSconfig1.psr");
const Char kPsConfigDestination[] = HW_TEXT("\\Flash Disk\\PSconfig.psr");
const Char kSetupFailedText[] = HW_TEXT("Setup Failed!");
const Char kSetupFailedCaption[] = HW_TEXT("Tip");

namespace {

// Reads the whole source into the buffer. A source that fills the buffer is
// probed for one more byte: a longer file would otherwise be installed cut
// short and still reported as installed.
bool ReadWholeSource(Platform& os, Handle source, UInt8 (&buffer)[kPsConfigBufferSize],
                     UInt32* bytesRead) {
  os.ReadFile(source, buffer, kPsConfigBufferSize, bytesRead, NULL);
  if (*bytesRead < kPsConfigMinimumSize) return false;
  if (*bytesRead < kPsConfigBufferSize) return true;
  UInt8 probe = 0;
  UInt32 extra = 0;
  os.ReadFile(source, &probe, 1, &extra, NULL);
  return extra == 0;
}

}  // namespace

UInt32 PsConfigInstall(Platform& os, const Char* source, MessageBoxOwner& owner) {
  UInt8 buffer[kPsConfigBufferSize];
  UInt32 bytesRead = 0;
  UInt32 bytesWritten = 0;
  bool installed = false;
  UInt32 flushError = 0;

  const Handle in = os.CreateFile(source, kGenericRead, kFileShareRead, NULL, kOpenExisting, 0, 0);
  if (in != kInvalidHandleValue) {
    const bool whole = ReadWholeSource(os, in, buffer, &bytesRead);
    os.CloseHandle(in);
    if (whole) {
      os.SetFileAttributes(kPsConfigDestination, kFileAttributeNormal);
      const Handle out = os.CreateFile(kPsConfigDestination, kGenericWrite, kFileShareWrite, NULL,
                                       kCreateAlways, 0, 0);
      if (out != kInvalidHandleValue) {
        os.WriteFile(out, buffer, bytesRead, &bytesWritten, NULL);
        installed = bytesWritten == bytesRead;
        // A FAT cache may hold the file back until then; a reset would lose it.
        if (installed && !os.FlushFileBuffers(out)) {
          flushError = os.GetLastError();
          if (flushError == 0) flushError = kFlushFailedWithoutError;
        }
        os.CloseHandle(out);
      }
    }
  }
  if (!installed) owner.ShowMessage(kSetupFailedText, kSetupFailedCaption);
  return flushError;
}

}  // namespace hw
