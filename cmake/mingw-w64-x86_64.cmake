# Cross-compiling for 64-bit Windows with Debian's mingw-w64 compilers.
#
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
#         -DCMAKE_PREFIX_PATH=build-windows/deps/prefix
#
# The libraries are looked for only in the compilers' own folder and in
# CMAKE_PREFIX_PATH (where scripts/port-libraries.sh installs them), never among
# the build machine's Linux libraries.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(RAPIKO_MINGW_TRIPLE x86_64-w64-mingw32)

# The -posix compilers: std::thread, std::mutex and friends need their threads.
set(CMAKE_C_COMPILER ${RAPIKO_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${RAPIKO_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${RAPIKO_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${RAPIKO_MINGW_TRIPLE})
foreach(path IN LISTS CMAKE_PREFIX_PATH)
  get_filename_component(path "${path}" ABSOLUTE)
  list(APPEND CMAKE_FIND_ROOT_PATH "${path}")
endforeach()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config sees only the Windows libraries, with what a static link needs.
set(ENV{PKG_CONFIG_LIBDIR} "/usr/${RAPIKO_MINGW_TRIPLE}/lib/pkgconfig")
set(PKG_CONFIG_ARGN --static)

# Programs that need no DLL but Windows' own: the C++ runtime, libgcc and
# winpthread linked in.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

# Programs run on the build machine under Wine, in the build's own prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine.sh)
