# Checks the release zip: the two programs and the README, nothing else, in a folder
# named like the zip; both programs 32-bit, importing only DLLs that come with Windows,
# made for Windows 7 SP1 on (their headers' OS and subsystem versions) and carrying a
# manifest that keeps them from being virtualised and names the Windows versions they are
# made for; the window's also asks for common controls 6.
#   cmake -D ZIP=<zip> -D OBJDUMP=<mingw objdump> -D WORK=<empty folder to unpack into> -P CheckReleaseZip.cmake
cmake_minimum_required(VERSION 3.20)
# objdump's words are read below: untranslated, whatever the caller's language (the
# Windows tests run in a Chinese one).
set(ENV{LC_ALL} C)

set(windows_dlls advapi32 comctl32 comdlg32 gdi32 imm32 kernel32 msvcrt ole32 oleaut32 setupapi shell32 shlwapi
    user32 uxtheme version winmm ws2_32)

get_filename_component(folder ${ZIP} NAME_WLE)
execute_process(COMMAND ${CMAKE_COMMAND} -E tar tf ${ZIP} OUTPUT_VARIABLE listing RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "cannot list ${ZIP}")
endif()
string(STRIP "${listing}" listing)
string(REPLACE "\n" ";" entries "${listing}")
list(FILTER entries EXCLUDE REGEX "/$")
list(SORT entries)
set(expected ${folder}/README.txt ${folder}/vantor-config.exe ${folder}/vantorctl.exe)
if(NOT entries STREQUAL expected)
  message(FATAL_ERROR "${ZIP} holds\n  ${entries}\nnot\n  ${expected}")
endif()

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf ${ZIP} WORKING_DIRECTORY ${WORK} RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "cannot unpack ${ZIP}")
endif()
file(READ ${WORK}/${folder}/README.txt readme)
if(NOT readme MATCHES "adapter" OR NOT readme MATCHES "driver")
  message(FATAL_ERROR "README.txt does not say what the tool needs:\n${readme}")
endif()

# The lines of `program`'s manifest that say what it must: the manifest is plain text in
# the program's resources.
function(check_manifest program)
  set(wanted "<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>"
      "<supportedOS Id=\"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}\"/>"   # Windows 7
      "<supportedOS Id=\"{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}\"/>"   # Windows 8
      "<supportedOS Id=\"{1f676c76-80e1-4239-95bb-83d0f6d0da78}\"/>"   # Windows 8.1
      "<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>")  # Windows 10 and 11
  if(program STREQUAL "vantor-config.exe")
    list(APPEND wanted "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"")
  endif()
  file(STRINGS ${WORK}/${folder}/${program} lines REGEX "requestedExecutionLevel|supportedOS|Common-Controls")
  string(JOIN "\n" manifest ${lines})
  foreach(line IN LISTS wanted)
    string(FIND "${manifest}" "${line}" found)
    if(found EQUAL -1)
      message(FATAL_ERROR "${program}'s manifest lacks ${line}")
    endif()
  endforeach()
endfunction()

foreach(program vantor-config.exe vantorctl.exe)
  execute_process(COMMAND ${OBJDUMP} -p ${WORK}/${folder}/${program} OUTPUT_VARIABLE headers RESULT_VARIABLE failed)
  if(failed OR NOT headers MATCHES "file format pei-i386")
    message(FATAL_ERROR "${program} is not a 32-bit Windows program")
  endif()
  foreach(field MajorOSystemVersion MinorOSystemVersion MajorSubsystemVersion MinorSubsystemVersion)
    string(REGEX MATCH "${field}[ \t]+[0-9]+" version "${headers}")
    string(REGEX REPLACE ".*[ \t]" "" version "${version}")
    list(APPEND versions ${version})
  endforeach()
  if(NOT versions STREQUAL "6;1;6;1")
    message(FATAL_ERROR "${program} is made for OS and subsystem versions ${versions}, not those of Windows 7 (6.1)")
  endif()
  unset(versions)
  check_manifest(${program})
  string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${headers}")
  string(REPLACE "DLL Name: " "" imports "${imports}")
  if(NOT imports)
    message(FATAL_ERROR "${program} lists no imported DLL")
  endif()
  foreach(import ${imports})
    string(TOLOWER "${import}" dll)
    string(REGEX REPLACE "\\.dll$" "" dll "${dll}")
    if(NOT dll IN_LIST windows_dlls)
      message(FATAL_ERROR "${program} needs ${import}, which does not come with Windows")
    endif()
  endforeach()
  message(STATUS "${program} imports ${imports}")
endforeach()
file(REMOVE_RECURSE ${WORK})
