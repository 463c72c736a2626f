#!/usr/bin/env bash
# Cross-builds the results database's libraries for 64-bit Windows (MinGW-w64, the compilers of
# cmake/mingw-w64-x86_64.cmake) from Debian's source packages, which scripts/setup.sh --windows
# fetches into ${TULVO_CACHE:-~/.cache/tulvo}/sources, each into a cache folder that later builds
# reuse:
#   ${TULVO_CACHE:-~/.cache/tulvo}/<library>-<version>-mingw64-<key>
# <key> is a hash of the library's recipe below and of the toolchain file, so that changing either
# builds a new tree beside the old one (a complete tree is reused whatever source is in sources/).
# Each tree holds static libraries in lib/, their headers in include/ and the source package's Debian
# copyright file (the notice the Windows folder carries for a library linked in), which
# cmake/ResultsLibraries.cmake links as tulvo::sqlite, tulvo::nettle and tulvo::pq, so that
# tulvo-cli.exe stays one file:
#   sqlite  SQLite's one-file amalgamation, made here with tclsh from Debian's sqlite3 source (its
#           patches applied) and compiled with the options of Debian's own build;
#   nettle  the SHA-2 hashes of Debian's nettle source (<nettle/sha2.h>: SHA-224 and SHA-256) alone;
#   libpq   PostgreSQL's client library from Debian's postgresql-15 source, as an archive of its
#           objects (the build's own libpq.a is the DLL's import library), with the parts of
#           PostgreSQL's common and port code built for a library; no TLS (no OpenSSL).
# Usage:
#   build-windows-libraries.sh                          builds the trees that are missing
#   build-windows-libraries.sh --print-prefix LIBRARY   prints a tree's folder; nothing is built
#   build-windows-libraries.sh --cmake-options          prints the -D options naming the trees
#   build-windows-libraries.sh --missing-sources        prints "source-package host-package" for
#       each library that has neither a tree nor a source in sources/ (what setup.sh fetches)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
project=$(dirname "$here")
cache_root=${TULVO_CACHE:-$HOME/.cache/tulvo}
sources="$cache_root/sources"
jobs=$(nproc)

libraries=(sqlite nettle libpq)
declare -A source_package=([sqlite]=sqlite3 [nettle]=nettle [libpq]=postgresql-15)
# The host's package of the same library: its version is the one fetched first.
declare -A host_package=([sqlite]=libsqlite3-dev [nettle]=nettle-dev [libpq]=libpq-dev)
declare -A cmake_variable=([sqlite]=TULVO_SQLITE_PREFIX [nettle]=TULVO_NETTLE_PREFIX [libpq]=TULVO_PQ_PREFIX)

host=x86_64-w64-mingw32
cc=$host-gcc-posix
ar=$host-ar

# The options of Debian's build of SQLite (debian/rules, and what its configure adds: FTS4, FTS5,
# the math functions, isnan), so that a database behaves alike on both systems: the library's
# compile options then differ from those of Debian's only in the compiler and the mutexes.
sqlite_options=(
  -O2 -fno-strict-aliasing
  -DSQLITE_SECURE_DELETE -DSQLITE_ENABLE_COLUMN_METADATA
  -DSQLITE_ENABLE_FTS3 -DSQLITE_ENABLE_FTS3_PARENTHESIS -DSQLITE_ENABLE_FTS4 -DSQLITE_ENABLE_FTS5
  -DSQLITE_ENABLE_RTREE=1 -DSQLITE_SOUNDEX=1 -DSQLITE_ENABLE_UNLOCK_NOTIFY
  -DSQLITE_OMIT_LOOKASIDE=1 -DSQLITE_ENABLE_DBSTAT_VTAB -DSQLITE_ALLOW_ROWID_IN_VIEW
  -DSQLITE_ENABLE_UPDATE_DELETE_LIMIT=1 -DSQLITE_ENABLE_LOAD_EXTENSION -DSQLITE_ENABLE_JSON1
  -DSQLITE_LIKE_DOESNT_MATCH_BLOBS -DSQLITE_THREADSAFE=1 -DSQLITE_ENABLE_FTS3_TOKENIZER=1
  -DSQLITE_USE_URI=1 -DSQLITE_MAX_SCHEMA_RETRY=25 -DSQLITE_ENABLE_PREUPDATE_HOOK
  -DSQLITE_ENABLE_SESSION -DSQLITE_ENABLE_STMTVTAB -DSQLITE_MAX_VARIABLE_NUMBER=250000
  -DSQLITE_ENABLE_MATH_FUNCTIONS -DHAVE_ISNAN
)
build_sqlite() { # source folder, work folder, tree
  (cd "$2" && step sqlite-configure "$1/configure" --disable-tcl)
  step sqlite-amalgamation make -C "$2" sqlite3.c
  step sqlite-compile "$cc" "${sqlite_options[@]}" -c "$2/sqlite3.c" -o "$2/sqlite3.o"
  mkdir -p "$3/include" "$3/lib"
  "$ar" rcs "$3/lib/libsqlite3.a" "$2/sqlite3.o"
  cp "$2/sqlite3.h" "$2/sqlite3ext.h" "$3/include/"
  cp "$1/debian/copyright" "$3/copyright"
}

