// The device executables link no C++ library. GCC's code still names two of
// its hooks, which the terminal's compiler finds in its own runtime
// (coredll's _purecall, the CRT's operator delete): a pure virtual call and
// the deleting destructors that every virtual destructor brings. Neither can
// run in this program (nothing calls a pure virtual during construction and
// nothing is allocated), so reaching one is a fault, and it stops here.
#if defined(__GNUC__)

extern "C" void __cxa_pure_virtual() {
  __builtin_trap();
}

void operator delete(void*) throw() {
  __builtin_trap();
}

#endif
