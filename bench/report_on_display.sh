#!/bin/bash
# Times Print Preview, and Print when a default printer is installed, on the
# real program under a virtual X display: the figures to set beside
# bench/reportcommands (the same path on the offscreen platform).
#
#   bench/report_on_display.sh [options] PELLION
#     -n COUNT    appliances in the list (10000)
#     -r TIMES    previews to time (5)
#     -d NUMBER   X display number to use (default: a free one from 100 up)
#     -p          also time File > Print as often (needs a default printer, e.g. the
#                 cups-pdf queue of tests/report/cups-setup.sh; run it under
#                 flock /tmp/pellion-cups.lock when others share the queue)
#
# At the end it gives the program's peak memory (VmHWM) at start and after
# the previews, to set beside pellion --pdf (bench/pdf_on_command_line.sh).
#
# The program writes timing lines when PELLION_REPORT_TIMING is set
# (report/reporttiming.h): the moment page 1 is on view and the moment the
# last page has been produced, counted from the start of the command. The
# script also measures from the keystroke that chose the command to the
# moment the line appeared, which adds the menu's and the polling's latency.
# Needs xvfb, xdotool and x11-utils (sh scripts/setup.sh test installs them).
set -euo pipefail

count=10000
times=5
display_number=""
with_print=""
while getopts "n:r:d:p" option; do
    case $option in
    n) count=$OPTARG ;;
    r) times=$OPTARG ;;
    d) display_number=$OPTARG ;;
    p) with_print=1 ;;
    *) exit 2 ;;
    esac
done
shift $((OPTIND - 1))
program=$(realpath "${1:?usage: $0 [-n COUNT] [-r TIMES] [-d NUMBER] [-p] PELLION}")

work=$(mktemp -d /tmp/pellion-report-bench.XXXXXX)
xvfb_pid=""
program_pid=""
cleanup() {
    local pid
    for pid in $program_pid $xvfb_pid; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    [ -s "$work/program.log" ] && tail -n 20 "$work/program.log" >&2
    exit 1
}

# shellcheck source=../tests/virtualdisplay.sh
. "$(dirname "$0")/../tests/virtualdisplay.sh"

now_ms() {
    echo $(($(date +%s%N) / 1000000))
}

window_named() {
    xdo search --onlyvisible --name "$1" 2>/dev/null | head -n 1
}

main_window=""
find_main_window() {
    main_window=$(window_named '^Orvane - Pellion$')
    [ -n "$main_window" ]
}

preview_window=""
find_preview_window() {
    preview_window=$(window_named '^Pellion Report$')
    [ -n "$preview_window" ]
}

preview_gone() {
    ! find_preview_window
}

timing_lines() {
    grep -c "^pellion-timing: $1 " "$work/program.log" || true
}

# Waits for the Nth line of this kind; prints its time and the wall time
# from the given start.
wait_for_line() {
    local kind=$1 nth=$2 started=$3 seconds=$4
    local deadline=$((SECONDS + seconds))
    while [ "$(timing_lines "$kind")" -lt "$nth" ]; do
        [ "$SECONDS" -ge "$deadline" ] && fail "no \"$kind\" line within $seconds s"
        sleep 0.01
    done
    local seen
    seen=$(now_ms)
    local line
    line=$(grep "^pellion-timing: $kind " "$work/program.log" | sed -n "${nth}p")
    echo "$(echo "$line" | awk '{print $4}') $((seen - started)) $(echo "$line" | sed 's/.*pages=//')"
}

# Opens the File menu with a click on its title and chooses the item that
# lies DOWNS steps down (Save, Print, Print Preview, Export PDF..., Exit).
choose_from_file_menu() {
    local downs=$1
    xdo windowfocus --sync "$main_window"
    xdo mousemove --window "$main_window" 16 10 click 1
    sleep 0.3
    local keys=()
    for _ in $(seq "$downs"); do keys+=(Down); done
    xdo key --delay 30 "${keys[@]}"
    started=$(now_ms)
    xdo key Return
}

