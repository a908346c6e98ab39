#pragma once

#include <stddef.h>

// The few types the portable code shares with the OS. Device code is C++03 as
// the terminal's compiler takes it, so nothing here comes from <cstdint>.
namespace hw {

typedef unsigned char UInt8;
typedef unsigned short UInt16;
typedef int Int32;
// Windows' DWORD is an unsigned long, 32 bits on every Windows; elsewhere an
// unsigned int is. Being the same type as DWORD lets counts go straight to
// the W functions.
#if defined(_WIN32)
typedef unsigned long UInt32;
#else
typedef unsigned int UInt32;
#endif

// A pointer-sized integer: handles and keys carry the OS's handle bits.
typedef ptrdiff_t IntPtr;

// Text is UTF-16 everywhere. Windows builds use the system's wide character,
// so text goes to the W functions as it is; native builds use char16_t, a
// 16-bit type too, so lengths in bytes are the same in native tests.
// HW_TEXT("...") is a literal of that type, as TEXT() is for TCHAR.
#if defined(_WIN32)
typedef wchar_t Char;
#define HW_TEXT(text) L##text
#else
typedef char16_t Char;
#define HW_TEXT(text) u##text
#endif

}  // namespace hw

// The number of elements of an array, as a constant expression.
#define HW_COUNT_OF(array) (sizeof(array) / sizeof((array)[0]))

// A compile-time assertion for C++03: an array of negative size when false.
#define HW_STATIC_ASSERT(condition, name) typedef char hw_static_assert_##name[(condition) ? 1 : -1]

HW_STATIC_ASSERT(sizeof(hw::Char) == 2, text_is_utf16);
HW_STATIC_ASSERT(sizeof(hw::UInt16) == 2, uint16_has_16_bits);
HW_STATIC_ASSERT(sizeof(hw::UInt32) == 4, uint32_has_32_bits);
HW_STATIC_ASSERT(sizeof(hw::IntPtr) == sizeof(void*), intptr_holds_a_pointer);

// `override` where the language has it, so C++11 builds check what C++03
// builds cannot.
#if __cplusplus >= 201103L
#define HW_OVERRIDE override
#else
#define HW_OVERRIDE
#endif
