#!/bin/bash
# Two lobbies on one machine, each in its own network namespace, joined by a
# virtual ethernet pair: the first hosts, the second must list the game
# within 5 s, join it from the list, and both play a few turns; then the
# second joins again by a typed IPv6 address. Screenshots of every step go
# to the output folder for a person to look at.
#
#   sudo tools/lan-check.sh [BUILD_FOLDER] [OUTPUT_FOLDER]
#
# Needs root (namespaces), Xvfb, xdotool, ImageMagick's import and iproute2.
# Uses only 10.77.0.1-2/24 and fd77::1-2/64 on its own pair; the kernel's
# automatic link-local addresses are switched off. Everything it started is
# ended and the namespaces removed when it exits, however it exits.
# The window positions below are those of the lobby and game windows at
# their default sizes on a screen without a window manager.

set -euo pipefail

BUILD=$(realpath "${1:-build}")
OUT=$(realpath -m "${2:-/tmp/zwonky-lan-check}")
NSA=zwa NSB=zwb DISPA=:71 DISPB=:72
PIDS=()
FAILED=0

[ "$(id -u)" = 0 ] || { echo "run as root" >&2; exit 2; }
for tool in Xvfb xdotool import ip ss; do
    command -v $tool >/dev/null || { echo "missing: $tool" >&2; exit 2; }
done
[ -x "$BUILD/zwonky" ] && [ -x "$BUILD/zwonky-lobby" ] || { echo "no build in $BUILD" >&2; exit 2; }

cleanup() {
    set +e
    # Games first (started by the lobbies, in the namespaces), then ours.
    for ns in $NSA $NSB; do
        for pid in $(ip netns pids $ns 2>/dev/null); do kill "$pid" 2>/dev/null; done
    done
    for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null; done
    sleep 1
    for ns in $NSA $NSB; do
        for pid in $(ip netns pids $ns 2>/dev/null); do kill -9 "$pid" 2>/dev/null; done
        ip netns del $ns 2>/dev/null
    done
}
trap cleanup EXIT INT TERM

ok()   { echo "ok    $*"; }
fail() { echo "FAIL  $*"; FAILED=1; }
shot() { DISPLAY=$1 import -window root "$OUT/shots/$2.png"; echo "      screenshot $OUT/shots/$2.png"; }
click() { DISPLAY=$1 xdotool mousemove "$2" "$3" click 1; sleep 0.2; }
# The window of that exact name and size (Qt keeps 1x1 helper windows too).
window() {
    DISPLAY=$1 xdotool search --name "$2" | while read -r w; do
        [ "$(DISPLAY=$1 xdotool getwindowgeometry "$w" | sed -n 's/.*Geometry: //p')" = "$3" ] && echo "$w" && break
    done
}
focus() { local w; w=$(window "$1" "$2" "$3"); [ -n "$w" ] && DISPLAY=$1 xdotool windowraise "$w" windowfocus "$w"; sleep 0.3; }
gamePid() { ip netns pids "$1" | while read -r p; do [ "$(basename "$(readlink /proc/$p/exe)")" = zwonky ] && echo "$p"; done | head -1; }
waitFor() { # seconds, command...: true once the command succeeds
    local end=$((SECONDS + $1)); shift
    until "$@"; do [ $SECONDS -ge $end ] && return 1; sleep 0.25; done
}
gameArgs() { local p; p=$(gamePid "$1"); [ -n "$p" ] && tr '\0' ' ' </proc/$p/cmdline | cut -d' ' -f2- | sed 's/ $//'; }

# ---- the network: two namespaces, one pair, our own addresses only
ip netns add $NSA
ip netns add $NSB
ip link add zva type veth peer name zvb
ip link set zva netns $NSA
ip link set zvb netns $NSB
for side in "$NSA zva 1" "$NSB zvb 2"; do
    set -- $side
    ip -n "$1" link set lo up
    ip -n "$1" link set "$2" addrgenmode none
    ip -n "$1" addr add "10.77.0.$3/24" dev "$2"
    ip -n "$1" addr add "fd77::$3/64" dev "$2" nodad
    ip -n "$1" link set "$2" up
done

# ---- two players: a screen, a home, a run folder and a program folder each
rm -rf "$OUT"
mkdir -p "$OUT/shots"
for who in "Alice a $DISPA" "Bob b $DISPB"; do
    read -r name dir disp <<<"$who"
    mkdir -p "$OUT/$dir/bin" "$OUT/$dir/home" "$OUT/$dir/run"
    chmod 700 "$OUT/$dir/run"
    cp "$BUILD/zwonky" "$BUILD/zwonky-lobby" "$OUT/$dir/bin/"
    printf '[zwonkylobby]\r\nName=%s\r\n' "$name" >"$OUT/$dir/bin/pellixlobby.ini"
    Xvfb "$disp" -screen 0 1024x768x24 -nolisten tcp >"$OUT/$dir/xvfb.log" 2>&1 &
    PIDS+=($!)
