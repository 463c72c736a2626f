# GoogleTest built from the source of Debian's googletest package (/usr/src/googletest) for the
# target system of a cross build, under the names find_package(GTest) gives a native build.
set(TULVO_GOOGLETEST_SOURCE "/usr/src/googletest" CACHE PATH "GoogleTest's source, built for cross builds")
if(NOT EXISTS "${TULVO_GOOGLETEST_SOURCE}/CMakeLists.txt")
  message(FATAL_ERROR "No GoogleTest source in ${TULVO_GOOGLETEST_SOURCE} (Debian package googletest)")
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory("${TULVO_GOOGLETEST_SOURCE}" "${PROJECT_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL SYSTEM)
foreach(name gtest gtest_main gmock gmock_main)
  if(NOT TARGET GTest::${name})
    add_library(GTest::${name} ALIAS ${name})
  endif()
endforeach()