# User and system time the program has used so far, in milliseconds: on a
# shared machine the wall times above depend on the load, this does not.
cpu_ms() {
    local stat ticks
    stat=$(cat "/proc/$program_pid/stat")
    stat=${stat##*) }
    ticks=$(getconf CLK_TCK)
    echo "$stat" | awk -v t="$ticks" '{ printf "%d\n", ($12 + $13) * 1000 / t }'
}

# The program's peak resident memory so far, in MiB.
peak_memory_mib() {
    awk '/^VmHWM:/ { printf "%.1f", $2 / 1024 }' "/proc/$program_pid/status"
}

median() {
    sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else printf "%.1f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

mkdir -p "$work/app" "$work/wd"
cp "$program" "$work/app/pellion"
"$(dirname "$0")/long_ledger.sh" "$count" "$work/wd/pellion.csv"
start_display "$display_number"
(cd "$work/wd" && exec env QT_QPA_PLATFORM=xcb LANG=C.UTF-8 LC_ALL=C.UTF-8 PELLION_REPORT_TIMING=1 \
    "$work/app/pellion") >"$work/program.log" 2>&1 &
program_pid=$!
wait_until 60 find_main_window || fail "the main window did not appear"
sleep 1
peak_at_start=$(peak_memory_mib)

echo "Print Preview of $count appliances on display $DISPLAY ($times times)"
echo "run  first page (ms)  finished (ms)  seen after keystroke (ms)  cpu (ms)  pages"
started=0
: >"$work/first" && : >"$work/finished" && : >"$work/seen" && : >"$work/cpu"
for run in $(seq "$times"); do
    cpu_before=$(cpu_ms)
    choose_from_file_menu 3
    read -r first _ _ < <(wait_for_line "preview first-page" "$run" "$started" 120)
    read -r finished seen pages < <(wait_for_line "preview finished" "$run" "$started" 300)
    cpu=$(($(cpu_ms) - cpu_before))
    printf "%3d  %15s  %13s  %25s  %8s  %5s\n" "$run" "$first" "$finished" "$seen" "$cpu" "$pages"
    echo "$first" >>"$work/first"
    echo "$finished" >>"$work/finished"
    echo "$seen" >>"$work/seen"
    echo "$cpu" >>"$work/cpu"
    wait_until 10 find_preview_window || fail "no preview window"
    xdo windowfocus --sync "$preview_window"
    xdo key Escape
    wait_until 30 preview_gone || fail "the preview did not close"
    sleep 0.5
done
printf "median  %11s  %13s  %25s  %8s\n" "$(median <"$work/first")" "$(median <"$work/finished")" \
    "$(median <"$work/seen")" "$(median <"$work/cpu")"
echo "peak memory of the program: $peak_at_start MiB once its window showed," \
    "$(peak_memory_mib) MiB after the previews"

if [ -n "$with_print" ]; then
    if ! lpstat -d 2>/dev/null | grep -q "^system default destination"; then
        echo "Print: skipped, no default printer"
        exit 0
    fi
    echo "Print of $count appliances ($times times)"
    echo "run  handed to the queue (ms)  seen after keystroke (ms)  cpu (ms)  pages"
    : >"$work/queued" && : >"$work/seen" && : >"$work/cpu"
    for run in $(seq "$times"); do
        cpu_before=$(cpu_ms)
        choose_from_file_menu 2
        read -r queued seen pages < <(wait_for_line "print queued" "$run" "$started" 300)
        cpu=$(($(cpu_ms) - cpu_before))
        printf "%3d  %24s  %25s  %8s  %5s\n" "$run" "$queued" "$seen" "$cpu" "$pages"
        echo "$queued" >>"$work/queued"
        echo "$seen" >>"$work/seen"
        echo "$cpu" >>"$work/cpu"
        sleep 0.5
    done
    printf "median  %21s  %25s  %8s\n" "$(median <"$work/queued")" "$(median <"$work/seen")" \
        "$(median <"$work/cpu")"
fi
