# clang for the MinGW-w64 target, with lld and MinGW-w64's own headers and
# C++ library: a second compiler over the Windows code, for what GCC lets
# through.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_C_COMPILER_TARGET x86_64-w64-mingw32)
set(CMAKE_CXX_COMPILER_TARGET x86_64-w64-mingw32)

set(page_gcc_mingw /usr/lib/gcc/x86_64-w64-mingw32/12-posix)
set(CMAKE_CXX_FLAGS_INIT
    "-isystem ${page_gcc_mingw}/include/c++ -isystem ${page_gcc_mingw}/include/c++/x86_64-w64-mingw32 -isystem ${page_gcc_mingw}/include/c++/backward")
# The static C++ library needs the threads library after it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fuse-ld=lld -L${page_gcc_mingw}")
set(CMAKE_CXX_STANDARD_LIBRARIES "-Wl,-Bstatic -lpthread")

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
