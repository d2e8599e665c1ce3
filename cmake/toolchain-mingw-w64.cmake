# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (posix threads).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ZUVA_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZUVA_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZUVA_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${ZUVA_MINGW_TRIPLET}-windres)

# Libraries and headers come from the MinGW tree and from the prefixes the
# build names (the static Qt), never from the build machine's own.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${ZUVA_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One self-contained executable: no libgcc, libstdc++ or winpthread DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
