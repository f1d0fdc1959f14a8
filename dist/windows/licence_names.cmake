# Gives every file under DIR a .txt name (LICENSE-assets.md becomes
# LICENSE-assets.txt, FONT-LICENSE FONT-LICENSE.txt), so that Windows opens
# each licence with a text editor:  cmake -DDIR=folder -P licence_names.cmake
file(GLOB_RECURSE files LIST_DIRECTORIES false "${DIR}/*")
foreach(file IN LISTS files)
  get_filename_component(ext "${file}" LAST_EXT)
  if(ext STREQUAL ".txt")
    continue()
  endif()
  if(ext STREQUAL ".md")
    string(REGEX REPLACE "\\.md$" ".txt" renamed "${file}")
  else()
    set(renamed "${file}.txt")
  endif()
  file(RENAME "${file}" "${renamed}")
endforeach()
