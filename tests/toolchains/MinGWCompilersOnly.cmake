# MinGW-w64 as CMake finds it on Windows: the compilers and nothing else.
# The Windows suite builds page.exe and simcad.exe with it, to prove that
# the project itself sets everything they need.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
