# Cross-compiles the Windows x86-64 program with MinGW-w64 (posix thread model).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(cavio_triplet x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${cavio_triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${cavio_triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${cavio_triplet}-windres)
set(CMAKE_OBJDUMP ${cavio_triplet}-objdump CACHE FILEPATH "objdump for PE files")
set(CMAKE_DLLTOOL ${cavio_triplet}-dlltool CACHE FILEPATH "dlltool for delay-load import libraries")

set(CMAKE_FIND_ROOT_PATH /usr/${cavio_triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
