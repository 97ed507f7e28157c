# Sourced by the end-to-end scripts: a scratch folder that is removed on exit
# with everything in it (read-only parts too), after killing the games the
# script started and listed in `pids`; and `fail` for a failed check.
work=$(mktemp -d)
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill -KILL "$p" 2>/dev/null || true; done
    chmod -R u+w "$work" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
chmod 755 "$work"
fail() { echo "FAIL: $*" >&2; exit 1; }
