// What the terminal's C runtime gives a program, for the ARM link of
// scripts/device-checks: the CE 6.0 SDK's corelibc.lib, which the terminal's
// build links statically. It is never run, only linked, so each routine does
// no more than its counterpart must.
//
// corelibc.lib is a library of members, and a linker takes a member only for
// a symbol the program leaves unresolved. device_link.py compiles this file
// once per MEMBER_ block into an archive to keep that: an entry the program
// does not name is never taken, and the program's own definitions win.
//
// memcpy, memset and memmove are not here: coredll exports them, so its
// import library answers the compiler's calls, as on the terminal.
#include <windows.h>

typedef void (*ExitFunction)(void);

extern "C" void _cexit(void);

#if defined(MEMBER_wWinMainCRTStartup)

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show);

// clang's static constructors, listed between the markers lld places around
// .ctors; the terminal's compiler lists its own where its runtime looks.
extern "C" ExitFunction __CTOR_LIST__[];

// corelibc's GUI start-up. CE's loader calls a program's entry with the
// arguments of WinMain (the command line without the program's name); the
// runtime constructs the statics, runs wWinMain, runs what atexit recorded
// and ends the process with wWinMain's result.
extern "C" int WINAPI wWinMainCRTStartup(HINSTANCE instance, HINSTANCE previous,
                                         LPWSTR commandLine, int show) {
  int count = 0;
  while (__CTOR_LIST__[count + 1] != 0) ++count;
  // The list runs backwards, as GCC-family compilers lay it out.
  for (int i = count; i > 0; --i) __CTOR_LIST__[i]();
  const int result = wWinMain(instance, previous, commandLine, show);
  _cexit();
  return result;
}

#elif defined(MEMBER_mainWCRTStartup)

int wmain(int argc, wchar_t** argv);

extern "C" ExitFunction __CTOR_LIST__[];

namespace {

const int kMaxArguments = 32;
wchar_t programPath[MAX_PATH];
wchar_t line[1024];
wchar_t* arguments[kMaxArguments + 1];

// Splits the command line in place: blanks separate arguments, double quotes
// keep blanks in one. Enough for the model; the real runtime's rules for
// backslashes before quotes are not modelled.
int SplitArguments(const wchar_t* commandLine) {
  int count = 0;
  arguments[count++] = programPath;
  int n = 0;
  while (commandLine != NULL && commandLine[n] != 0 && n < 1023) {
    line[n] = commandLine[n];
    ++n;
  }
  line[n] = 0;
  wchar_t* in = line;
  while (*in != 0 && count < kMaxArguments) {
    while (*in == L' ' || *in == L'\t') ++in;
    if (*in == 0) break;
    arguments[count++] = in;
    wchar_t* out = in;
    bool quoted = false;
    for (; *in != 0 && (quoted || (*in != L' ' && *in != L'\t')); ++in) {
      if (*in == L'"') {
        quoted = !quoted;
      } else {
        *out++ = *in;
      }
    }
    if (*in != 0) ++in;
    *out = 0;
  }
  arguments[count] = NULL;
  return count;
}

}  // namespace

// corelibc's console start-up: the same arguments from the loader, split
// into wmain's argv, whose first entry is the program's path.
extern "C" int WINAPI mainWCRTStartup(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int) {
  int count = 0;
  while (__CTOR_LIST__[count + 1] != 0) ++count;
  for (int i = count; i > 0; --i) __CTOR_LIST__[i]();
  ::GetModuleFileNameW(instance, programPath, MAX_PATH);
  const int argc = SplitArguments(commandLine);
  const int result = wmain(argc, arguments);
  _cexit();
  return result;
}

#elif defined(MEMBER_atexit)

namespace {
const int kMaxExitFunctions = 32;
ExitFunction exitFunctions[kMaxExitFunctions];
int exitCount = 0;
}  // namespace

// corelibc's atexit: the compiler registers each static object's destructor
// with it as the object is constructed.
extern "C" int atexit(ExitFunction function) {
  if (exitCount == kMaxExitFunctions) return -1;
  exitFunctions[exitCount++] = function;
  return 0;
}

// corelibc's _cexit: what atexit recorded, last first.
extern "C" void _cexit(void) {
  while (exitCount > 0) exitFunctions[--exitCount]();
}

#elif defined(MEMBER___chkstk)

// corelibc's stack probe. Before a frame larger than a page the compiler
// calls it with the frame's size in words in r4 and takes the size in bytes
// back from r4; it touches each page below the stack pointer in turn, so
// that CE commits the stack one guard page at a time.
__asm__(
    "  .text\n"
    "  .thumb\n"
    "  .globl __chkstk\n"
    "  .thumb_func\n"
    "__chkstk:\n"
    "  lsl.w r4, r4, #2\n"
    "  push {r5, r6}\n"
    "  sub.w r5, sp, r4\n"
    "  mov r12, sp\n"
    "1:\n"
    "  sub.w r12, r12, #4096\n"
    "  cmp r12, r5\n"
    "  blo 2f\n"
    "  ldr r6, [r12]\n"
    "  b 1b\n"
    "2:\n"
    "  pop {r5, r6}\n"
    "  bx lr\n");

#elif defined(MEMBER_operator_delete)

// corelibc's operator delete, which every virtual destructor names. The
// tool allocates nothing, so it is never reached.
void operator delete(void*) throw() {
  __builtin_trap();
}

#elif defined(MEMBER___cxa_pure_virtual)

// The pure-virtual trap under clang's name; the terminal's compiler calls
// coredll's _purecall instead.
extern "C" void __cxa_pure_virtual() {
  __builtin_trap();
}

#endif
