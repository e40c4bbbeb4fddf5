#!/usr/bin/env bash
# Makes Debian's source packages reachable: a deb-src twin of every enabled deb entry, in a file
# of our own so the machine's lists stay as they are. Both list formats are read.
set -euo pipefail

twin=/etc/apt/sources.list.d/zarn-tool-sources.sources
legacy=/etc/apt/sources.list.d/zarn-tool-sources.list
[ -e "$twin" ] || [ -e "$legacy" ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

shopt -s nullglob
deb822=(/etc/apt/sources.list.d/*.sources)
one_line=(/etc/apt/sources.list /etc/apt/sources.list.d/*.list)

if [ ${#deb822[@]} -gt 0 ]; then
  # Stanzas whose Types name deb, with the type changed; those naming deb-src already are left.
  awk 'BEGIN { RS = ""; ORS = "\n\n" }
       { n = split($0, line, "\n"); out = ""; binary = 0
         for (i = 1; i <= n; i++) {
           if (line[i] ~ /^Types:/) {
             if (line[i] ~ /deb-src/) { binary = 0; break }
             if (line[i] ~ /[ \t]deb([ \t]|$)/) binary = 1
             line[i] = "Types: deb-src"
           }
           out = out line[i] "\n"
         }
         if (binary) printf "%s\n", out }' \
    "${deb822[@]}" | $sudo tee "$twin" >/dev/null
fi
existing=()
for f in "${one_line[@]}"; do [ -e "$f" ] && existing+=("$f"); done
if [ ${#existing[@]} -gt 0 ]; then
  grep -h '^deb ' "${existing[@]}" | sed 's/^deb /deb-src /' | $sudo tee "$legacy" >/dev/null || true
  [ -s "$legacy" ] || $sudo rm -f "$legacy"
fi
$sudo apt-get update -qq
