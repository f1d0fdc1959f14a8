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
set_target_properties(rapiko PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/node)
target_link_options(rapiko PRIVATE ${rapiko_web_link}
  -sENVIRONMENT=node -sNODERAWFS=1 -sWASM_ASYNC_COMPILATION=0
  "SHELL:--pre-js ${PROJECT_SOURCE_DIR}/web/node_env.js"
  "SHELL:--js-library ${PROJECT_SOURCE_DIR}/web/node_fsync.js"
  "SHELL:--js-library ${PROJECT_SOURCE_DIR}/web/node_http.js")
set_property(TARGET rapiko APPEND PROPERTY LINK_DEPENDS ${PROJECT_SOURCE_DIR}/web/node_env.js
             ${PROJECT_SOURCE_DIR}/web/node_fsync.js ${PROJECT_SOURCE_DIR}/web/node_http.js)

# For the page: the same program. The game's loop blocks as it does on every
# other machine; each sleep of it, and each wait for the browser's files and
# locks, unwinds to the browser and resumes (asyncify). The page's entry runs
# the program again when the player quits, and tells it the page sizes the
# canvas (web/page_main.cpp); the game folder's lock is the browser's
# (src/storage/web/). The default game files come in rapiko.data, installed
# as on Linux: beside a program at /rapiko/bin, so that the game folder is the
# player's own, seeded from them, in the folder the page keeps
# (web/page_storage.js).
add_executable(rapiko_page ${PROJECT_SOURCE_DIR}/web/page_main.cpp
                           ${PROJECT_SOURCE_DIR}/web/sleep_yields.cpp
                           ${PROJECT_SOURCE_DIR}/src/storage/web/folder_lock.cpp)
target_link_libraries(rapiko_page PRIVATE rapiko_app)
set(rapiko_page_bin /rapiko/bin)
file(RELATIVE_PATH rapiko_data_from_bin ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_PREFIX}/${RAPIKO_INSTALL_DATA_DIR})
cmake_path(ABSOLUTE_PATH rapiko_data_from_bin BASE_DIRECTORY ${rapiko_page_bin} NORMALIZE
           OUTPUT_VARIABLE rapiko_page_data)
string(REGEX REPLACE "/$" "" rapiko_page_data "${rapiko_page_data}")
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/page_program.js
     CONTENT "// Where the page's program is, so that it finds its files as an installed one does.\nModule[\"thisProgram\"] = \"${rapiko_page_bin}/rapiko\";\n")
# The files it ships (cmake/shipped_files.cmake), each preloaded under its name.
set(rapiko_page_data_files)
foreach(file IN LISTS RAPIKO_GAME_FILES)
  get_filename_component(name ${file} NAME)
  list(APPEND rapiko_page_data_files "SHELL:--preload-file ${file}@${rapiko_page_data}/${name}")
endforeach()
foreach(file IN LISTS RAPIKO_WORD_LISTS)
  get_filename_component(name ${file} NAME)
  list(APPEND rapiko_page_data_files
       "SHELL:--preload-file ${file}@${rapiko_page_data}/words/${name}")
endforeach()
# SDL's sound calls two functions of emscripten's library that only its own
# SDL port asks for (web/sdl_sound_library.js).
target_link_options(rapiko_page PRIVATE ${rapiko_web_link} -sENVIRONMENT=web -sASYNCIFY=1
  "-sASYNCIFY_IMPORTS=[rapiko_lock_try,rapiko_lock_release,rapiko_http_exchange]"
  "SHELL:--pre-js ${CMAKE_BINARY_DIR}/page_program.js"
  "SHELL:--js-library ${PROJECT_SOURCE_DIR}/web/sdl_sound_library.js"
  "SHELL:--js-library ${PROJECT_SOURCE_DIR}/web/page_storage.js"
  "SHELL:--js-library ${PROJECT_SOURCE_DIR}/web/page_http.js"
  -sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=[rapiko_sdl_sound] ${rapiko_page_data_files})
set_property(TARGET rapiko_page APPEND PROPERTY LINK_DEPENDS
             ${PROJECT_SOURCE_DIR}/web/sdl_sound_library.js ${PROJECT_SOURCE_DIR}/web/page_storage.js
             ${PROJECT_SOURCE_DIR}/web/page_http.js
             ${CMAKE_BINARY_DIR}/page_program.js)
set_target_properties(rapiko_page PROPERTIES OUTPUT_NAME rapiko
                      RUNTIME_OUTPUT_DIRECTORY ${RAPIKO_WEB_SITE})
set_property(TARGET rapiko_page APPEND PROPERTY LINK_DEPENDS ${RAPIKO_GAME_FILES}
             ${RAPIKO_WORD_LISTS})

# The page's own texts in each language, from the game's catalogues.
file(GLOB rapiko_po_files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/assets/po/*.po)
add_custom_command(
  OUTPUT ${RAPIKO_WEB_SITE}/page_texts.js
  COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/tools/po_to_page.py
          ${RAPIKO_WEB_SITE}/page_texts.js ${rapiko_po_files}
  DEPENDS ${rapiko_po_files} ${PROJECT_SOURCE_DIR}/tools/po_to_page.py
          ${PROJECT_SOURCE_DIR}/tools/po_to_cpp.py
  VERBATIM)

# The site: the page, its manifest and icons, and the service worker with the
# list of every file to keep.
set(rapiko_page_files index.html page.css page.js manifest.webmanifest sw.js)
list(TRANSFORM rapiko_page_files PREPEND ${PROJECT_SOURCE_DIR}/web/ OUTPUT_VARIABLE rapiko_page_inputs)
list(APPEND rapiko_page_inputs ${RAPIKO_WEB_SITE}/page_texts.js)
string(REPLACE ";" "|" rapiko_icons_arg "${RAPIKO_ICONS}")
# The site's files go compressed too (gzip always; brotli where scripts/install-deps.sh put it).
find_program(RAPIKO_GZIP gzip REQUIRED)
find_program(RAPIKO_BROTLI brotli)
add_custom_command(
  OUTPUT ${RAPIKO_WEB_SITE}/sw.js
  COMMAND ${CMAKE_COMMAND} -DSOURCE=${PROJECT_SOURCE_DIR} -DSITE=${RAPIKO_WEB_SITE}
          "-DICONS=${rapiko_icons_arg}" -DGZIP=${RAPIKO_GZIP} -DBROTLI=$<$<BOOL:${RAPIKO_BROTLI}>:${RAPIKO_BROTLI}>
          -P ${PROJECT_SOURCE_DIR}/cmake/web/site.cmake
  DEPENDS rapiko_page ${rapiko_page_inputs} ${RAPIKO_ICONS}
          ${PROJECT_SOURCE_DIR}/cmake/web/site.cmake
  COMMENT "Making the web site"
  VERBATIM)
add_custom_target(rapiko_site ALL DEPENDS ${RAPIKO_WEB_SITE}/sw.js)
