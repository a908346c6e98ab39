# Device code is what goes into the terminal's executables. The terminal's
# compiler is the CE 6.0 SDK's Visual C++ 2005/2008 for ARM, so in Windows
# builds it is compiled as that compiler would take it: C++03, no exceptions,
# no RTTI, and nothing the standard library would have to supply at run time.
# Native builds compile the portable part with the tests' standard, since
# its text type there, char16_t, needs C++11.
if(MSVC)
  # The CE SDK's compiler itself (see the README): C++03 is all it knows.
  set(HW_DEVICE_FLAGS /GR- /EHs-c-)
  set(HW_DEVICE_SIZE_FLAGS /Gy)
else()
  set(HW_DEVICE_FLAGS -pedantic-errors -fno-exceptions -fno-rtti)
  set(HW_DEVICE_SIZE_FLAGS -ffunction-sections -fdata-sections)
  set(HW_DEVICE_LINK_FLAGS -Wl,--gc-sections)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    # Without exceptions nothing unwinds through device code, and 32-bit x86
    # unwinds by frames, not tables.
    list(APPEND HW_DEVICE_SIZE_FLAGS -fno-asynchronous-unwind-tables)
  else()
    # 64-bit Windows needs its unwind tables to walk any stack, so they stay;
    # whole-program optimisation wins the room back. The objects stay fat,
    # so the tests that link them and the import check read them as usual.
    # (The i686 linker rejects the linkonce sections of such objects beside
    # plain ones, and the 32-bit executables have room to spare.)
    list(APPEND HW_DEVICE_SIZE_FLAGS -flto -ffat-lto-objects)
    list(APPEND HW_DEVICE_LINK_FLAGS -flto -Os)
  endif()
  # C++98 with its 2003 corrigendum, under the name the compilers document.
  set(CMAKE_CXX98_STANDARD_COMPILE_OPTION -std=c++03)
endif()

function(hw_device_code target)
  if(WIN32)
    set_target_properties(${target} PROPERTIES CXX_STANDARD 98 CXX_EXTENSIONS OFF)
    target_compile_options(${target} PRIVATE ${HW_DEVICE_FLAGS} ${HW_DEVICE_SIZE_FLAGS})
  endif()
endfunction()

# A device executable. With mingw-w64 it links with the C driver, so no C++
# library is linked at all: anything that would need one fails to link.
function(hw_device_executable target)
  hw_device_code(${target})
  if(MSVC)
    target_link_options(${target} PRIVATE /OPT:REF)
    if(WINCE)
      # CE has the one subsystem, console programs included.
      target_link_options(${target} PRIVATE /SUBSYSTEM:WINDOWSCE)
    endif()
  else()
    set_target_properties(${target} PROPERTIES LINKER_LANGUAGE C)
    target_link_options(${target} PRIVATE ${HW_DEVICE_LINK_FLAGS})
  endif()
endfunction()