# Debian's build of nettle keeps its assertions; so does this one.
nettle_objects=(sha256 sha256-compress write-be32)
build_nettle() { # source folder, work folder, tree
  (cd "$1" && step nettle-configure ./configure --host=$host "CC=$cc" --disable-shared \
    --disable-public-key --disable-assembler --disable-fat --disable-openssl --disable-documentation)
  local objects=() name
  for name in "${nettle_objects[@]}"; do
    step "nettle-$name" "$cc" -O2 -DHAVE_CONFIG_H -I"$1" -c "$1/$name.c" -o "$2/$name.o"
    objects+=("$2/$name.o")
  done
  mkdir -p "$3/include/nettle" "$3/lib"
  "$ar" rcs "$3/lib/libnettle.a" "${objects[@]}"
  cp "$1/sha2.h" "$1/nettle-types.h" "$3/include/nettle/"
  cp "$1/debian/copyright" "$3/copyright"
}

build_libpq() { # source folder, work folder, tree
  (cd "$2" && step libpq-configure "$1/configure" --host=$host "CC=$cc" --without-readline \
    --without-zlib --without-icu --without-openssl)
  step libpq-build make -C "$2/src/interfaces/libpq" -j "$jobs"
  mkdir -p "$3/include" "$3/lib"
  # The objects of libpq itself, without the DLL's version resource.
  find "$2/src/interfaces/libpq" -maxdepth 1 -name '*.o' ! -name 'win32ver.o' -print0 |
    sort -z | xargs -0 "$ar" rcs "$3/lib/libpq.a"
  cp "$2/src/common/libpgcommon_shlib.a" "$2/src/port/libpgport_shlib.a" "$3/lib/"
  cp "$1/src/interfaces/libpq/libpq-fe.h" "$1/src/interfaces/libpq/libpq-events.h" \
    "$1/src/include/postgres_ext.h" "$2/src/include/pg_config_ext.h" "$3/include/"
  cp "$1/debian/copyright" "$3/copyright"
}

key() { # library
  {
    declare -f "build_$1"
    case $1 in
      sqlite) declare -p sqlite_options ;;
      nettle) declare -p nettle_objects ;;
    esac
    echo "$cc $ar"
    cat "$project/cmake/mingw-w64-x86_64.cmake"
  } | sha256sum | cut -c1-12
}
# The newest version of a source package in sources/ (without epoch), or nothing.
source_version() { # source package
  local dsc versions=()
  for dsc in "$sources/$1"_*.dsc; do
    [ -e "$dsc" ] || continue
    dsc=${dsc##*/}
    dsc=${dsc#"$1"_}
    versions+=("${dsc%.dsc}")
  done
  ((${#versions[@]})) && printf '%s\n' "${versions[@]}" | sort -V | tail -1
  return 0
}
# The folder of a library's tree: the newest complete one of this key, else the one the newest
# source in sources/ gives, else the one the host's version would give.
prefix() { # library
  local k tree version complete=()
  k=$(key "$1")
  for tree in "$cache_root/$1"-*-mingw64-"$k"; do
    [ -f "$tree/.complete" ] && complete+=("$tree")
  done
  if ((${#complete[@]})); then
    printf '%s\n' "${complete[@]}" | sort -V | tail -1
    return 0
  fi
  version=$(source_version "${source_package[$1]}")
  if [ -z "$version" ]; then
    version=$(dpkg-query -W -f='${source:Version}' "${host_package[$1]}" 2>/dev/null) || version=unknown
    version=${version#*:}
  fi
  echo "$cache_root/$1-${version%-*}-mingw64-$k"
}

case "${1:-}" in
  --print-prefix)
    [ -n "${source_package[${2:-}]:-}" ] || {
      echo "build-windows-libraries.sh: --print-prefix takes one of: ${libraries[*]}" >&2
      exit 2
    }
    prefix "$2"
    exit 0 ;;
  --cmake-options)
    for library in "${libraries[@]}"; do
      echo "-D${cmake_variable[$library]}=$(prefix "$library")"
    done
    exit 0 ;;
  --missing-sources)
    for library in "${libraries[@]}"; do
      tree=$(prefix "$library")
      if [ ! -f "$tree/.complete" ] && [ -z "$(source_version "${source_package[$library]}")" ]; then
        echo "${source_package[$library]} ${host_package[$library]}"
      fi
    done
    exit 0 ;;
  "") ;;
  *)
    echo "build-windows-libraries.sh: unknown option $1 (known: --print-prefix LIBRARY, --cmake-options, --missing-sources)" >&2
    exit 2 ;;
esac

# Runs a step with its output in a log, shown in part when the step fails.
step() {
  local log="$work/$1.log"
  shift
  "$@" >"$log" 2>&1 || {
    tail -40 "$log"
    echo "build-windows-libraries.sh: failed, see $log" >&2
    exit 1
  }
}

for library in "${libraries[@]}"; do
  tree=$(prefix "$library")
  [ -f "$tree/.complete" ] && continue
  package=${source_package[$library]}
  version=$(source_version "$package")
  if [ -z "$version" ]; then
    echo "build-windows-libraries.sh: no $package source in $sources: scripts/setup.sh --windows fetches it" >&2
    exit 1
  fi
  start=$SECONDS
  echo "$library for Windows (MinGW-w64) from $package $version: building into $tree"
  work="$cache_root/work-$library-$(key "$library")"
  rm -rf "$work" "$tree"
  mkdir -p "$work/build" "$tree"
  step "$package-source" dpkg-source --no-check -x "$sources/${package}_$version.dsc" "$work/source"
  "build_$library" "$work/source" "$work/build" "$tree"
  echo "$version" >"$tree/.complete"
  rm -rf "$work"
  echo "$library for Windows built in $((SECONDS - start)) s: $(du -sh "$tree" | cut -f1)"
done
