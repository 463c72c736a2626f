# Run at install time (cmake --install, CPack): installs into TULVO_BIN below the install prefix the
# DLLs that the programs and Qt's plugins there import, directly or through another DLL, found in
# the folder TULVO_DLLS (links to Qt's and the MinGW-w64 runtime's DLLs under lowercase names, as
# the resolution lowercases imported names), each under its own name; strips every DLL of the
# folder, Qt's plugins among them. Windows' own DLLs stay Windows'; any other import fails the
# install with its name.
#
# Expects: TULVO_PROGRAMS and TULVO_PLUGINS (lists of the files to read), TULVO_DLLS, TULVO_BIN,
# TULVO_OBJDUMP and TULVO_STRIP (the MinGW-w64 tools).
set(CMAKE_GET_RUNTIME_DEPENDENCIES_PLATFORM windows+pe)
set(CMAKE_GET_RUNTIME_DEPENDENCIES_TOOL objdump)
set(CMAKE_GET_RUNTIME_DEPENDENCIES_COMMAND "${TULVO_OBJDUMP}")
file(GET_RUNTIME_DEPENDENCIES
  EXECUTABLES ${TULVO_PROGRAMS}
  MODULES ${TULVO_PLUGINS}
  DIRECTORIES "${TULVO_DLLS}"
  PRE_EXCLUDE_REGEXES
    "^api-ms-win-" "^ext-ms-"
    "^(advapi32|authz|comctl32|comdlg32|crypt32|d2d1|d3d9|d3d11|d3d12|dcomp|dwmapi|dwrite|dxgi)\\.dll$"
    "^(gdi32|imm32|kernel32|mpr|msvcrt|netapi32|ntdll|ole32|oleaut32|setupapi|shcore|shell32)\\.dll$"
    "^(secur32|shlwapi|user32|userenv|uxtheme|version|winmm|ws2_32|wtsapi32)\\.dll$"
  RESOLVED_DEPENDENCIES_VAR dlls
  UNRESOLVED_DEPENDENCIES_VAR unknown)
if(unknown)
  string(REPLACE ";" ", " unknown "${unknown}")
  message(FATAL_ERROR "Imported by the programs or Qt's plugins, found neither among Qt's and the "
                      "MinGW-w64 runtime's DLLs nor among Windows' own: ${unknown}")
endif()
set(bin "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${TULVO_BIN}")
foreach(link IN LISTS dlls)
  file(REAL_PATH "${link}" dll)
  file(INSTALL "${dll}" DESTINATION "${bin}")
endforeach()
file(GLOB_RECURSE copies "${bin}/*.dll")
foreach(copy IN LISTS copies)
  execute_process(COMMAND "${TULVO_STRIP}" --strip-unneeded "${copy}" COMMAND_ERROR_IS_FATAL ANY)
endforeach()
