#!/bin/sh
# Installs a build into a scratch prefix and checks that the programs and the manual page land
# where a user looks for them. Usage: check_install.sh BUILD_FOLDER
set -eu
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$1" --prefix "$prefix" >/dev/null
status=0
for file in bin/counterpal bin/counterpal-extract share/man/man1/counterpal.1 \
  share/man/man1/counterpal-extract.1; do
  if [ -e "$prefix/$file" ]; then echo "installed: $file"; else echo "missing: $file"; status=1; fi
done
[ -x "$prefix/bin/counterpal" ] && [ -x "$prefix/bin/counterpal-extract" ] || status=1
exit $status
