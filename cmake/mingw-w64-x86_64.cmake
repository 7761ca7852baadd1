# Cross-compiles the Windows build with mingw-w64 (64-bit); tests run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KX_MINGW_PREFIX x86_64-w64-mingw32)
# The posix thread model gives std::thread and std::mutex (linked statically like the rest).

set(CMAKE_C_COMPILER ${KX_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KX_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${KX_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KX_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Static runtime: the binaries need no DLL besides the system's and our own.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
