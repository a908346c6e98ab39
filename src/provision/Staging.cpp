#include "provision/Staging.h"

#include "provision/Text.h"

namespace hw {

const Char kNoProfileLine[] = HW_TEXT("no HWProvision.ini beside the program: report only");

namespace {

const Char kProfileName[] = HW_TEXT("HWProvision.ini");
const Char kResultName[] = HW_TEXT("HWProvision.txt");
const Char kLogName[] = HW_TEXT("HWProvision.log");
const Char kTerminalResultPrefix[] = HW_TEXT("HWProvision-");
const Char kTerminalResultSuffix[] = HW_TEXT(".txt");

void Join(const Char* folder, const Char* name, Char* path) {
  while (*folder != 0) *path++ = *folder++;
  while (*name != 0) *path++ = *name++;
  *path = 0;
}

}  // namespace

bool FindStagingFiles(ProgramIo& io, StagingFiles* files) {
  const size_t room = kPathCapacity - TextLength(kTerminalResultPrefix) - kMaxRecordId -
                      TextLength(kTerminalResultSuffix);
  if (io.ProgramFolder(files->folder, room) == 0) return false;
  Join(files->folder, kProfileName, files->profile);
  Join(files->folder, kResultName, files->result);
  Join(files->folder, kLogName, files->log);
  return true;
}

void TerminalResultPath(const StagingFiles& files, const TerminalIdentity& identity, Char* path) {
  Join(files.folder, kTerminalResultPrefix, path);
  Char* out = path + TextLength(path);
  out += RecordIdOf(identity, out);
  for (const Char* c = kTerminalResultSuffix; *c != 0; ++c) *out++ = *c;
  *out = 0;
}

}  // namespace hw
