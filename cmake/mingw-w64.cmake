# What the two mingw-w64 toolchain files share: the compilers of PEL_MINGW_TRIPLET and its sysroot. The posix
# flavour of the compiler gives the C++ threads the engine and its tests use. The top CMakeLists.txt runs what it
# builds under Wine.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${PEL_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PEL_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${PEL_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${PEL_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
