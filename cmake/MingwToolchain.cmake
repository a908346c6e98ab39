# The cross build for Windows with mingw-w64 (posix threads) for the target
# HW_MINGW_TRIPLE, linked statically so the executables need no mingw DLLs at
# run time. Tests run through Wine.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${HW_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${HW_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${HW_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${HW_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# ctest runs every Windows test executable through this wrapper, which keeps a
# throwaway Wine prefix inside the build tree.
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run")
