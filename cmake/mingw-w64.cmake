# The windows preset: 64-bit, run under Wine.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(HW_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/MingwToolchain.cmake)
