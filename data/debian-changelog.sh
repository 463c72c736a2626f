#!/usr/bin/env bash
# Writes the Debian changelog of the package from CHANGELOG.md:
#   debian-changelog.sh CHANGELOG.md PACKAGE VERSION "NAME <ADDRESS>" OUTPUT
# Each "## VERSION - YYYY-MM-DD" heading becomes an entry, newest first as in CHANGELOG.md; each
# "### Group" a starred line with the group's items as dashed lines below it; the text is
# wrapped to 78 columns and Markdown's backticks are dropped. Fails when the newest entry is not
# VERSION, so that a package never carries the changelog of another release.
set -euo pipefail
changelog=$1 package=$2 version=$3 maintainer=$4 output=$5

newest=$(sed -n 's/^## \([^ ]*\) - .*/\1/p' "$changelog" | head -n 1)
if [ "$newest" != "$version" ]; then
  echo "debian-changelog.sh: the newest entry of $changelog is '$newest', not $version" >&2
  exit 1
fi

LC_ALL=C awk -v package="$package" -v maintainer="$maintainer" '
  # Prints text wrapped to 78 columns, the first line after lead, the others after indent.
  function wrap(lead, indent, text,    words, n, i, line) {
    n = split(text, words, /[ \t]+/)
    line = lead
    for (i = 1; i <= n; i++) {
      if (words[i] == "") continue
      if (line != lead && line != indent && length(line) + 1 + length(words[i]) > 78) {
        print line
        line = indent
      }
      line = (line == lead || line == indent) ? line words[i] : line " " words[i]
    }
    if (line != lead && line != indent) print line
  }
  function flush_item() {
    if (item != "") wrap(grouped ? "    - " : "  * ", grouped ? "      " : "    ", item)
    item = ""
  }
  function close_entry() {
    flush_item()
    if (open) {
      cmd = "date -u -R -d " date
      cmd | getline stamp
      close(cmd)
      print ""
      print " -- " maintainer "  " stamp
    }
    open = 0
  }
  /^## / {
    close_entry()
    if (entries++) print ""
    version = $2
    date = $4
    print package " (" version ") unstable; urgency=medium"
    print ""
    open = 1
    grouped = 0
    next
  }
  !open { next }
  /^### / {
    flush_item()
    sub(/^### +/, "")
    print "  * " $0 ":"
    grouped = 1
    next
  }
  /^- / { flush_item(); sub(/^- +/, ""); gsub(/`/, ""); item = $0; next }
  /^[ \t]*$/ { flush_item(); next }
  { gsub(/`/, ""); item = (item == "") ? $0 : item " " $0 }
  END { close_entry() }
' "$changelog" > "$output"
