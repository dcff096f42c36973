#!/usr/bin/env bash
# Runs the installed program as an administrator may start it: as root, from
# a folder that is not its own and already holds a file "English" (a shared
# folder), with another user's HOME and XDG_DATA_HOME (sudo without -H). The
# program keeps its files in the data folder of root's own home, leaves the
# current folder as it was, puts nothing into the other user's home (not
# even into a data folder an earlier run left there), and SIGTERM ends it as
# File > Exit does. Root's home is a temporary folder mounted over it in a
# mount namespace of the test's own, so the tester's home is never touched.
# Usage: installed_run.sh CMAKE BUILD_DIR
# Exits 77 (skipped) when not run as root or without mount namespaces.
set -euo pipefail
cmake=$1 build=$2
[ "$(id -u)" = 0 ] || { echo "runs as root only (a home of another account): skipped"; exit 77; }
if [ -z "${INSTALLED_RUN_NAMESPACE:-}" ]; then
  unshare -m --propagation private true 2> /dev/null || { echo "no mount namespace: skipped"; exit 77; }
  exec unshare -m --propagation private env INSTALLED_RUN_NAMESPACE=1 "$0" "$@"
fi

work=$(mktemp -d)
game=
cleanup() {
  [ -n "$game" ] && kill -KILL "$game" 2> /dev/null
  rm -rf "$work"
}
trap cleanup EXIT

"$cmake" --install "$build" --prefix "$work/prefix" > /dev/null
mkdir -p "$work/current" "$work/foreign/.local/share/Zwonky" "$work/roothome" "$work/runtime"
chmod 0777 "$work/current"
chmod 0700 "$work/runtime"
chown -R 65534:65534 "$work/foreign"
# An earlier run's data folder in the foreign home, root's own.
chown 0:0 "$work/foreign/.local/share/Zwonky"
mount --bind "$work/roothome" "$(getent passwd 0 | cut -d: -f6)"
printf '\036%-14s' QQQ > "$work/current/English"
shared_list=$(sha256sum < "$work/current/English")
foreign_home() { find "$work/foreign" -printf '%p %u %T@\n' | LC_ALL=C sort; }
foreign_before=$(foreign_home)

cd "$work/current"
env -u XDG_CONFIG_HOME -u XDG_CACHE_HOME -u XDG_STATE_HOME \
    HOME="$work/foreign" XDG_DATA_HOME="$work/foreign/.local/share" XDG_RUNTIME_DIR="$work/runtime" \
    QT_QPA_PLATFORM=offscreen QT_AUDIO_BACKEND=none \
    "$work/prefix/bin/zwonky" Ann &
game=$!

# Up once its word list is out (generous: the machine may be busy).
data="$work/roothome/.local/share/Zwonky"
list="$data/English"
for _ in $(seq 1200); do
  [ -s "$list" ] && break
  kill -0 "$game" 2> /dev/null || { echo "the program ended before making its word list"; exit 1; }
  sleep 0.1
done
[ -s "$list" ] || { echo "no working word list in $data: $(ls -RA "$work/roothome" "$work/current" "$work/foreign")"; exit 1; }

kill -TERM "$game"
status=0
wait "$game" || status=$?
game=
[ "$status" = 0 ] || { echo "SIGTERM: exit status $status"; exit 1; }

fail=0
if [ "$(ls -A "$work/current")" != English ] || [ "$(sha256sum < "$work/current/English")" != "$shared_list" ]; then
  echo "the current folder changed: $(ls -lA "$work/current")"; fail=1
fi
if ! diff -u <(echo "$foreign_before") <(foreign_home); then
  echo "the foreign home changed (- before, + after)"; fail=1
fi
[ ! -e "$list" ] || { echo "the working word list was left behind"; fail=1; }
[ -f "$data/zwonkytally.tld" ] || { echo "no tally in $data"; fail=1; }
mode=$(stat -c %a "$data")
[ "$mode" = 700 ] || { echo "data folder mode $mode, not 700"; fail=1; }
[ "$fail" = 0 ] && echo "installed run: files in root's own data folder only"
exit "$fail"
