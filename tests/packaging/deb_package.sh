#!/usr/bin/env bash
# Makes the Debian package into a temporary folder and checks its control
# fields and that it holds the install tree under /usr.
# Usage: deb_package.sh CPACK BUILD_DIR EXPECTED_LIST VERSION PROGRAM...
# Exits 77 (skipped) where Debian's packaging tools are missing.
set -euo pipefail
cpack=$1 build=$2 expected=$3 version=$4
shift 4

for tool in dpkg-deb dpkg-shlibdeps; do
  command -v "$tool" > /dev/null || { echo "no $tool here: skipped"; exit 77; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if ! (cd "$build" && "$cpack" -G DEB -B "$work" > "$work/cpack.log" 2>&1); then
  cat "$work/cpack.log"
  exit 1
fi
arch=$(dpkg --print-architecture)
deb="$work/zwonky_${version}_${arch}.deb"
[ -f "$deb" ] || { echo "no $(basename "$deb") made:"; ls "$work"; exit 1; }

fail() { echo "$*"; exit 1; }
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = zwonky ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture: $(field Architecture)"
[ "$(field Section)" = games ] || fail "Section: $(field Section)"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
[ -n "$(field Description)" ] || fail "no Description"
# Found by dpkg-shlibdeps from the program's own libraries, with versions.
depends=$(field Depends)
for lib in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6network6 libqt6multimedia6; do
  [[ ", $depends" == *", $lib (>= "* ]] || fail "Depends lacks $lib: $depends"
done

want=$( { cat "$expected"; for p in "$@"; do echo "bin/$p"; done; } | sed 's|^|./usr/|' | LC_ALL=C sort )
got=$(dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | LC_ALL=C sort)
if ! diff -u <(echo "$want") <(echo "$got"); then
  echo "the package's files differ (- expected, + in the package)"
  exit 1
fi
# Owned by root, programs executable.
listing=$(dpkg-deb -c "$deb")
echo "$listing" | awk '$2 != "root/root" { print "not owned by root: " $0; bad = 1 } END { exit bad }'
for p in "$@"; do
  echo "$listing" | grep -Eq "^-rwxr-xr-x .* \./usr/bin/$p\$" || fail "usr/bin/$p is not a 0755 program"
done
echo "package $(basename "$deb"): $(echo "$got" | wc -l) files, Depends: $depends"
