# What every Windows program of the project gets: tulvo_windows_resources(target DESCRIPTION text)
# for its version resource and manifest, and its symbols stripped in a release build. The programs
# load the MinGW-w64 C and C++ runtime from its DLLs (libstdc++-6, libgcc_s_seh-1, libwinpthread-1),
# as Qt's DLLs do, so that a process holds one runtime; tulvo-cli.exe alone links it in, to be one
# file (CMakeLists.txt).
enable_language(RC)
add_link_options($<$<CONFIG:Release>:-s>)

set(TULVO_WINDOWS_RESOURCES "${CMAKE_CURRENT_LIST_DIR}/windows")

# Embeds in the program target a version resource with the project's version and the manifest
# that makes the ANSI code page UTF-8 (Windows 10 1903 and later) and allows paths beyond
# MAX_PATH where the system allows them. ICON names an .ico file to embed as the program's icon
# (IDI_ICON1, which Qt's windows platform also takes as the windows' icon).
function(tulvo_windows_resources target)
  cmake_parse_arguments(ARG "" "DESCRIPTION;ICON" "" ${ARGN})
  set(TULVO_RC_ICON "")
  if(ARG_ICON)
    set(TULVO_RC_ICON "IDI_ICON1 ICON \"${ARG_ICON}\"")
  endif()
  get_target_property(output_name ${target} OUTPUT_NAME)
  if(NOT output_name)
    set(output_name ${target})
  endif()
  set(TULVO_RC_NAME "${output_name}")
  set(TULVO_RC_DESCRIPTION "${ARG_DESCRIPTION}")
  set(TULVO_RC_MANIFEST "${CMAKE_CURRENT_BINARY_DIR}/${target}.manifest")
  configure_file("${TULVO_WINDOWS_RESOURCES}/program.manifest.in" "${TULVO_RC_MANIFEST}" @ONLY)
  set(rc "${CMAKE_CURRENT_BINARY_DIR}/${target}.rc")
  configure_file("${TULVO_WINDOWS_RESOURCES}/program.rc.in" "${rc}" @ONLY)
  target_sources(${target} PRIVATE "${rc}")
  set_property(SOURCE "${rc}" APPEND PROPERTY OBJECT_DEPENDS "${TULVO_RC_MANIFEST}" ${ARG_ICON})
endfunction()

# TULVO_WINDOWS_DLLS: links to the DLLs the programs may load besides Windows' own, the MinGW-w64
# runtime's folders' here and Qt's (cmake/WindowsQt.cmake), each under its name in lowercase as
# Windows matches DLL names whatever their case: the tests' DLL folder under wine, and the folder in
# which the install step resolves the programs' imports (data/windows/Windows.cmake).
set(TULVO_WINDOWS_DLLS "${PROJECT_BINARY_DIR}/windows-dlls")
file(REMOVE_RECURSE "${TULVO_WINDOWS_DLLS}")
file(MAKE_DIRECTORY "${TULVO_WINDOWS_DLLS}")
function(tulvo_windows_dll_links)
  foreach(dll IN LISTS ARGN)
    cmake_path(GET dll FILENAME name)
    string(TOLOWER "${name}" name)
    file(CREATE_LINK "${dll}" "${TULVO_WINDOWS_DLLS}/${name}" SYMBOLIC)
  endforeach()
endfunction()
# The folders of the runtime's DLLs, as the compiler knows them.
function(tulvo_windows_runtime_links)
  foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND "${CMAKE_CXX_COMPILER}" -print-file-name=${dll} OUTPUT_VARIABLE path
                    OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
      message(FATAL_ERROR "The MinGW-w64 compiler does not know where ${dll} is")
    endif()
    cmake_path(GET path PARENT_PATH folder)
    file(REAL_PATH "${folder}" folder)
    list(APPEND folders "${folder}")
  endforeach()
  list(REMOVE_DUPLICATES folders)
  foreach(folder IN LISTS folders)
    file(GLOB dlls "${folder}/*.dll")
    tulvo_windows_dll_links(${dlls})
  endforeach()
endfunction()
tulvo_windows_runtime_links()

# Programs of a cross build run under wine with a prefix of their own in the build folder (made
# by its first start; scripts/build-windows.sh makes it beforehand), the DLLs above on WINEPATH
# (wine sees the machine's root as drive Z:), without wine's debug chatter and without the offer
# to install wine's Mono and Gecko. TULVO_WINE_ENVIRONMENT is that environment, for tests that
# start wine themselves.
if(CMAKE_CROSSCOMPILING AND TULVO_WINE)
  set(TULVO_WINEPREFIX "${PROJECT_BINARY_DIR}/wine-prefix")
  set(TULVO_WINE_ENVIRONMENT "WINEPREFIX=${TULVO_WINEPREFIX}" "WINEPATH=Z:${TULVO_WINDOWS_DLLS}"
                             WINEDEBUG=-all "WINEDLLOVERRIDES=mscoree,mshtml=")
  set(CMAKE_CROSSCOMPILING_EMULATOR env ${TULVO_WINE_ENVIRONMENT} "${TULVO_WINE}")
endif()
