#!/usr/bin/env bash
# The game in a program directory the player cannot write, as after a
# system-wide install: its settings, undo histories and records go to the
# per-user folder, nothing is written beside the program or beside a level
# set on a read-only medium, and two copies running at once keep undo
# histories of their own.
set -euo pipefail
exe=$1
bindir=$(dirname "$exe")
# shellcheck source=tests/e2e/scratch.sh
source "$(dirname "$0")/scratch.sh"

mkdir -p "$work/app" "$work/cd" "$work/cd2" "$work/home" "$work/xdg" "$work/run" "$work/run2"
cp "$exe" "$work/app/sokoban"
for set in game normal veryhard easy impossible; do
    cp "$bindir/$set.box" "$work/app/"
done
# Two sets of one name on read-only media, one level each: a room whose box
# stands one (cd) or two (cd2) cells from the worker.
python3 "$(dirname "$0")/make_box.py" "$work/cd/hard.box" "#####/#@$.#/#####"
python3 "$(dirname "$0")/make_box.py" "$work/cd2/hard.box" "######/#@ $.#/######"
chmod -R a-w "$work/app" "$work/cd" "$work/cd2"

# The player is an ordinary user: root could write anywhere.
if [ "$(id -u)" -eq 0 ]; then
    chown 65534:65534 "$work/home" "$work/xdg" "$work/run" "$work/run2"
    as_player=(setpriv --reuid=65534 --regid=65534 --clear-groups --)
else
    as_player=()
fi
chmod 700 "$work/run" "$work/run2"
base_env=(env -i PATH="$PATH" HOME="$work/home" XDG_RUNTIME_DIR="$work/run"
          QT_QPA_PLATFORM=offscreen)
game() { "${base_env[@]}" "$@"; } # environment..., then the command
snapshot() { (cd "$work" && find app cd cd2 -printf '%p %s %m\n' | sort && md5sum app/* cd/* cd2/*); }
before=$(snapshot)

# 1. Started on a read-only set without XDG_DATA_HOME: ~/.local/share/sokoban.
game SOKOBAN_QUIT_AFTER_START=1 timeout 60 "${as_player[@]}" "$work/app/sokoban" "$work/cd/hard.box"
user="$work/home/.local/share/sokoban"
[ -d "$user" ] || fail "no per-user folder"
[ "$(stat -c %s "$user/game.var")" -eq 36 ] || fail "game.var"
sav=$(cd "$user" && ls hard-*.sav)
[[ $sav =~ ^hard-[0-9a-f]{16}\.sav$ ]] || fail "record name $sav"
stem=${sav%.sav}
[ "$(stat -c %s "$user/$stem.sav")" -eq 4536 ] || fail "$stem.sav size"
[ "$(stat -c %s "$user/$stem.bst")" -eq 4 ] || fail "$stem.bst size"
[ "$(stat -c %s "$user/$stem.sol")" -eq 1029 ] || fail "$stem.sol size"
[ -z "$(cd "$user" && ls game-*.tmp 2>/dev/null)" ] || fail "undo history left behind"

# 2. The other set of the same name gets records of its own; the built-in
#    set keeps its plain names.
game SOKOBAN_QUIT_AFTER_START=1 timeout 60 "${as_player[@]}" "$work/app/sokoban" "$work/cd2/hard.box"
game SOKOBAN_QUIT_AFTER_START=1 timeout 60 "${as_player[@]}" "$work/app/sokoban"
[ "$(cd "$user" && ls hard-*.sav | wc -l)" -eq 2 ] || fail "sets of one name share records"
for ext in sav bst sol; do [ -f "$user/game.$ext" ] || fail "game.$ext not in the per-user folder"; done

# 3. XDG_DATA_HOME names the folder when it is set.
game XDG_DATA_HOME="$work/xdg" SOKOBAN_QUIT_AFTER_START=1 timeout 60 "${as_player[@]}" \
    "$work/app/sokoban" "$work/cd/hard.box"
[ -f "$work/xdg/sokoban/game.var" ] || fail "XDG_DATA_HOME not used"
[ -f "$work/xdg/sokoban/$stem.sav" ] || fail "record name differs between runs"

# 4. Two copies at once, each on its own set (env and setpriv run the game
#    in their own process, so $! is the game's process id). They run in two
#    sessions, each with its own runtime folder: in one session the second
#    start would hand its set to the first game.
"${base_env[@]}" "${as_player[@]}" "$work/app/sokoban" "$work/cd/hard.box" &
pids+=($!)
"${base_env[@]}" XDG_RUNTIME_DIR="$work/run2" "${as_player[@]}" "$work/app/sokoban" \
    "$work/cd2/hard.box" &
pids+=($!)
for _ in $(seq 600); do
    [ -f "$user/game-${pids[0]}.tmp" ] && [ -f "$user/game-${pids[1]}.tmp" ] && break
    sleep 0.1
done
[ -f "$user/game-${pids[0]}.tmp" ] || fail "first copy has no undo history of its own"
[ -f "$user/game-${pids[1]}.tmp" ] || fail "second copy has no undo history of its own"
sleep 0.5 # both have drawn their level
# Record 0 of each history is the board of that copy's level.
python3 - "$user/game-${pids[0]}.tmp" "$user/game-${pids[1]}.tmp" <<'PY'
import struct, sys
for path, box in zip(sys.argv[1:], (2, 3)):
    rec = open(path, "rb").read()[:756]
    assert len(rec) == 756, (path, len(rec))
    man = struct.unpack_from("<h", rec, 6)[0]
    cells = rec[8:]
    assert man == 35 and cells[34 + box] == 4, (path, man, cells[34:40])
PY
# Both copies end without cleaning up; the next start removes what they left.
kill -KILL "${pids[@]}"
wait "${pids[@]}" 2>/dev/null || true
pids=()
[ "$(cd "$user" && ls game-*.tmp | wc -l)" -eq 2 ] || fail "killed copies left no histories"
game SOKOBAN_QUIT_AFTER_START=1 timeout 60 "${as_player[@]}" "$work/app/sokoban"
[ -z "$(cd "$user" && ls game-*.tmp 2>/dev/null)" ] || fail "stale undo histories kept"

# Nothing was written beside the program or the read-only sets.
[ "$(snapshot)" == "$before" ] || fail "the program directory or a read-only set changed"
echo "ok"
