# Cross-compiles for 64-bit Windows against the Qt for MinGW-w64 that scripts/build-qt-windows.sh
# builds into its cache (TULVO_QT_WINDOWS in the environment names another tree). Qt's own
# toolchain file there loads its copy of cmake/mingw-w64-x86_64.cmake, makes the tree findable
# and uses the host's Qt tools (moc, rcc, uic) of the same version.
if(DEFINED ENV{TULVO_QT_WINDOWS})
  set(tulvo_qt_windows "$ENV{TULVO_QT_WINDOWS}")
else()
  # --print-prefix only computes the cache folder from the Qt version, options and patches.
  execute_process(COMMAND bash "${CMAKE_CURRENT_LIST_DIR}/../scripts/build-qt-windows.sh" --print-prefix
                  OUTPUT_VARIABLE tulvo_qt_windows OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
endif()
if(NOT EXISTS "${tulvo_qt_windows}/.complete")
  message(FATAL_ERROR "No Qt for Windows in ${tulvo_qt_windows}: build it with scripts/build-qt-windows.sh "
                      "(scripts/build-windows.sh does so when it is missing)")
endif()
include("${tulvo_qt_windows}/lib/cmake/Qt6/qt.toolchain.cmake")
