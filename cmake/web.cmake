# The web builds of the program, from one build of the libraries: rapiko.js for Node
# (scripted runs on the machine's files) and the web page's rapiko.js with the site
# around it (RAPIKO_WEB_SITE).
set(RAPIKO_WEB_SITE ${CMAKE_BINARY_DIR}/site CACHE PATH "Where the web page's site is made")

# Memory grows as word lists and recordings need; the C++ streams flush and
# the exit status reaches the caller only when the runtime really exits.
set(rapiko_web_link -sALLOW_MEMORY_GROWTH=1 -sEXIT_RUNTIME=1)

# For Node: the machine's files as they are (no virtual file system),
# standard output byte for byte, and the module compiled before main runs
# (Node 18 and later would otherwise fetch() the .wasm file as a URL, which
# fails); the caller's environment, and an fsync that reaches the disk.
target_sources(rapiko PRIVATE ${PROJECT_SOURCE_DIR}/web/getrandom.cpp)
target_link_options(rapiko PRIVATE ${rapiko_web_link}
  -sENVIRONMENT=node -sNODERAWFS=1 -sWASM_ASYNC_COMPILATION=0
  "SHELL:--pre-js ${PROJECT_SOURCE_DIR}/web/node_env.js"
  "SHELL:--js-library ${PROJECT_SOURCE_DIR}/web/node_fsync.js")
set_property(TARGET rapiko APPEND PROPERTY LINK_DEPENDS
             ${PROJECT_SOURCE_DIR}/web/node_env.js ${PROJECT_SOURCE_DIR}/web/node_fsync.js)

# For the page: the same program. The game's loop blocks as it does on every
# other machine; each sleep of it unwinds to the browser and resumes
# (asyncify). The default game files come in rapiko.data, in the game
# folder the page names.
get_target_property(rapiko_sources rapiko SOURCES)
get_target_property(rapiko_source_dir rapiko SOURCE_DIR)
list(FILTER rapiko_sources INCLUDE REGEX "^app/")
list(TRANSFORM rapiko_sources PREPEND ${rapiko_source_dir}/)
add_executable(rapiko_page ${rapiko_sources} ${PROJECT_SOURCE_DIR}/web/getrandom.cpp
                           ${PROJECT_SOURCE_DIR}/web/sleep_yields.cpp)
get_target_property(rapiko_definitions rapiko COMPILE_DEFINITIONS)
target_compile_definitions(rapiko_page PRIVATE ${rapiko_definitions})
target_link_libraries(rapiko_page PRIVATE rapiko_app)
set(rapiko_page_data
  ${PROJECT_SOURCE_DIR}/assets/back.bmp@/rapiko/back.bmp
  ${PROJECT_SOURCE_DIR}/assets/rapdata.ini@/rapiko/rapdata.ini
  ${PROJECT_SOURCE_DIR}/assets/words@/rapiko/words)
list(TRANSFORM rapiko_page_data PREPEND "SHELL:--preload-file ")
# SDL's sound calls two functions of emscripten's library that only its own
# SDL port asks for (web/sdl_sound_library.js).
target_link_options(rapiko_page PRIVATE ${rapiko_web_link} -sENVIRONMENT=web -sASYNCIFY=1
  "SHELL:--js-library ${PROJECT_SOURCE_DIR}/web/sdl_sound_library.js"
  -sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=[rapiko_sdl_sound] ${rapiko_page_data})
set_property(TARGET rapiko_page APPEND PROPERTY LINK_DEPENDS
             ${PROJECT_SOURCE_DIR}/web/sdl_sound_library.js)
set_target_properties(rapiko_page PROPERTIES OUTPUT_NAME rapiko
                      RUNTIME_OUTPUT_DIRECTORY ${RAPIKO_WEB_SITE})
set_property(TARGET rapiko_page APPEND PROPERTY LINK_DEPENDS ${RAPIKO_GAME_FILES}
             ${RAPIKO_WORD_LISTS})

# The site: the page, its manifest and icons, and the service worker with the
# list of every file to keep.
set(rapiko_page_files index.html page.css page.js manifest.webmanifest sw.js)
list(TRANSFORM rapiko_page_files PREPEND ${PROJECT_SOURCE_DIR}/web/ OUTPUT_VARIABLE rapiko_page_inputs)
file(GLOB rapiko_icons CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/assets/icons/*.png)
add_custom_command(
  OUTPUT ${RAPIKO_WEB_SITE}/sw.js
  COMMAND ${CMAKE_COMMAND} -DSOURCE=${PROJECT_SOURCE_DIR} -DSITE=${RAPIKO_WEB_SITE}
          -P ${PROJECT_SOURCE_DIR}/cmake/web/site.cmake
  DEPENDS rapiko_page ${rapiko_page_inputs} ${rapiko_icons}
          ${PROJECT_SOURCE_DIR}/cmake/web/site.cmake
  COMMENT "Making the web site"
  VERBATIM)
add_custom_target(rapiko_site ALL DEPENDS ${RAPIKO_WEB_SITE}/sw.js)
