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
configure_file(${VANTOR_RES_DIR}/vantor.manifest.in ${VANTOR_RES_BUILD_DIR}/vantor-build.manifest @ONLY)
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
