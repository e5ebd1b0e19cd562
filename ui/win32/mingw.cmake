# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (the POSIX thread model, so that
# std::thread and std::mutex work): cmake -DCMAKE_TOOLCHAIN_FILE=ui/win32/mingw.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(WT_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${WT_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${WT_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${WT_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${WT_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
