# What the Windows build with Qt adds to cmake/WindowsProgram.cmake:
#  - TULVO_QT_PREFIX, the Qt for Windows tree (scripts/build-qt-windows.sh), TULVO_QT_HAS_SVG, and
#    TULVO_MINGW_RUNTIME_DIRS, the folders of the MinGW-w64 runtime DLLs that Qt's DLLs import
#    (libstdc++, libgcc_s, winpthread: Qt links them dynamically, the programs statically);
#  - TULVO_WINDOWS_ICON, the programs' ICO rendered from data/org.tulvo.tulvo.svg by the target
#    tulvo_windows_icon (rsvg-convert and icotool, Debian's librsvg2-bin and icoutils);
#  - the test runs under wine: Qt's DLLs and the runtime's found on WINEPATH (wine passes no QT_*
#    variable on, so the QtTest programs get the offscreen platform and its plugin's folder as
#    arguments, tests/CMakeLists.txt); the offscreen platform's font database then holds the fonts
#    the programs carry (chart/WindowsFonts.cpp) and nothing of the machine's.
get_filename_component(TULVO_QT_PREFIX "${Qt6_DIR}/../../.." ABSOLUTE)
# Debian's archive has at times had no qt6-svg source: then the tree is marked .no-svg.
find_package(Qt6 QUIET COMPONENTS Svg)
set(TULVO_QT_HAS_SVG ${Qt6Svg_FOUND})

set(TULVO_MINGW_RUNTIME_DIRS)
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND "${CMAKE_CXX_COMPILER}" -print-file-name=${dll}
                  OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
    message(FATAL_ERROR "The MinGW-w64 compiler does not know where ${dll} is")
  endif()
  cmake_path(GET path PARENT_PATH dir)
  list(APPEND TULVO_MINGW_RUNTIME_DIRS "${dir}")
  list(APPEND tulvo_runtime_dlls "${path}")
endforeach()
list(REMOVE_DUPLICATES TULVO_MINGW_RUNTIME_DIRS)

# The icon: the sizes Explorer, the Start menu and the title bar ask for at 100-200 % scaling; the
# largest is kept as PNG inside the ICO (-r), as Windows expects it.
find_program(TULVO_RSVG_CONVERT rsvg-convert REQUIRED)
find_program(TULVO_ICOTOOL icotool REQUIRED)
set(icon_dir "${PROJECT_BINARY_DIR}/windows-icon")
set(TULVO_WINDOWS_ICON "${icon_dir}/tulvo.ico")
set(icon_svg "${PROJECT_SOURCE_DIR}/data/org.tulvo.tulvo.svg")
set(icon_commands)
set(icon_pngs)
foreach(size 16 20 24 32 40 48 64 256)
  list(APPEND icon_commands COMMAND "${TULVO_RSVG_CONVERT}" -w ${size} -h ${size} -o "${icon_dir}/${size}.png" "${icon_svg}")
  if(size EQUAL 256)
    list(APPEND icon_pngs -r "${icon_dir}/${size}.png")
  else()
    list(APPEND icon_pngs "${icon_dir}/${size}.png")
  endif()
endforeach()
add_custom_command(
  OUTPUT "${TULVO_WINDOWS_ICON}"
  COMMAND ${CMAKE_COMMAND} -E make_directory "${icon_dir}"
  ${icon_commands}
  COMMAND "${TULVO_ICOTOOL}" -c -o "${TULVO_WINDOWS_ICON}" ${icon_pngs}
  DEPENDS "${icon_svg}"
  COMMENT "Rendering the Windows icon from ${icon_svg}"
  VERBATIM)
add_custom_target(tulvo_windows_icon DEPENDS "${TULVO_WINDOWS_ICON}")

# Wine finds DLLs on WINEPATH, one folder here: links to Qt's DLLs and the runtime's.
if(CMAKE_CROSSCOMPILING_EMULATOR)
  set(runtime_links "${PROJECT_BINARY_DIR}/wine-runtime")
  file(REMOVE_RECURSE "${runtime_links}")
  file(MAKE_DIRECTORY "${runtime_links}")
  file(GLOB qt_dlls "${TULVO_QT_PREFIX}/bin/*.dll")
  foreach(dll IN LISTS qt_dlls tulvo_runtime_dlls)
    cmake_path(GET dll FILENAME name)
    file(CREATE_LINK "${dll}" "${runtime_links}/${name}" SYMBOLIC)
  endforeach()
  # Wine sees the machine's root as drive Z:.
  list(INSERT CMAKE_CROSSCOMPILING_EMULATOR 1 "WINEPATH=Z:${runtime_links}")
endif()
