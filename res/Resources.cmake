# vantor_add_resources(target): compiles the resource script into the program (resources
# in a static library would be dropped at link time). The manifest names the program's
# processor: X86 for the 32-bit product, amd64 for the 64-bit build.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(VANTOR_MANIFEST_PROCESSOR amd64)
else()
  set(VANTOR_MANIFEST_PROCESSOR X86)
endif()
set(VANTOR_RES_DIR ${CMAKE_CURRENT_LIST_DIR})
set(VANTOR_RES_BUILD_DIR ${CMAKE_BINARY_DIR}/res)

# vantor_write_manifest(FILE NAME DESCRIPTION [WINDOW]): writes the manifest of a program
# for the build's processor: it runs as invoked and names the Windows versions it is
# made for; WINDOW adds what a window needs (common controls 6, the display's scale).
function(vantor_write_manifest file manifest_name manifest_description)
  set(manifest_window_part "")
  if(ARGN STREQUAL "WINDOW")
    file(READ ${VANTOR_RES_DIR}/window.manifest-part part)
    string(CONFIGURE "${part}" manifest_window_part @ONLY)
  endif()
  configure_file(${VANTOR_RES_DIR}/program.manifest.in ${file} @ONLY)
endfunction()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${VANTOR_RES_DIR}/window.manifest-part)
vantor_write_manifest(${VANTOR_RES_BUILD_DIR}/vantor-build.manifest Vantor.Config
                      "Vantor Config: keyboard and mouse profiles of the adapter" WINDOW)
# Every language is a resource file of its own in languages/: the script includes them all.
file(GLOB VANTOR_LANGUAGES CONFIGURE_DEPENDS ${VANTOR_RES_DIR}/languages/*.rc)
set(language_includes "")
foreach(language ${VANTOR_LANGUAGES})
  file(RELATIVE_PATH language ${VANTOR_RES_DIR} ${language})
  string(APPEND language_includes "#include \"${language}\"\n")
endforeach()
file(CONFIGURE OUTPUT ${VANTOR_RES_BUILD_DIR}/vantor-languages.rc CONTENT "${language_includes}")

function(vantor_add_resources target)
  target_sources(${target} PRIVATE ${VANTOR_RES_DIR}/vantor.rc)
  target_include_directories(${target} PRIVATE ${VANTOR_RES_DIR} ${VANTOR_RES_BUILD_DIR})
  # windres reports no dependencies of its own.
  file(GLOB_RECURSE pictures ${VANTOR_RES_DIR}/*.bmp ${VANTOR_RES_DIR}/*.ico)
  set_source_files_properties(${VANTOR_RES_DIR}/vantor.rc TARGET_DIRECTORY ${target} PROPERTIES
    OBJECT_DEPENDS "${pictures};${VANTOR_LANGUAGES};${VANTOR_RES_DIR}/resource.h;${VANTOR_RES_BUILD_DIR}/vantor-build.manifest;${VANTOR_RES_BUILD_DIR}/vantor-languages.rc")
endfunction()
