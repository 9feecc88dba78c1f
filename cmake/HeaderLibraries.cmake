# Header-only libraries from the host's packages, each as an INTERFACE target that any
# program of the tree may link. The cross builds must not search the host's include
# folder as a whole (its C library headers would shadow the target's), so every build
# sees a folder of the build tree that holds only the library's own header folder.

# vantor_header_library(TARGET FOLDER HEADER): FOLDER is the library's folder below the
# host's include folder, HEADER a file in it that identifies the library.
function(vantor_header_library target folder header)
  find_path(${target}_INCLUDE_DIR ${folder}/${header} NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  set(include ${CMAKE_BINARY_DIR}/header-libraries/${target})
  file(MAKE_DIRECTORY ${include})
  file(CREATE_LINK ${${target}_INCLUDE_DIR}/${folder} ${include}/${folder} SYMBOLIC)
  add_library(${target} INTERFACE)
  target_include_directories(${target} SYSTEM INTERFACE ${include})
endfunction()

vantor_header_library(vantor_json nlohmann json.hpp)  # nlohmann-json3-dev
vantor_header_library(vantor_cli11 CLI CLI.hpp)       # libcli11-dev
