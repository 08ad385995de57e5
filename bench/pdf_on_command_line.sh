#!/bin/bash
# Times pellion --pdf on a long list with no display at all, and measures its
# peak memory; then, for the figures beside it, Print Preview of the same
# list on the real program under a virtual X display (report_on_display.sh).
#
#   bench/pdf_on_command_line.sh [options] PELLION
#     -n COUNT    appliances in the list (10000)
#     -r TIMES    runs of each to time (5)
#     -d NUMBER   X display number for the preview (default: a free one from 100 up)
#     -P          leave the preview out
#
# Each --pdf run is a whole process: start-up with the settings and the
# ledger, the recalculation, the report into the file and the exit; the
# same with --summary shows what start-up alone takes. Wall
# time and peak resident memory come from GNU time; the preview's from its
# timing lines and the program's VmHWM. Needs GNU time and poppler-utils;
# the preview needs xvfb, xdotool and x11-utils (tests/e2e/e2e.sh install).
set -euo pipefail

count=10000
times=5
display_number=""
with_preview=1
while getopts "n:r:d:P" option; do
    case $option in
    n) count=$OPTARG ;;
    r) times=$OPTARG ;;
    d) display_number=$OPTARG ;;
    P) with_preview="" ;;
    *) exit 2 ;;
    esac
done
shift $((OPTIND - 1))
program=$(realpath "${1:?usage: $0 [-n COUNT] [-r TIMES] [-d NUMBER] [-P] PELLION}")
here=$(dirname "$(realpath "$0")")

work=$(mktemp -d /tmp/pellion-pdf-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

median() {
    sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else printf "%.1f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

[ -x /usr/bin/time ] || fail "GNU time (/usr/bin/time) is missing"
mkdir -p "$work/app" "$work/wd"
cp "$program" "$work/app/pellion"
"$here/long_ledger.sh" "$count" "$work/wd/pellion.csv"

echo "pellion --pdf of $count appliances, no display ($times times)"
echo "run  wall (ms)  peak memory (MiB)  pages  file (KiB)"
: >"$work/wall" && : >"$work/peak"
for run in $(seq "$times"); do
    rm -f "$work/wd/report.pdf"
    (cd "$work/wd" && exec env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM \
        LANG=C.UTF-8 LC_ALL=C.UTF-8 /usr/bin/time -f "%e %M" -o "$work/time" \
        "$work/app/pellion" --pdf report.pdf) >"$work/program.log" 2>&1 ||
        fail "pellion --pdf ended with status $?: $(tail -n 5 "$work/program.log")"
    read -r seconds kib <"$work/time"
    wall=$(awk -v s="$seconds" 'BEGIN { printf "%d", s * 1000 }')
    peak=$(awk -v k="$kib" 'BEGIN { printf "%.1f", k / 1024 }')
    pages=$(pdfinfo "$work/wd/report.pdf" | awk '/^Pages:/ { print $2 }')
    size=$(($(stat -c %s "$work/wd/report.pdf") / 1024))
    printf "%3d  %9s  %17s  %5s  %9s\n" "$run" "$wall" "$peak" "$pages" "$size"
    echo "$wall" >>"$work/wall"
    echo "$peak" >>"$work/peak"
done
printf "median  %6s  %17s\n" "$(median <"$work/wall")" "$(median <"$work/peak")"

# The same start-up and recalculation without the report, for its share.
: >"$work/wall"
for run in $(seq "$times"); do
    (cd "$work/wd" && exec env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM \
        LANG=C.UTF-8 LC_ALL=C.UTF-8 /usr/bin/time -f "%e %M" -o "$work/time" \
        "$work/app/pellion" --summary) >"$work/program.log" 2>&1 ||
        fail "pellion --summary ended with status $?: $(tail -n 5 "$work/program.log")"
    read -r seconds kib <"$work/time"
    awk -v s="$seconds" 'BEGIN { printf "%d\n", s * 1000 }' >>"$work/wall"
done
echo "pellion --summary of the same list (start-up and recalculation only):" \
    "median $(median <"$work/wall") ms, peak memory $(awk -v k="$kib" 'BEGIN { printf "%.1f", k / 1024 }') MiB"

if [ -n "$with_preview" ]; then
    echo
    display=()
    [ -n "$display_number" ] && display=(-d "$display_number")
    "$here/report_on_display.sh" -n "$count" -r "$times" "${display[@]}" "$program"
fi
