# The files the game ships, listed once. The build puts the default game files
# and the word lists beside the program (src/); the install rules here install
# them all, and so does the .deb, which packs what they install (dist/); the
# Windows zip and installer stage them (dist/windows/); the web page preloads
# the game files and lists and serves the icons (cmake/web.cmake).
set(rapiko_assets ${PROJECT_SOURCE_DIR}/assets)
# The default game files a new game folder is seeded with.
set(RAPIKO_GAME_FILES ${rapiko_assets}/back.bmp ${rapiko_assets}/rapdata.ini)
# The practice word lists, in words/ beside the game files.
file(GLOB RAPIKO_WORD_LISTS CONFIGURE_DEPENDS ${rapiko_assets}/words/*.ini)
# The game's own licences (on Windows, those of the libraries linked in join them).
set(RAPIKO_LICENCES ${PROJECT_SOURCE_DIR}/LICENSE ${rapiko_assets}/LICENSE-assets.md
    ${rapiko_assets}/FONT-LICENSE ${rapiko_assets}/SCOWL-LICENSE)
# The icon at every size: the desktops take four, the web page all of them.
set(RAPIKO_DESKTOP_ICON_SIZES 48 64 128 256)
set(RAPIKO_ICONS)
foreach(size 48 64 128 192 256 512)
  list(APPEND RAPIKO_ICONS ${rapiko_assets}/icons/rapiko-${size}.png)
endforeach()
# The desktop entry, the AppStream metadata and the manual page.
set(RAPIKO_APP_ID io.github.rapiko.Rapiko)
set(RAPIKO_DESKTOP_ENTRY ${PROJECT_SOURCE_DIR}/dist/${RAPIKO_APP_ID}.desktop)
set(RAPIKO_METAINFO ${PROJECT_SOURCE_DIR}/dist/${RAPIKO_APP_ID}.metainfo.xml)
set(RAPIKO_MANUAL ${PROJECT_SOURCE_DIR}/dist/rapiko.6)

# rapiko_copy_game_files(OUT DIR): in OUT, the custom-command lines that copy
# the default game files into DIR and the word lists into DIR/words.
function(rapiko_copy_game_files out dir)
  set(${out}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}/words
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${RAPIKO_GAME_FILES} ${dir}
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${RAPIKO_WORD_LISTS} ${dir}/words
      PARENT_SCOPE)
endfunction()

# The install rules of the program and every file it ships; the .deb packs
# what they install.
function(rapiko_install_shipped_files)
  install(TARGETS rapiko RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${RAPIKO_GAME_FILES} DESTINATION ${RAPIKO_INSTALL_DATA_DIR})
  install(FILES ${RAPIKO_WORD_LISTS} DESTINATION ${RAPIKO_INSTALL_DATA_DIR}/words)
  install(FILES ${RAPIKO_LICENCES} DESTINATION ${CMAKE_INSTALL_DOCDIR})
  foreach(size IN LISTS RAPIKO_DESKTOP_ICON_SIZES)
    install(FILES ${rapiko_assets}/icons/rapiko-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME rapiko.png)
  endforeach()
  if(NOT RAPIKO_PLATFORM STREQUAL "windows")
    install(FILES ${RAPIKO_DESKTOP_ENTRY} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${RAPIKO_METAINFO} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    install(FILES ${RAPIKO_MANUAL} DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
  endif()
endfunction()
