#!/bin/sh
# Runs a command on a private Xvfb server and stops the server after it.
# The server picks a free display itself (-displayfd), so test programs
# started at the same moment never race for one display number, as
# xvfb-run -a's search does when several start together.
#
# usage: xvfb.sh [-s "server arguments"] command [argument ...]
# The command's exit status is the script's; 1 when no server starts.
server_args="-screen 0 1280x1024x24"
if [ "${1:-}" = "-s" ]; then
    server_args=$2
    shift 2
fi
dir=$(mktemp -d) || exit 1
pid=""
cleanup() {
    if [ -n "$pid" ]; then
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    fi
    rm -rf "$dir"
}
trap cleanup EXIT
trap 'exit 130' INT TERM
mkfifo "$dir/display" || exit 1
# shellcheck disable=SC2086 # the server arguments are words
Xvfb -displayfd 3 -nolisten tcp $server_args 3>"$dir/display" 2>"$dir/log" &
pid=$!
read -r display <"$dir/display"
if [ -z "$display" ]; then
    echo "xvfb.sh: Xvfb did not start:" >&2
    cat "$dir/log" >&2
    exit 1
fi
DISPLAY=":$display" "$@"