done
sleep 1
startLobby() { # namespace folder display
    ip netns exec "$1" env -i PATH=/usr/bin:/bin LANG=C.UTF-8 DISPLAY="$3" HOME="$OUT/$2/home" \
        XDG_RUNTIME_DIR="$OUT/$2/run" "$OUT/$2/bin/zwonky-lobby" >"$OUT/$2/lobby.log" 2>&1 &
    PIDS+=($!)
}
startLobby $NSA a $DISPA
startLobby $NSB b $DISPB
waitFor 10 window $DISPA '^Zwonky Lobby$' 720x470 >/dev/null && waitFor 10 window $DISPB '^Zwonky Lobby$' 720x470 >/dev/null \
    && ok "both lobbies are up" || fail "a lobby did not show its window"
sleep 1
shot $DISPA 01-host-lobby-empty
shot $DISPB 01-joiner-lobby-empty

# ---- host, list, join from the list
click $DISPA 136 155                                  # Host a Game
waitFor 10 gamePid $NSA >/dev/null && ok "host's game started: zwonky $(gameArgs $NSA)" || fail "host's game did not start"
hosted=$SECONDS
sleep 4.5                                             # the list must show it within 5 s
shot $DISPB 02-joiner-lobby-lists-game
focus $DISPB '^Zwonky Lobby$' 720x470
click $DISPB 400 134                                  # the first game listed
click $DISPB 650 299                                  # Join
if waitFor 10 gamePid $NSB >/dev/null && [ "$(gameArgs $NSB)" = "Bob 10.77.0.1 false" ]; then
    ok "joined from the list $((SECONDS - hosted)) s after hosting: zwonky $(gameArgs $NSB)"
else
    fail "no join from the list within 5 s (game: $(gameArgs $NSB || true))"
fi
waitFor 10 sh -c "ip netns exec $NSA ss -tnH state established '( sport = :7772 )' | grep -q 10.77.0.2" \
    && ok "host sees the joiner's connection from 10.77.0.2" || fail "no game connection across the pair"
sleep 1
for d in $DISPA $DISPB; do DISPLAY=$d xdotool windowraise "$(window $d '^Zwonky Lobby$' 720x470)"; done
sleep 0.5
shot $DISPA 03-host-lobby-game-running
shot $DISPB 03-joiner-lobby-game-running

# ---- play: start from the host's start-game window, then four turns ended
# by "Finish" (whoever's turn it is; the other side has no such button).
focus $DISPB '^Zwonky$' 795x568
focus $DISPA '^Zwonky$' 795x568
click $DISPA 100 258                                  # START GAME
waitFor 5 window $DISPA 'Start Game' 261x311 >/dev/null && ok "start-game window open" || fail "no start-game window"
click $DISPA 305 308                                  # Fast Game off: turns take turns
click $DISPA 399 404                                  # START GAME in the options
sleep 3
shot $DISPA 04-host-game-turn1
shot $DISPB 04-joiner-game-turn1
for turn in 1 2 3 4; do
    for d in $DISPA $DISPB; do focus $d '^Zwonky$' 795x568; click $d 530 212; done   # Finish
    sleep 10                                          # scores and the pause between turns
    shot $DISPA "05-host-after-turn$turn"
done
shot $DISPB 05-joiner-after-turn4
[ -n "$(gamePid $NSA)" ] && [ -n "$(gamePid $NSB)" ] && ok "both games still run after four turns" || fail "a game ended early"

# ---- the host leaves: both games end, both lobbies are back
focus $DISPA '^Zwonky$' 795x568
click $DISPA 22 11                                    # File
click $DISPA 48 102                                   # Exit
if waitFor 10 sh -c "! ip netns pids $NSA | while read p; do readlink /proc/\$p/exe; done | grep -q '/zwonky\$'" \
   && waitFor 10 sh -c "! ip netns pids $NSB | while read p; do readlink /proc/\$p/exe; done | grep -q '/zwonky\$'"; then
    ok "both games ended with the host's"
else
    fail "a game outlived the host"
fi
sleep 1
shot $DISPA 06-host-lobby-after-game
shot $DISPB 06-joiner-lobby-after-game
sleep 16
shot $DISPB 07-joiner-lobby-game-dropped

# ---- join again by a typed IPv6 address in brackets
click $DISPA 136 155
waitFor 10 gamePid $NSA >/dev/null || fail "host's second game did not start"
sleep 1
focus $DISPB '^Zwonky Lobby$' 720x470
click $DISPB 440 299
DISPLAY=$DISPB xdotool key ctrl+a type '[fd77::1]'
click $DISPB 650 299
if waitFor 10 gamePid $NSB >/dev/null && [ "$(gameArgs $NSB)" = "Bob fd77::1 false" ] \
   && waitFor 10 sh -c "ip netns exec $NSA ss -tnH state established '( sport = :7772 )' | grep -q 'fd77::2'"; then
    ok "joined over IPv6: zwonky $(gameArgs $NSB)"
else
    fail "no join over IPv6 (game: $(gameArgs $NSB || true))"
fi
sleep 1
shot $DISPB 08-joiner-game-over-ipv6

[ $FAILED = 0 ] && echo "all checks passed; screenshots in $OUT/shots" || echo "some checks failed; screenshots in $OUT/shots"
exit $FAILED
