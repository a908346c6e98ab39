#include "provision/CommandLine.h"

#include "provision/Text.h"

namespace hw {

const Char kBootResultFile[] = HW_TEXT("\\Flash Disk\\HWProvision-boot.txt");

namespace {

const Char* const kUsage[] = {
    HW_TEXT("usage: HWProvision report [--out FILE] [--log FILE] [--box]"),
    HW_TEXT("       HWProvision save FILE [--box]"),
    HW_TEXT("       HWProvision apply FILE [--dry-run] [--out FILE] [--log FILE] [--box]"),
    HW_TEXT("       HWProvision sync [--restart] [--out FILE] [--log FILE] [--box]"),
    HW_TEXT("       HWProvision    (alone: applies HWProvision.ini beside it, else reports)"),
    HW_TEXT("       HWProvision NN (started from HKLM\\Init as LaunchNN: the boot's sync)"),
};

bool UsageError(ProgramIo& io, const Char* reason, const Char* argument) {
  TextLine line;
  line.Append(HW_TEXT("HWProvision: ")).Append(reason);
  if (argument != NULL) line.Append(HW_TEXT(" ")).AppendQuoted(argument);
  io.PrintLine(line.text());
  PrintUsage(io);
  return false;
}

bool Repeated(ProgramIo& io, const Char* option) {
  TextLine reason;
  reason.Append(option).Append(HW_TEXT(" given twice"));
  return UsageError(io, reason.text(), NULL);
}

bool IsHelp(const Char* argument) {
  return TextEquals(argument, HW_TEXT("--help")) || TextEquals(argument, HW_TEXT("-h")) ||
         TextEquals(argument, HW_TEXT("/?"));
}

// A decimal number that fits 32 bits, as HKLM\Init's sequence ids are.
bool ReadSequence(const Char* text, UInt32* sequence) {
  UInt32 value = 0;
  size_t digits = 0;
  for (; text[digits] >= '0' && text[digits] <= '9'; ++digits) {
    const UInt32 digit = static_cast<UInt32>(text[digits] - '0');
    if (value > (0xFFFFFFFFu - digit) / 10) return false;
    value = value * 10 + digit;
  }
  *sequence = value;
  return digits > 0 && text[digits] == 0;
}

// The boot's sync, as the start-up folder's shortcut runs it.
void StartedByInit(UInt32 sequence, CommandLine* command) {
  command->command = CommandLine::kSync;
  command->restart = true;
  command->outFile = kBootResultFile;
  command->startedByInit = true;
  command->sequence = sequence;
}

bool TakesFile(CommandLine::Command command) {
  return command == CommandLine::kSave || command == CommandLine::kApply;
}

// The option `argument` names for this command: a FILE it takes, or a
// switch; neither when the command has no such option.
void FindOption(CommandLine* command, const Char* argument, const Char*** file, bool** flag) {
  const CommandLine::Command kind = command->command;
  *file = NULL;
  *flag = NULL;
  if (kind != CommandLine::kSave && TextEquals(argument, HW_TEXT("--out"))) {
    *file = &command->outFile;
  } else if (kind != CommandLine::kSave && TextEquals(argument, HW_TEXT("--log"))) {
    *file = &command->logFile;
  } else if (TextEquals(argument, HW_TEXT("--box"))) {
    *flag = &command->box;
  } else if (kind == CommandLine::kApply && TextEquals(argument, HW_TEXT("--dry-run"))) {
    *flag = &command->dryRun;
  } else if (kind == CommandLine::kSync && TextEquals(argument, HW_TEXT("--restart"))) {
    *flag = &command->restart;
  }
}

bool ReadOptions(int argc, const Char* const* argv, CommandLine* command, ProgramIo& io) {
  for (int i = 2; i < argc; ++i) {
    const Char* argument = argv[i];
    const Char** file = NULL;
    bool* flag = NULL;
    FindOption(command, argument, &file, &flag);
    if ((file != NULL && *file != NULL) || (flag != NULL && *flag)) {
      return Repeated(io, argument);
    } else if (flag != NULL) {
      *flag = true;
    } else if (file != NULL) {
      if (i + 1 == argc) {
        TextLine reason;
        reason.Append(argument).Append(HW_TEXT(" needs a FILE"));
        return UsageError(io, reason.text(), NULL);
      }
      *file = argv[++i];
    } else if (argument[0] == '-' && argument[1] == '-') {
      return UsageError(io, HW_TEXT("this command takes no option"), argument);
    } else if (!TakesFile(command->command) || command->file != NULL) {
      return UsageError(io, HW_TEXT("one argument too many:"), argument);
    } else {
      command->file = argument;
    }
  }
  if (TakesFile(command->command) && command->file == NULL) {
    return UsageError(io, HW_TEXT("this command needs a FILE"), NULL);
  }
  return true;
}

}  // namespace

void PrintUsage(ProgramIo& io) {
  for (size_t i = 0; i < HW_COUNT_OF(kUsage); ++i) io.PrintLine(kUsage[i]);
}

bool ReadCommandLine(int argc, const Char* const* argv, CommandLine* command, ProgramIo& io) {
  command->file = NULL;
  command->outFile = NULL;
  command->logFile = NULL;
  command->dryRun = false;
  command->restart = false;
  command->box = false;
  command->startedByInit = false;
  command->sequence = 0;
  command->command = CommandLine::kStage;
  for (int i = 1; i < argc; ++i) {
    if (IsHelp(argv[i])) command->command = CommandLine::kHelp;
  }
  if (argc < 2 || command->command == CommandLine::kHelp) return true;
  const Char* word = argv[1];
  UInt32 sequence = 0;
  if (argc == 2 && ReadSequence(word, &sequence)) {
    StartedByInit(sequence, command);
    return true;
  }
  if (TextEquals(word, HW_TEXT("report"))) {
    command->command = CommandLine::kReport;
  } else if (TextEquals(word, HW_TEXT("save"))) {
    command->command = CommandLine::kSave;
  } else if (TextEquals(word, HW_TEXT("apply"))) {
    command->command = CommandLine::kApply;
  } else if (TextEquals(word, HW_TEXT("sync"))) {
    command->command = CommandLine::kSync;
  } else if (word[0] == '-' && word[1] == '-') {
    return UsageError(io, HW_TEXT("no command"), NULL);
  } else {
    return UsageError(io, HW_TEXT("unknown command"), word);
  }
  return ReadOptions(argc, argv, command, io);
}

}  // namespace hw
