# Makes the web site (cmake -DSOURCE=... -DSITE=... -DICONS=a.png|b.png -DGZIP=... [-DBROTLI=...]
# -P site.cmake) beside the page's program: the page, its manifest and the icons the game ships
# (cmake/shipped_files.cmake), the service worker that keeps them all, and each file that
# compresses also compressed (FILE.gz, and FILE.br where brotli is installed), as the server
# sends it to a browser that takes it (scripts/serve_site.mjs).
foreach(file index.html page.css page.js manifest.webmanifest)
  configure_file(${SOURCE}/web/${file} ${SITE}/${file} COPYONLY)
endforeach()
string(REPLACE "|" ";" icons "${ICONS}")
file(COPY ${icons} DESTINATION ${SITE}/icons)

# Every file the page loads, and a cache name that changes with their bytes,
# so that a new build replaces the copy a player's browser keeps.
set(files index.html page.css page.js page_texts.js manifest.webmanifest rapiko.js rapiko.wasm
          rapiko.data)
foreach(icon IN LISTS icons)
  get_filename_component(name ${icon} NAME)
  list(APPEND files icons/${name})
endforeach()
set(digests "")
set(list "\"./\"")
foreach(file IN LISTS files)
  if(NOT EXISTS ${SITE}/${file})
    message(FATAL_ERROR "the site lacks ${file}")
  endif()
  file(SHA256 ${SITE}/${file} digest)
  string(APPEND digests "${digest}")
  string(APPEND list ", \"${file}\"")
endforeach()
string(SHA256 version "${digests}")
string(SUBSTRING ${version} 0 16 version)
set(RAPIKO_CACHE "rapiko-${version}")
set(RAPIKO_FILES "[${list}]")
configure_file(${SOURCE}/web/sw.js ${SITE}/sw.js @ONLY)

# Compressed once here rather than at each request: at the strongest levels, without names or
# times in the .gz, so that a build gives the same bytes. The icons are PNG, compressed already.
foreach(file IN LISTS files ITEMS sw.js)
  if(file MATCHES "\\.png$")
    continue()
  endif()
  execute_process(COMMAND ${GZIP} -9 -n -f -k ${SITE}/${file} COMMAND_ERROR_IS_FATAL ANY)
  if(BROTLI)
    execute_process(COMMAND ${BROTLI} -q 11 -f -k ${SITE}/${file} COMMAND_ERROR_IS_FATAL ANY)
  else()
    file(REMOVE ${SITE}/${file}.br)  # never an old build's
  endif()
endforeach()
