#!/bin/sh
# Runs a command on a private Xvfb server and stops the server after it.
# The server picks a free display itself (-displayfd), so test programs
# started at the same moment never race for one display number, as
# xvfb-run -a's search does when several start together.
#
# The server never resets (-noreset). By default an X server starts over
# whenever its last client leaves, and at that moment drops every
# connection it has accepted but not yet set up: a test program that
# closes its window and opens the next one is then refused ("x11 not
# available", a null XOpenDisplay) whenever the server sees both in one
# wake-up, which is often when the machine is loaded. Starting over also
# reloads GLX and the keyboard map each time, slowly.
#
# usage: xvfb.sh [-s "server arguments"] command [argument ...]
# The command's exit status is the script's; 1 when no server starts. When
# the command fails, the server's log follows its output.
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
Xvfb -displayfd 3 -nolisten tcp -noreset $server_args 3>"$dir/display" 2>"$dir/log" &
pid=$!
# a server that neither starts nor dies must not keep the caller waiting
display=$(timeout 60 head -n 1 "$dir/display")
if [ -z "$display" ]; then
    echo "xvfb.sh: Xvfb did not start (it ended, or gave no display within 60 s):" >&2
    cat "$dir/log" >&2
    exit 1
fi
# Xlib waits for a server's answer for ever: each test of a test program
# is stopped, named, after this many seconds (tests/testenvironment.cc)
ENGINE_TEST_WATCHDOG=${ENGINE_TEST_WATCHDOG:-300} DISPLAY=":$display" "$@"
status=$?
if [ "$status" -ne 0 ]; then
    if kill -0 "$pid" 2>/dev/null; then
        echo "xvfb.sh: the command failed ($status); the server on :$display still runs; its log:" >&2
    else
        echo "xvfb.sh: the command failed ($status); the server on :$display has gone; its log:" >&2
    fi
    cat "$dir/log" >&2
fi
exit "$status"
