# The web builds' nlohmann-json is the machine's (Debian: nlohmann-json3-dev), and so is its version.
include(/usr/share/cmake/nlohmann_json/nlohmann_jsonConfigVersion.cmake OPTIONAL
        RESULT_VARIABLE rapiko_nlohmann_version_file)
if(NOT rapiko_nlohmann_version_file)
  set(PACKAGE_VERSION_UNSUITABLE TRUE)
endif()
