# The windows32 preset: the same build at the terminal's width (pointers,
# handles, GetWindowLong slots and structures of 32 bits). It builds and
# links only: these machines' kernels cannot start 32-bit programs, so Wine
# cannot run them here.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(HW_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/MingwToolchain.cmake)
