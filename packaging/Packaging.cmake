# The release zip for Windows users, made by CPack as a step of the 32-bit build: the
# window, vantorctl and a short README in a folder named after the version.
# The version is the one the programs carry: the version block of the resource script.
file(STRINGS ${PROJECT_SOURCE_DIR}/res/vantor.rc file_version REGEX "^ *FILEVERSION ")
string(REGEX MATCH "[0-9]+,[0-9]+,[0-9]+,[0-9]+" file_version "${file_version}")
string(REPLACE "," "." VANTOR_VERSION "${file_version}")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/res/vantor.rc)
set(VANTOR_PACKAGE_NAME vantor-config-${VANTOR_VERSION}-win32)
set(VANTOR_RELEASE_ZIP ${CMAKE_BINARY_DIR}/${VANTOR_PACKAGE_NAME}.zip)

# Windows users read the README with Notepad, hence Windows line ends.
configure_file(${CMAKE_CURRENT_LIST_DIR}/README.txt ${CMAKE_BINARY_DIR}/release/README.txt @ONLY NEWLINE_STYLE WIN32)
install(TARGETS vantor-config vantorctl RUNTIME DESTINATION . COMPONENT release)
install(FILES ${CMAKE_BINARY_DIR}/release/README.txt DESTINATION . COMPONENT release)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME vantor-config)
set(CPACK_PACKAGE_VERSION ${VANTOR_VERSION})
set(CPACK_PACKAGE_FILE_NAME ${VANTOR_PACKAGE_NAME})
# Only the release component: the test framework's own install rules stay out.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};release;/")
include(CPack)

# With Ninja, cpack only runs the install rules into a folder of its own and zips it
# (no build of its own), so the build can run it once both programs are linked.
add_custom_command(OUTPUT ${VANTOR_RELEASE_ZIP}
  COMMAND ${CMAKE_CPACK_COMMAND} --config ${CMAKE_BINARY_DIR}/CPackConfig.cmake
  DEPENDS vantor-config vantorctl ${CMAKE_BINARY_DIR}/release/README.txt
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
  COMMENT "Packing ${VANTOR_PACKAGE_NAME}.zip")
add_custom_target(release_zip ALL DEPENDS ${VANTOR_RELEASE_ZIP})
