# What every Windows program of the project gets: one self-contained .exe (the GCC runtime,
# libstdc++ and winpthread linked in, so that nothing but Windows' own DLLs is needed), and
# tulvo_windows_resources(target DESCRIPTION text) for its version resource and manifest.
enable_language(RC)
add_link_options(-static -static-libgcc -static-libstdc++ $<$<CONFIG:Release>:-s>)

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

# Programs of a cross build run under wine with a prefix of their own in the build folder (made
# by its first start; scripts/build-windows.sh makes it beforehand), without wine's debug
# chatter and without the offer to install wine's Mono and Gecko.
if(CMAKE_CROSSCOMPILING AND TULVO_WINE)
  set(TULVO_WINEPREFIX "${PROJECT_BINARY_DIR}/wine-prefix")
  set(CMAKE_CROSSCOMPILING_EMULATOR
      env "WINEPREFIX=${TULVO_WINEPREFIX}" WINEDEBUG=-all "WINEDLLOVERRIDES=mscoree,mshtml=" "${TULVO_WINE}")
endif()
