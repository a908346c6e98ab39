#include "provision/PressWitness.h"

#include "platform/Platform.h"
#include "setup/ProvisioningTarget.h"
#include "setup/PsConfigInstall.h"

namespace hw {

void PressWitness::ShowMessage(const Char* text, const Char*) {
  if (message_[0] != 0) return;  // the first box is the reason
  size_t i = 0;
  for (; text[i] != 0 && i + 1 < HW_COUNT_OF(message_); ++i) message_[i] = text[i];
  message_[i] = 0;
}

bool AppendFlushResult(Provisioning step, long flushed, TextLine& line) {
  if (flushed == kErrorSuccess) return true;
  line.Append(HW_TEXT("; not made permanent: "));
  line.Append(TargetOf(step).kind == ProvisioningTarget::kPsConfigFile ? HW_TEXT("FlushFileBuffers")
                                                                       : HW_TEXT("RegFlushKey"));
  if (static_cast<UInt32>(flushed) == kFlushFailedWithoutError) {
    line.Append(HW_TEXT(" failed, naming no error"));
    return false;
  }
  line.Append(HW_TEXT(" failed with error "));
  line.AppendDecimal(static_cast<UInt32>(flushed));
  return false;
}

void AppendNotPermanentCount(UInt32 count, TextLine& line) {
  if (count == 0) return;
  line.Append(HW_TEXT(", ")).AppendDecimal(count).Append(HW_TEXT(" not made permanent"));
}

}  // namespace hw
