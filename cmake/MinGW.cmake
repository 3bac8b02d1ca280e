# Cross-compiles for 64-bit Windows with MinGW-w64 (posix threads, for
# std::thread and friends) and runs the results under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(PAGE_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${PAGE_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PAGE_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${PAGE_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${PAGE_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Wide-character Win32 API, lean headers, no min/max macros, Windows 10 API level.
set(CMAKE_CXX_FLAGS_INIT "-DUNICODE -D_UNICODE -DWIN32_LEAN_AND_MEAN -DNOMINMAX -D_WIN32_WINNT=0x0A00")
# Every program runs with no MinGW runtime DLL beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# Release programs ship without their symbol tables.
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")

# CTest and add_custom_command run the programs through Wine in the build's private prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
