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
// What of an identity names its file: a UUID takes 32 digits; a longer
// unit's part is folded to its first kFoldedDigits and a checksum of all of it.
const size_t kMaxNameInFileName = 64;
const size_t kFoldedDigits = kMaxNameInFileName - 16;

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

namespace {

// Two FNV-1a sums of the text, one run forward and one backward, in 16 hex
// digits: what tells apart two units whose parts share their first digits.
void AppendChecksum(const Char* text, size_t length, Char* out) {
  UInt32 forward = 2166136261u;
  UInt32 backward = 2166136261u;
  for (size_t i = 0; i < length; ++i) {
    forward = (forward ^ text[i]) * 16777619u;
    backward = (backward ^ text[length - 1 - i]) * 16777619u;
  }
  static const char kDigits[] = "0123456789ABCDEF";
  for (int i = 7; i >= 0; --i) {
    out[7 - i] = static_cast<Char>(kDigits[(forward >> (4 * i)) & 0xF]);
    out[15 - i] = static_cast<Char>(kDigits[(backward >> (4 * i)) & 0xF]);
  }
}

// The identity's part that differs from unit to unit, as it names a file:
// the whole id when it fits, else the unit's own part, whole or folded.
size_t NameInFileName(const TerminalIdentity& identity, Char* out) {
  const Char* name = identity.id[0] != 0 ? identity.id : KnownOrUnknown(identity.name);
  size_t length = TextLength(name);
  if (length > kMaxNameInFileName && identity.id[0] != 0) {
    name += identity.unitStart;
    length -= identity.unitStart;
  }
  const size_t kept = length > kMaxNameInFileName ? kFoldedDigits : length;
  for (size_t i = 0; i < kept; ++i) out[i] = Refused(name[i], i + 1 == length) ? '_' : name[i];
  if (kept == length) return kept;
  AppendChecksum(name, length, out + kept);
  return kMaxNameInFileName;
}

}  // namespace

void TerminalResultPath(const StagingFiles& files, const TerminalIdentity& identity, Char* path) {
  Join(files.folder, kTerminalResultPrefix, path);
  Char* out = path + TextLength(path);
  out += NameInFileName(identity, out);
  for (const Char* c = kTerminalResultSuffix; *c != 0; ++c) *out++ = *c;
  *out = 0;
}

}  // namespace hw
