# The libraries of the results database, one name each for every build:
#   tulvo::sqlite  SQLite 3, the database file of a station;
#   tulvo::nettle  nettle's hash functions (<nettle/sha2.h>: the SHA-256 of files and masks);
#   tulvo::pq      libpq, PostgreSQL's client library, for a line's server.
# A native build takes Debian's packages (libsqlite3-dev, nettle-dev, libpq-dev; scripts/setup.sh).
# A cross build for Windows takes the trees that scripts/build-windows-libraries.sh cross-builds from
# Debian's sources into its cache, each named by a cache variable (scripts/build-windows.sh gives
# them): static libraries, so that tulvo-cli.exe stays one file.

if(NOT CMAKE_CROSSCOMPILING)
  find_package(SQLite3 REQUIRED)
  find_package(PostgreSQL REQUIRED)
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(tulvo_nettle REQUIRED IMPORTED_TARGET GLOBAL nettle)

  add_library(tulvo::sqlite INTERFACE IMPORTED GLOBAL)
  target_link_libraries(tulvo::sqlite INTERFACE SQLite::SQLite3)
  add_library(tulvo::nettle INTERFACE IMPORTED GLOBAL)
  target_link_libraries(tulvo::nettle INTERFACE PkgConfig::tulvo_nettle)
  add_library(tulvo::pq INTERFACE IMPORTED GLOBAL)
  target_link_libraries(tulvo::pq INTERFACE PostgreSQL::PostgreSQL)
  return()
endif()

set(TULVO_SQLITE_PREFIX "" CACHE PATH "SQLite for the target system (include/sqlite3.h, lib/libsqlite3.a)")
set(TULVO_NETTLE_PREFIX "" CACHE PATH "nettle for the target system (include/nettle/, lib/libnettle.a)")
set(TULVO_PQ_PREFIX "" CACHE PATH
    "libpq for the target system (include/libpq-fe.h, lib/libpq.a, libpgcommon_shlib.a, libpgport_shlib.a)")

# A static library of a cross-built tree: the target, the cache variable naming the tree, its
# libraries in link order (lib/lib<name>.a), then what they need of the system.
function(tulvo_cross_library target variable)
  cmake_parse_arguments(ARG "" "" "LIBRARIES;SYSTEM" ${ARGN})
  set(prefix "${${variable}}")
  if(NOT prefix OR NOT EXISTS "${prefix}/.complete")
    message(FATAL_ERROR "${target}: no complete tree in ${variable}=\"${prefix}\": give the folder that "
                        "scripts/build-windows-libraries.sh builds (scripts/build-windows.sh gives it)")
  endif()
  list(POP_FRONT ARG_LIBRARIES first)
  add_library(${target} STATIC IMPORTED GLOBAL)
  set_target_properties(${target} PROPERTIES IMPORTED_LOCATION "${prefix}/lib/lib${first}.a"
                                             INTERFACE_INCLUDE_DIRECTORIES "${prefix}/include")
  set(more)
  foreach(name IN LISTS ARG_LIBRARIES)
    list(APPEND more "${prefix}/lib/lib${name}.a")
  endforeach()
  target_link_libraries(${target} INTERFACE ${more} ${ARG_SYSTEM})
endfunction()

tulvo_cross_library(tulvo::sqlite TULVO_SQLITE_PREFIX LIBRARIES sqlite3)
tulvo_cross_library(tulvo::nettle TULVO_NETTLE_PREFIX LIBRARIES nettle)
# libpq linked in whole: its own code, then the parts of PostgreSQL's common and port code built for
# a library; Windows' sockets and its security interface (SSPI).
tulvo_cross_library(tulvo::pq TULVO_PQ_PREFIX LIBRARIES pq pgcommon_shlib pgport_shlib SYSTEM shell32 ws2_32 secur32)
