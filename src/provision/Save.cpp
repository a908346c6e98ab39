#include "provision/Save.h"

#include "provision/ExitCodes.h"
#include "provision/ResultCounts.h"
#include "provision/RunningDriver.h"
#include "provision/Selections.h"

namespace hw {

namespace {

const Char kHeader[] =
    HW_TEXT("; HWProvision profile: the buttons that this terminal's cells select");
const Char kSection[] = HW_TEXT("[modules]");

// The profile line of one module; false when it is only a comment.
bool AppendEntry(Module module, bool read, UInt8 value, TextLine& line) {
  const SelectionAction* row = read ? SelectionWriting(module, value) : NULL;
  if (row != NULL) {
    line.Append(ModuleName(module)).Append(HW_TEXT(" = ")).Append(row->caption);
    return true;
  }
  line.Append(HW_TEXT("; ")).Append(ModuleName(module));
  if (read) {
    line.Append(HW_TEXT(" = "))
        .AppendHexByte(value)
        .Append(HW_TEXT(": no button writes this value"));
  } else {
    line.Append(HW_TEXT(": cell ")).AppendHexByte(CellOf(module).address);
    line.Append(HW_TEXT(" cannot be read"));
  }
  return false;
}

// "; 3G driver: HCD1: loaded from Drivers\BuiltIn\HCD_HSH1 | matches": what
// runs when the profile was saved, a comment that applying it ignores.
bool WriteDriverComments(Platform& os, EepromChannel& channel, ProgramIo& io, ProgramIo::File file,
                         ResultOutput& out) {
  DriverList& drivers = RunDriverList();
  ReadDriverList(os, false, &drivers);
  bool written = true;
  const Module modules[] = {k3G, kWifi};
  for (size_t i = 0; i < HW_COUNT_OF(modules); ++i) {
    ModuleAudit audit;
    AuditModule(os, channel, modules[i], &audit);
    DriverAudit driver;
    AuditDriver(audit, drivers, false, &driver);
    TextLine line;
    line.Append(HW_TEXT("; ")).Append(ModuleName(modules[i])).Append(HW_TEXT(" "));
    AppendDriverText(driver, line);
    out.Line(line.text() + 2);
    written = WriteUtf8Line(io, file, line.text()) && written;
  }
  return written;
}

}  // namespace

int RunSave(Platform& os, EepromChannel& channel, ProgramIo& io, const Char* path,
            ResultOutput& out) {
  bool read[kModuleCellCount];
  UInt8 values[kModuleCellCount];
  for (size_t i = 0; i < kModuleCellCount; ++i) {
    values[i] = 0;
    read[i] = channel.ReadCell(kModuleCells[i].address, &values[i]);
  }
  const ProgramIo::File file = io.CreateForWriting(path);
  if (file == ProgramIo::kNoFile) {
    TextLine line;
    line.Append(path).Append(HW_TEXT(": cannot be created"));
    AppendExitCode(kExitRefused, line);
    out.Result(line);
    return kExitRefused;
  }
  bool written = WriteUtf8Line(io, file, kHeader) && WriteUtf8Line(io, file, kSection);
  UInt32 saved = 0;
  UInt32 unreadable = 0;
  for (size_t i = 0; i < kModuleCellCount; ++i) {
    TextLine line;
    if (AppendEntry(kModuleCells[i].module, read[i], values[i], line)) {
      ++saved;
    } else {
      out.Line(line.text() + 2);  // the comment, without its "; "
    }
    unreadable += read[i] ? 0 : 1;
    written = WriteUtf8Line(io, file, line.text()) && written;
  }
  written = WriteDriverComments(os, channel, io, file, out) && written;
  io.Close(file);
  const int exit = written && unreadable == 0 ? kExitOk : kExitFailed;
  TextLine result;
  result.Append(HW_TEXT("result: ")).AppendDecimal(saved).Append(HW_TEXT(" modules saved to "));
  result.Append(path);
  if (!written) result.Append(HW_TEXT(", but the file could not be written whole"));
  AppendExitCode(exit, result);
  out.Result(result);
  return exit;
}

}  // namespace hw
