# What the Windows build with Qt adds to cmake/WindowsProgram.cmake:
#  - TULVO_QT_PREFIX, the Qt for Windows tree (scripts/build-qt-windows.sh), and TULVO_QT_HAS_SVG;
#  - Qt's DLLs among TULVO_WINDOWS_DLLS, where the tests under wine and the install step find them
#    (wine passes no QT_* variable on, so the QtTest programs get the offscreen platform and its
#    plugin's folder as arguments, tests/CMakeLists.txt; the offscreen platform's font database then
#    holds the fonts the programs carry, chart/WindowsFonts.cpp, and nothing of the machine's);
#  - TULVO_WINDOWS_ICON, the programs' ICO rendered from data/org.tulvo.tulvo.svg by the target
#    tulvo_windows_icon (rsvg-convert and icotool, Debian's librsvg2-bin and icoutils).
get_filename_component(TULVO_QT_PREFIX "${Qt6_DIR}/../../.." ABSOLUTE)
# Debian's archive has at times had no qt6-svg source: then the tree is marked .no-svg.
find_package(Qt6 QUIET COMPONENTS Svg)
set(TULVO_QT_HAS_SVG ${Qt6Svg_FOUND})

file(GLOB tulvo_qt_dlls "${TULVO_QT_PREFIX}/bin/*.dll")
tulvo_windows_dll_links(${tulvo_qt_dlls})

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
