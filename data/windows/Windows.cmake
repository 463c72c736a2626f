# What the Windows folder of the programs holds besides them, the install rules, and the two
# Windows packages (CPack): tulvo-<version>-win64-setup.exe, a 64-bit NSIS installer, and
# tulvo-<version>-win64.zip for use without installing. Included by data/CMakeLists.txt when
# building for Windows; the Linux desktop files, manual pages and the Debian package stay Linux's.
#
# The folder: bin/ with tulvo.exe, tulvo-cli.exe, tulvo-plot.exe, the Qt and MinGW-w64 runtime
# DLLs they import and the Qt plugins loaded at run time; LICENSE.txt, README.txt, and notices/
# with the licences of the redistributed parts.

set(windows_bin bin)
install(TARGETS tulvo tulvo-cli RUNTIME DESTINATION ${windows_bin})
if(TARGET tulvo-plot)
  install(TARGETS tulvo-plot RUNTIME DESTINATION ${windows_bin})
endif()

# The plugins Qt loads at run time that the programs need, in their folders beside the programs
# (where Qt looks first): the windows platform, the offscreen one that tulvo-plot draws on without a
# window, the native style, the image formats of the pictures and the icon, and the SVG icon engine
# where Qt has its SVG module.
set(plugin_files)
function(tulvo_install_qt_plugins folder)
  install(IMPORTED_RUNTIME_ARTIFACTS ${ARGN} LIBRARY DESTINATION ${windows_bin}/${folder})
  foreach(plugin IN LISTS ARGN)
    list(APPEND plugin_files "$<TARGET_FILE:${plugin}>")
  endforeach()
  set(plugin_files "${plugin_files}" PARENT_SCOPE)
endfunction()
tulvo_install_qt_plugins(platforms Qt6::QWindowsIntegrationPlugin Qt6::QOffscreenIntegrationPlugin)
tulvo_install_qt_plugins(styles Qt6::QWindowsVistaStylePlugin)
tulvo_install_qt_plugins(imageformats Qt6::QICOPlugin)
if(TULVO_QT_HAS_SVG)
  tulvo_install_qt_plugins(imageformats Qt6::QSvgPlugin)
  tulvo_install_qt_plugins(iconengines Qt6::QSvgIconPlugin)
endif()

# The DLLs the programs and the plugins import (windows/InstallDlls.cmake).
set(windows_programs $<TARGET_FILE:tulvo> $<TARGET_FILE:tulvo-cli>)
if(TARGET tulvo-plot)
  list(APPEND windows_programs $<TARGET_FILE:tulvo-plot>)
