# Helpers for scripts that run the real program under a virtual X display of
# their own (the end-to-end tests, the benchmarks on a display). Sourced by
# bash scripts that define fail MESSAGE and set $work (a folder for the
# server's log); start_display sets $xvfb_pid, which the caller's clean-up
# ends.

xvfb_pid=""

# Polls COMMAND every 20 ms until it succeeds or SECONDS pass.
wait_until() {
    local seconds=$1
    shift
    local deadline=$((SECONDS + seconds))
    until "$@"; do
        [ "$SECONDS" -ge "$deadline" ] && return 1
        sleep 0.02
    done
}

xdo() {
    timeout 10 xdotool "$@"
}

# A display number no one holds. Numbers are drawn at random from a high range
# rather than taken lowest-first, so that a server still shutting down (which
# removes its socket last) never takes the socket of a new one with it.
free_display_number() {
    local n _
    for _ in $(seq 100); do
        n=$((100 + RANDOM % 900))
        if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
            echo "$n"
            return
        fi
    done
    fail "no free display number between 100 and 999"
}

# Succeeds once the server answers; stops early when it has died (a lost race
# for the number ends it with "Server is already active").
display_answers() {
    kill -0 "$xvfb_pid" 2>/dev/null || return 0
    timeout 5 xdpyinfo -display ":$1" >/dev/null 2>&1
}

# Starts the server on display NUMBER, or on a free one when none is given,
# and exports DISPLAY. -noreset: otherwise the server resets when the
# readiness probe disconnects, and the program's connection can fall into
# that reset.
start_display() {
    local wanted=${1:-} n _
    for _ in 1 2 3 4 5; do
        n=${wanted:-$(free_display_number)}
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
        xvfb_pid=$!
        if wait_until 20 display_answers "$n" && kill -0 "$xvfb_pid" 2>/dev/null; then
            export DISPLAY=":$n"
            return
        fi
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
        xvfb_pid=""
        [ -z "$wanted" ] || break
    done
    fail "the virtual display did not start: $(cat "$work/xvfb.log")"
}
