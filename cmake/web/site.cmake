# Makes the web site (cmake -DSOURCE=... -DSITE=... -DICONS=a.png|b.png -P site.cmake) beside
# the page's program: the page, its manifest and the icons the game ships
# (cmake/shipped_files.cmake), and the service worker that keeps them all.
foreach(file index.html page.css page.js manifest.webmanifest)
  configure_file(${SOURCE}/web/${file} ${SITE}/${file} COPYONLY)
endforeach()
string(REPLACE "|" ";" icons "${ICONS}")
file(COPY ${icons} DESTINATION ${SITE}/icons)

# Every file the page loads, and a cache name that changes with their bytes,
# so that a new build replaces the copy a player's browser keeps.
set(files index.html page.css page.js manifest.webmanifest rapiko.js rapiko.wasm rapiko.data)
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
