#!/usr/bin/env bash
# One game per user: a second start hands its level set to the running game
# (which opens it) and ends without a game of its own; a start without a file
# only brings the running game forward. A game with another runtime folder,
# another per-user data folder or another program directory is another game,
# and the socket a killed game left behind does not stop the next start.
set -euo pipefail
exe=$1
bindir=$(dirname "$exe")
# shellcheck source=tests/e2e/scratch.sh
source "$(dirname "$0")/scratch.sh"

mkdir -p "$work/sets" "$work/home" "$work/data" "$work/data2" "$work/run" "$work/run2"
chmod 700 "$work/run" "$work/run2"
for app in app app2; do
    mkdir -p "$work/$app"
    cp "$exe" "$work/$app/sokoban"
    for set in game normal veryhard easy impossible; do
        cp "$bindir/$set.box" "$work/$app/"
    done
done
for name in mine other third fourth fifth; do
    python3 "$(dirname "$0")/make_box.py" "$work/sets/$name.box" "#####/#@$.#/#####"
done

# The player's session: the same folders for every start unless a step says otherwise.
session=(env -i PATH="$PATH" HOME="$work/home" XDG_DATA_HOME="$work/data"
         XDG_RUNTIME_DIR="$work/run" QT_QPA_PLATFORM=offscreen)
waitfor() { # seconds, then a test
    local limit=$1
    shift
    for _ in $(seq $((limit * 10))); do "$@" && return 0; sleep 0.1; done
    return 1
}
socket() { ls "$work/run"/cn.tuixiangzi.sokoban-* 2>/dev/null | grep -qv '\.lock$'; }
alive() { kill -0 "$1" 2>/dev/null; }
# start NAME [VAR=VALUE...] PROGRAM [FILE]: a start that must end by itself;
# prints its exit status. One that runs a game of its own shows the window,
# saves a picture of it as NAME.png and closes.
start() {
    local name=$1 rc=0
    shift
    timeout 60 "${session[@]}" SOKOBAN_SCREENSHOT="$work/$name.png" "$@" >/dev/null 2>&1 || rc=$?
    echo "$rc"
}
ranItsOwn() { [ -f "$work/$1.png" ]; }

# 1. The first game, without a file.
"${session[@]}" "$work/app/sokoban" &
pids+=($!)
first=${pids[0]}
waitfor 60 test -f "$work/app/game-$first.tmp" || fail "the first game has no level"

# 2. A second start on a level set, named relative to its own folder: it ends
#    without a game of its own, and the first game opens the set.
rc=$(cd "$work/sets" && start second "$work/app/sokoban" mine.box)
[ "$rc" -eq 0 ] || fail "the second start ended with $rc"
! ranItsOwn second || fail "the second start ran a game of its own"
waitfor 60 test -f "$work/sets/mine.sav" || fail "the running game did not open the set"
alive "$first" || fail "the first game ended"

# 3. A start without a file only brings the running game forward.
rc=$(start bare "$work/app/sokoban")
[ "$rc" -eq 0 ] || fail "the start without a file ended with $rc"
! ranItsOwn bare || fail "the start without a file ran a game of its own"
alive "$first" || fail "the first game ended"

# 4. Other folders make other games: each runs its own and opens its own set.
rc=$(start run2 XDG_RUNTIME_DIR="$work/run2" "$work/app/sokoban" "$work/sets/other.box")
[ "$rc" -eq 0 ] && ranItsOwn run2 && [ -f "$work/sets/other.sav" ] ||
    fail "a game with a runtime folder of its own did not run by itself ($rc)"
rc=$(start data2 XDG_DATA_HOME="$work/data2" "$work/app/sokoban" "$work/sets/third.box")
[ "$rc" -eq 0 ] && ranItsOwn data2 && [ -f "$work/sets/third.sav" ] ||
    fail "a game with a data folder of its own did not run by itself ($rc)"
rc=$(start app2 "$work/app2/sokoban" "$work/sets/fourth.box")
[ "$rc" -eq 0 ] && ranItsOwn app2 && [ -f "$work/sets/fourth.sav" ] ||
    fail "a game in another program directory did not run by itself ($rc)"
alive "$first" || fail "the first game ended"

# 5. A killed game leaves its socket behind; the next start runs all the same.
kill -KILL "$first"
wait "$first" 2>/dev/null || true
pids=()
socket || fail "no socket left behind to try the start against"
rc=$(start afterKill "$work/app/sokoban" "$work/sets/fifth.box")
[ "$rc" -eq 0 ] && ranItsOwn afterKill && [ -f "$work/sets/fifth.sav" ] ||
    fail "a killed game's socket stopped the next start ($rc)"
echo "ok"
