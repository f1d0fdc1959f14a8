# The checks of a port (windows, web) that the Linux test programs make: the
# golden games, and for Windows the real window, are run by the Linux build
# of the same sources (the default preset's build/, made first) with the game
# they start replaced by the port's (RAPIKO_PROGRAM).
enable_testing()
set(rapiko_host_build ${PROJECT_SOURCE_DIR}/build)
add_test(NAME Port.LinuxTestPrograms
         COMMAND sh -c "env -u CC -u CXX ${CMAKE_COMMAND} --preset default >/dev/null && ${CMAKE_COMMAND} --build --preset default --target test_golden test_e2e_window"
         WORKING_DIRECTORY ${PROJECT_SOURCE_DIR})
set_tests_properties(Port.LinuxTestPrograms PROPERTIES FIXTURES_SETUP linux_tests TIMEOUT 3600)

if(RAPIKO_PLATFORM STREQUAL "windows")
  # Under Wine, in a prefix of their own: the golden games, a real window,
  # the zip, the installer and the uninstaller.
  add_test(NAME Port.WindowsUnderWine
           COMMAND ${PROJECT_SOURCE_DIR}/scripts/test-windows.sh ${CMAKE_BINARY_DIR} ${rapiko_host_build})
  set_tests_properties(Port.WindowsUnderWine PROPERTIES FIXTURES_REQUIRED linux_tests
                       RUN_SERIAL TRUE TIMEOUT 3600)
  # Rounds on the real online ranking's server (of the Linux build), each player in a Wine
  # prefix of its own (the round typed in a real window is the Linux game's: e2e).
  add_test(NAME Port.OnlineUnderWine
           COMMAND ctest --test-dir ${rapiko_host_build} -L online -LE e2e --output-on-failure)
  set_tests_properties(Port.OnlineUnderWine PROPERTIES FIXTURES_REQUIRED linux_tests RUN_SERIAL TRUE
    ENVIRONMENT "RAPIKO_PROGRAM=${PROJECT_SOURCE_DIR}/scripts/wine.sh $<TARGET_FILE:rapiko>" TIMEOUT 900)
else()
  # Every golden game through the Node program, byte for byte.
  add_test(NAME Port.GoldenGamesUnderNode
           COMMAND ctest --test-dir ${rapiko_host_build} -L golden --output-on-failure -j 2)
  set_tests_properties(Port.GoldenGamesUnderNode PROPERTIES FIXTURES_REQUIRED linux_tests
    ENVIRONMENT "RAPIKO_PROGRAM=node $<TARGET_FILE:rapiko>" TIMEOUT 3600)
  # Rounds on the real online ranking's server (of the Linux build) through the Node program
  # (the round typed in a real window is the Linux game's: e2e).
  add_test(NAME Port.OnlineUnderNode
           COMMAND ctest --test-dir ${rapiko_host_build} -L online -LE e2e --output-on-failure)
  set_tests_properties(Port.OnlineUnderNode PROPERTIES FIXTURES_REQUIRED linux_tests
    ENVIRONMENT "RAPIKO_PROGRAM=node $<TARGET_FILE:rapiko>" TIMEOUT 900)
  # The page in headless Chromium (tests/web/, its Node packages from its lock file).
  add_test(NAME Port.NodePackages
           COMMAND sh -c "[ tests/web/node_modules/.package-lock.json -nt tests/web/package-lock.json ] || npm ci --prefix tests/web --no-audit --no-fund"
           WORKING_DIRECTORY ${PROJECT_SOURCE_DIR})
  set_tests_properties(Port.NodePackages PROPERTIES FIXTURES_SETUP node_packages)
  add_test(NAME Port.PageInChromium COMMAND node --test ${PROJECT_SOURCE_DIR}/tests/web/
           WORKING_DIRECTORY ${PROJECT_SOURCE_DIR})
  set_tests_properties(Port.PageInChromium PROPERTIES FIXTURES_REQUIRED node_packages
    ENVIRONMENT "RAPIKO_WEB_BUILD=${CMAKE_BINARY_DIR}" RUN_SERIAL TRUE TIMEOUT 3600)
endif()
