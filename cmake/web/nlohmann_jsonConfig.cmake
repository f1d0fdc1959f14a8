# nlohmann-json for the web builds: the machine's headers, and nothing else of its /usr/include.
if(NOT TARGET nlohmann_json::nlohmann_json)
  find_path(rapiko_nlohmann_include nlohmann/json.hpp PATHS /usr/include /usr/local/include
            NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
  if(NOT rapiko_nlohmann_include)
    message(FATAL_ERROR "nlohmann/json.hpp not found (Debian: nlohmann-json3-dev)")
  endif()
  set(rapiko_nlohmann_copy ${CMAKE_BINARY_DIR}/nlohmann-include)
  file(MAKE_DIRECTORY ${rapiko_nlohmann_copy})
  file(CREATE_LINK ${rapiko_nlohmann_include}/nlohmann ${rapiko_nlohmann_copy}/nlohmann SYMBOLIC)
  add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
  set_target_properties(nlohmann_json::nlohmann_json PROPERTIES
                        INTERFACE_INCLUDE_DIRECTORIES ${rapiko_nlohmann_copy})
endif()
set(nlohmann_json_FOUND TRUE)
