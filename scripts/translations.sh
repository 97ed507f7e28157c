#!/usr/bin/env bash
# The English translation and the sources.
#   translations.sh update [lupdate]  brings translations/sokoban_en.ts up to date
#   translations.sh check [lupdate]   fails when the .ts is out of date with the
#                                     sources or a text has no English
# Line numbers are left out of the .ts, so that it changes only when a text does.
set -euo pipefail
cd "$(dirname "$0")/.."
mode=${1:?update or check}
lupdate=${2:-}
if [[ -z $lupdate ]]; then
    lupdate=$(command -v lupdate || echo /usr/lib/qt6/bin/lupdate)
fi
ts=translations/sokoban_en.ts

run_lupdate() {
    "$lupdate" -silent -locations none -no-obsolete -no-ui-lines \
        -source-language zh_CN -target-language en \
        -extensions cpp,h -I . ui app -ts "$1"
}

case $mode in
update)
    run_lupdate "$ts"
    ;;
check)
    scratch=$(mktemp -d)
    trap 'rm -rf "$scratch"' EXIT
    cp "$ts" "$scratch/sokoban_en.ts"
    run_lupdate "$scratch/sokoban_en.ts"
    if ! diff -u "$ts" "$scratch/sokoban_en.ts" >"$scratch/diff"; then
        echo "$ts is out of date with the sources; run scripts/translations.sh update:" >&2
        head -n 60 "$scratch/diff" >&2
        exit 1
    fi
    # A message without English: unfinished, or an empty translation.
    missing=$(grep -c -E 'type="unfinished"|<translation></translation>|<translation/>' "$ts" || true)
    if ((missing > 0)); then
        echo "$ts: $missing texts have no English:" >&2
        grep -B3 -E 'type="unfinished"|<translation></translation>|<translation/>' "$ts" |
            grep '<source>' | head -n 40 >&2
        exit 1
    fi
    count=$(grep -c '<source>' "$ts")
    echo "$ts: $count texts, each with its English, current with the sources"
    ;;
*)
    echo "usage: $0 update|check [lupdate]" >&2
    exit 2
    ;;
esac
