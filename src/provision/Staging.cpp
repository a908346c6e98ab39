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
// What of an identity names its file: a UUID takes 32, a long device id is cut.
const size_t kMaxNameInFileName = 64;

void Join(const Char* folder, const Char* name, Char* path) {
  while (*folder != 0) *path++ = *folder++;
  while (*name != 0) *path++ = *name++;
  *path = 0;
}

// What FAT and CE refuse in a file name, and what would end it badly.
bool Refused(Char c, bool last) {
  if (c < 0x20) return true;
  if (last && (c == '.' || c == ' ')) return true;
  const char* const kRefused = "\\/:*?\"<>|";
  for (const char* r = kRefused; *r != 0; ++r) {
    if (c == static_cast<Char>(*r)) return true;
  }
  return false;
}

}  // namespace

bool FindStagingFiles(ProgramIo& io, StagingFiles* files) {
  const size_t room = kPathCapacity - TextLength(kTerminalResultPrefix) - kMaxNameInFileName -
                      TextLength(kTerminalResultSuffix);
  if (io.ProgramFolder(files->folder, room) == 0) return false;
  Join(files->folder, kProfileName, files->profile);
  Join(files->folder, kResultName, files->result);
  Join(files->folder, kLogName, files->log);
  return true;
}

void TerminalResultPath(const StagingFiles& files, const TerminalIdentity& identity, Char* path) {
  const Char* name = identity.id[0] != 0 ? identity.id : KnownOrUnknown(identity.name);
  size_t length = TextLength(name);
  if (length > kMaxNameInFileName) length = kMaxNameInFileName;
  Join(files.folder, kTerminalResultPrefix, path);
  Char* out = path + TextLength(path);
  for (size_t i = 0; i < length; ++i) *out++ = Refused(name[i], i + 1 == length) ? '_' : name[i];
  for (const Char* c = kTerminalResultSuffix; *c != 0; ++c) *out++ = *c;
  *out = 0;
}

}  // namespace hw
