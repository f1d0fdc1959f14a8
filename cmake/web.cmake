# How the web builds link the program: for Node (scripted runs on the real file
# system) or for a web page (RAPIKO_WEB_TARGET).
set(RAPIKO_WEB_TARGET node CACHE STRING "What the web build is for: node or browser")
set_property(CACHE RAPIKO_WEB_TARGET PROPERTY STRINGS node browser)

# Memory grows as word lists and recordings need; the C++ streams flush and
# the exit status reaches the caller only when the runtime really exits.
target_link_options(rapiko PRIVATE -sALLOW_MEMORY_GROWTH=1 -sEXIT_RUNTIME=1)
if(RAPIKO_WEB_TARGET STREQUAL "node")
  # The machine's files as they are (no virtual file system), standard output
  # byte for byte, and the module compiled before main runs: Node 18 and later
  # would otherwise fetch() the .wasm file as a URL, which fails.
  target_link_options(rapiko PRIVATE -sENVIRONMENT=node -sNODERAWFS=1 -sWASM_ASYNC_COMPILATION=0
                      "SHELL:--pre-js ${PROJECT_SOURCE_DIR}/web/node_env.js"
                      "SHELL:--js-library ${PROJECT_SOURCE_DIR}/web/node_fsync.js")
  set_property(TARGET rapiko APPEND PROPERTY LINK_DEPENDS ${PROJECT_SOURCE_DIR}/web/node_env.js
                                                          ${PROJECT_SOURCE_DIR}/web/node_fsync.js)
elseif(RAPIKO_WEB_TARGET STREQUAL "browser")
  target_link_options(rapiko PRIVATE -sENVIRONMENT=web)
else()
  message(FATAL_ERROR "RAPIKO_WEB_TARGET is node or browser, not '${RAPIKO_WEB_TARGET}'")
endif()

# What emscripten's C library lacks.
target_sources(rapiko PRIVATE ${PROJECT_SOURCE_DIR}/web/getrandom.cpp)
