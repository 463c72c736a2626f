# The libraries of the results database, one name each for every build:
#   tulvo::sqlite  SQLite 3, the database file of a station;
#   tulvo::nettle  nettle's hash functions (<nettle/sha2.h>: the SHA-256 of files and masks);
#   tulvo::pq      libpq, PostgreSQL's client library, for a line's server.
# A native build takes Debian's packages (libsqlite3-dev, nettle-dev, libpq-dev; scripts/setup.sh);
# the cross build for Windows has none of them yet.

if(CMAKE_CROSSCOMPILING)
  return()
endif()

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
