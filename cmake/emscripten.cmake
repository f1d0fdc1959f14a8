# The toolchain of the web builds: Debian's emscripten, and the libraries that
# scripts/port-libraries.sh built with it from Debian's sources (RAPIKO_WEB_DEPS).
execute_process(COMMAND em-config EMSCRIPTEN_ROOT OUTPUT_VARIABLE rapiko_em_root
                OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE rapiko_em_result)
if(NOT rapiko_em_result EQUAL 0 OR NOT EXISTS "${rapiko_em_root}")
  message(FATAL_ERROR "emscripten not found (scripts/install-deps.sh web installs Debian's)")
endif()
include(${rapiko_em_root}/cmake/Modules/Platform/Emscripten.cmake)

if(NOT RAPIKO_WEB_DEPS)
  set(RAPIKO_WEB_DEPS "$ENV{RAPIKO_WEB_DEPS}")
endif()
# (The libraries themselves are built with this file too, before there is any.)
if(NOT "$ENV{RAPIKO_PORT_LIBRARIES}" AND NOT EXISTS "${RAPIKO_WEB_DEPS}/lib/libSDL2.a")
  message(FATAL_ERROR "no SDL2 built with emcc in RAPIKO_WEB_DEPS='${RAPIKO_WEB_DEPS}' "
                      "(scripts/port-libraries.sh builds it)")
endif()
list(APPEND CMAKE_FIND_ROOT_PATH "${RAPIKO_WEB_DEPS}")
# pkg-config answers for the web's libraries, never for the machine's.
set(ENV{PKG_CONFIG_LIBDIR} "${RAPIKO_WEB_DEPS}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
# nlohmann-json is headers only: the machine's, through a folder of their own
# (the machine's /usr/include would bring its C library's headers along).
set(nlohmann_json_DIR "${CMAKE_CURRENT_LIST_DIR}/web" CACHE PATH "" FORCE)

# The game throws and catches exceptions; emscripten's default is to abort.
set(CMAKE_CXX_FLAGS_INIT "-fexceptions")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fexceptions")
# Debian's emcc runs its JavaScript optimiser with Debian's acorn.
set(CMAKE_C_LINKER_LAUNCHER env NODE_PATH=/usr/share/nodejs)
set(CMAKE_CXX_LINKER_LAUNCHER env NODE_PATH=/usr/share/nodejs)