endif()
install(CODE "
  set(TULVO_PROGRAMS [==[${windows_programs}]==])
  set(TULVO_PLUGINS [==[${plugin_files}]==])
  set(TULVO_DLLS [==[${TULVO_WINDOWS_DLLS}]==])
  set(TULVO_BIN ${windows_bin})
  set(TULVO_OBJDUMP [==[${CMAKE_OBJDUMP}]==])
  set(TULVO_STRIP [==[${CMAKE_STRIP}]==])")
install(SCRIPT windows/InstallDlls.cmake)

# The notices: the project's licence; Qt's LGPL-3 (which builds on the GPL-3) with where Qt's source
# and this build's changes to it come from; the GCC runtime library exception and the MinGW-w64
# runtime's licences (winpthreads among them), as Debian ships them with the compilers; the
# licence of the DejaVu fonts.
# The Debian source versions Qt was built from: those of the host's Qt packages, whose source
# scripts/setup.sh --windows fetches.
function(tulvo_debian_version package variable)
  execute_process(COMMAND dpkg-query -W "-f=\${Version}" ${package}
                  OUTPUT_VARIABLE version OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  set(${variable} "${version}" PARENT_SCOPE)
endfunction()
set(TULVO_QT_VERSION "${Qt6_VERSION}")
tulvo_debian_version(qt6-base-dev TULVO_QT_BASE_SOURCE)
set(TULVO_QT_SOURCES "  qt6-base ${TULVO_QT_BASE_SOURCE}")
if(TULVO_QT_HAS_SVG)
  tulvo_debian_version(qt6-svg-dev TULVO_QT_SVG_SOURCE)
  string(APPEND TULVO_QT_SOURCES "\n  qt6-svg ${TULVO_QT_SVG_SOURCE}")
endif()
set(notices "${CMAKE_CURRENT_BINARY_DIR}/notices")
file(MAKE_DIRECTORY "${notices}")
configure_file(windows/README.txt.in "${notices}/README.txt" @ONLY NEWLINE_STYLE CRLF)
configure_file(windows/Qt.txt.in "${notices}/Qt.txt" @ONLY NEWLINE_STYLE CRLF)
configure_file("${PROJECT_SOURCE_DIR}/LICENSE" "${notices}/LICENSE.txt" @ONLY NEWLINE_STYLE CRLF)
install(FILES "${notices}/LICENSE.txt" "${notices}/README.txt" DESTINATION .)
install(FILES "${notices}/Qt.txt" DESTINATION notices)
install(FILES /usr/share/common-licenses/LGPL-3 RENAME Qt-LGPL-3.txt DESTINATION notices)
install(FILES /usr/share/common-licenses/GPL-3 RENAME Qt-GPL-3.txt DESTINATION notices)
install(FILES /usr/share/doc/gcc-mingw-w64-base/copyright RENAME GCC-runtime.txt DESTINATION notices)
install(FILES /usr/share/doc/mingw-w64-x86-64-dev/copyright RENAME MinGW-w64-runtime.txt DESTINATION notices)
# The fonts built into tulvo.exe and tulvo-plot.exe (chart/WindowsFonts.cpp).
install(FILES /usr/share/doc/fonts-dejavu-core/copyright RENAME DejaVu-fonts.txt DESTINATION notices)

# The packages. The values reach CPack as written (backslashes of Windows paths and NSIS commands
# included).
set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_GENERATOR NSIS ZIP)
set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VENDOR "Tulvo developers")
set(CPACK_PACKAGE_INSTALL_DIRECTORY Tulvo)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Tulvo)
set(CPACK_STRIP_FILES ON)
set(CPACK_RESOURCE_FILE_LICENSE "${notices}/LICENSE.txt")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_PROJECT_CONFIG_FILE "${CMAKE_CURRENT_SOURCE_DIR}/windows/PackageNames.cmake")
set(CPACK_NSIS_PACKAGE_NAME Tulvo)
set(CPACK_NSIS_DISPLAY_NAME Tulvo)
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
# A 64-bit installer (makensis makes a 32-bit one by default). CPack joins these arguments into one
# command line and splits it again at spaces: the escaped space keeps the directive one argument.
set(CPACK_NSIS_EXECUTABLE_PRE_ARGUMENTS [=[-XTarget\ amd64-unicode]=])
set(CPACK_NSIS_MUI_ICON "${TULVO_WINDOWS_ICON}")
set(CPACK_NSIS_MUI_UNIICON "${TULVO_WINDOWS_ICON}")
set(CPACK_NSIS_INSTALLED_ICON_NAME "bin\\tulvo.exe")
set(CPACK_NSIS_URL_INFO_ABOUT "${TULVO_HOMEPAGE}")
set(CPACK_NSIS_MANIFEST_DPI_AWARE ON)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
# The Start menu entry "Tulvo"; tulvo-cli joins PATH only when the installer's page is told to.
set(CPACK_PACKAGE_EXECUTABLES tulvo Tulvo)
set(CPACK_NSIS_MODIFY_PATH ON)
# Spectrum files open in tulvo; recordings get "Open with Tulvo" without a change of their program.
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS [=[
  WriteRegStr HKLM "Software\Classes\.spm" "" "Tulvo.Spectrum"
  WriteRegStr HKLM "Software\Classes\Tulvo.Spectrum" "" "Tulvo spectrum"
  WriteRegStr HKLM "Software\Classes\Tulvo.Spectrum\DefaultIcon" "" "$INSTDIR\bin\tulvo.exe,0"
  WriteRegStr HKLM "Software\Classes\Tulvo.Spectrum\shell\open\command" "" '"$INSTDIR\bin\tulvo.exe" "%1"'
  WriteRegStr HKLM "Software\Classes\SystemFileAssociations\.wav\shell\Tulvo" "" "Open with Tulvo"
  WriteRegStr HKLM "Software\Classes\SystemFileAssociations\.wav\shell\Tulvo\command" "" '"$INSTDIR\bin\tulvo.exe" "%1"'
  WriteRegStr HKLM "Software\Classes\Applications\tulvo.exe" "FriendlyAppName" "Tulvo"
  WriteRegStr HKLM "Software\Classes\Applications\tulvo.exe\shell\open\command" "" '"$INSTDIR\bin\tulvo.exe" "%1"'
  WriteRegStr HKLM "Software\Classes\Applications\tulvo.exe\SupportedTypes" ".spm" ""
  WriteRegStr HKLM "Software\Classes\Applications\tulvo.exe\SupportedTypes" ".wav" ""
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
]=])
set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS [=[
  ReadRegStr $0 HKLM "Software\Classes\.spm" ""
  StrCmp $0 "Tulvo.Spectrum" 0 +2
    DeleteRegKey HKLM "Software\Classes\.spm"
  DeleteRegKey HKLM "Software\Classes\Tulvo.Spectrum"
  DeleteRegKey HKLM "Software\Classes\SystemFileAssociations\.wav\shell\Tulvo"
  DeleteRegKey /ifempty HKLM "Software\Classes\SystemFileAssociations\.wav\shell"
  DeleteRegKey /ifempty HKLM "Software\Classes\SystemFileAssociations\.wav"
  DeleteRegKey HKLM "Software\Classes\Applications\tulvo.exe"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
]=])
# The installer's own key (the install folder), which CPack's uninstaller deletes after these
# commands, goes here already, so that the publisher's key above it goes too when it is then empty.
string(APPEND CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS
  "  DeleteRegKey SHCTX \"Software\\${CPACK_PACKAGE_VENDOR}\\${CPACK_PACKAGE_INSTALL_REGISTRY_KEY}\"\n"
  "  DeleteRegKey /ifempty SHCTX \"Software\\${CPACK_PACKAGE_VENDOR}\"\n")
include(CPack)
