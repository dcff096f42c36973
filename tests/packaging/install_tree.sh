#!/usr/bin/env bash
# Installs the build into a temporary prefix, and once more through DESTDIR,
# and compares the files that arrive with the expected list plus bin/<program>
# for each program given.
# Usage: install_tree.sh CMAKE BUILD_DIR EXPECTED_LIST PROGRAM...
set -euo pipefail
cmake=$1 build=$2 expected=$3
shift 3

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

want=$( { cat "$expected"; for p in "$@"; do echo "bin/$p"; done; } | LC_ALL=C sort )
files_under() { (cd "$1" && find . \( -type f -o -type l \) | sed 's|^\./||' | LC_ALL=C sort); }

"$cmake" --install "$build" --prefix "$work/prefix" > /dev/null
if ! diff -u <(echo "$want") <(files_under "$work/prefix"); then
  echo "the install tree differs from $expected (- expected, + installed)"
  exit 1
fi
for p in "$@"; do
  [ -x "$work/prefix/bin/$p" ] || { echo "bin/$p is not executable"; exit 1; }
done
for f in "$work"/prefix/share/*/*.* "$work"/prefix/share/icons/hicolor/*/apps/*; do
  if [ -x "$f" ]; then echo "$f should not be executable"; exit 1; fi
done

# A staged install: the same tree under DESTDIR + prefix, nothing elsewhere.
DESTDIR="$work/stage" "$cmake" --install "$build" --prefix /opt/zwonky > /dev/null
if ! diff -u <(echo "$want" | sed 's|^|opt/zwonky/|') <(files_under "$work/stage"); then
  echo "the staged install differs (- expected, + installed)"
  exit 1
fi
echo "install tree: $(echo "$want" | wc -l) files as expected"
