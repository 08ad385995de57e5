#!/bin/bash
# Runs the real program the way a user does: under its own virtual X display,
# from a folder of its own (the settings file lives beside the executable)
# and a separate working directory (the ledger lives there), clicking the
# main window's buttons where they are drawn and checking what was written.
#
#   e2e.sh check                         fails unless the X tools are installed
#                                        (scripts/setup.sh test installs them)
#   e2e.sh CASE PELLION FIXTURES         runs one case against the executable
#
# Cases: smoke, worked_example, worked_example_save_item, typed_price,
# first_run, exit_without_saving, change_after_save, bad_setting,
# menu_save_open_cell; and, given an installed program, installed_first_run,
# installed_worked_example.
# Every wait is bounded; the program and the display are ended on every exit path.
# A failed case keeps its folder; E2E_KEEP=1 keeps a passed one's too.
set -euo pipefail

readonly tools_packages="xvfb xauth xdotool x11-utils"
readonly window_title="Orvane - Pellion"

# Designed client area below the menu bar; the bottom buttons keep their
# distance to its bottom-right corner, so they are placed from the actual size.
readonly design_width=778
readonly design_height=498

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

note() {
    echo "-- $*"
}

check_tools() {
    local missing=() p
    for p in $tools_packages; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] ||
        fail "missing Debian packages: ${missing[*]} (sh scripts/setup.sh test installs them)"
}

work=""
xvfb_pid=""
program_pid=""
program_status=""

# Kills what this script started.
cleanup() {
    local status=$?
    if [ -n "$program_pid" ] && kill -0 "$program_pid" 2>/dev/null; then
        kill "$program_pid" 2>/dev/null || true
        wait "$program_pid" 2>/dev/null || true
    fi
    if [ -n "$xvfb_pid" ] && kill -0 "$xvfb_pid" 2>/dev/null; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    if [ -n "$work" ]; then
        if [ "$status" -ne 0 ]; then
            if [ -s "$work/program.log" ]; then
                echo "--- program output" >&2
                tail -n 60 "$work/program.log" >&2
            fi
            echo "Files kept in $work" >&2
        else
            [ -n "${E2E_KEEP:-}" ] || rm -rf "$work"
        fi
    fi
    exit "$status"
}

# shellcheck source=../virtualdisplay.sh
. "$(dirname "${BASH_SOURCE[0]}")/../virtualdisplay.sh"

program=""  # the copy in the application folder, or an installed program
as_user=()  # how an installed program is started as an unprivileged user

# The settings are written with the user's decimal separator: pin it to '.'.
start_program() {
    (cd "$work/wd" && exec "${as_user[@]}" env QT_QPA_PLATFORM=xcb LANG=C.UTF-8 LC_ALL=C.UTF-8 "$program") >"$work/program.log" 2>&1 &
    program_pid=$!
}

program_running() {
    kill -0 "$program_pid" 2>/dev/null
}

program_ended() {
    ! program_running
}

# The id of the visible window whose title matches the regular expression, if any.
window_named() {
    xdo search --onlyvisible --name "$1" 2>/dev/null | head -n 1
}

window_gone() {
    [ -z "$(window_named "$1")" ]
}

main_window=""
find_main_window() {
    main_window=$(window_named "^${window_title}\$")
    [ -n "$main_window" ] && return 0
    program_running || fail "the program ended before its window appeared"
    return 1
}

wait_for_main_window() {
    wait_until 20 find_main_window ||
        fail "no window titled \"$window_title\" appeared within 20 s"
    wait_until 5 geometry_settled || fail "the main window kept changing its size"
    expect_no_error_box
}

width=0
height=0
read_geometry() {
    local key value
    while IFS='=' read -r key value; do
        case $key in
        WIDTH) width=$value ;;
        HEIGHT) height=$value ;;
        esac
    done < <(xdo getwindowgeometry --shell "$main_window")
}

last_geometry=""
geometry_settled() {
    read_geometry
    local now="${width}x${height}"
    [ "$now" = "$last_geometry" ] && return 0
    last_geometry=$now
    sleep 0.2
    return 1
}

# The application's error display is captioned "Pellion".
expect_no_error_box() {
    [ -z "$(window_named '^Pellion$')" ] || fail "an error box captioned \"Pellion\" is showing"
}

# Clicks the centre of a bottom-row button given by its designed left, top,
# width and height in the client area below the menu bar.
click_bottom_button() {
    local name=$1 left=$2 top=$3 w=$4 h=$5
    read_geometry
    local x=$((width - design_width + left + w / 2))
    local y=$((height - design_height + top + h / 2))
    note "click $name at $x,$y of a ${width}x${height} window"
    xdo mousemove --window "$main_window" "$x" "$y" click 1
}

# Clicks the centre of a control that keeps its distance to the right edge,
# given by its region's top and its own left, top, width and height in it.
# The strips below the menu bar keep their designed heights, so the menu bar
# is what the window has above them.
click_right_anchored() {
    local name=$1 region_top=$2 left=$3 top=$4 w=$5 h=$6
    read_geometry
    local menu=$((height - design_height))
    if [ "$menu" -le 0 ] || [ "$menu" -ge 60 ]; then
        fail "a ${width}x${height} window leaves no room for a menu bar above the layout"
    fi
    local x=$((width - design_width + left + w / 2))
    local y=$((menu + region_top + top + h / 2))
    note "click $name at $x,$y of a ${width}x${height} window"
    xdo mousemove --window "$main_window" "$x" "$y" click 1
}

# Double-clicks a cell of the grid, given by its centre in the grid's
# region; the grid's columns keep their place at the designed width.
double_click_grid_cell() {
    local name=$1 x=$2 y_in_grid=$3
    read_geometry
    local menu=$((height - design_height))
    # y_in_grid counts from the grid's top edge, title row included: the
    # titles take two lines at the designed width, so the first record's
    # middle is about 42 px down.
    local y=$((menu + 89 + y_in_grid))
    note "double-click $name at $x,$y"
    xdo mousemove --window "$main_window" "$x" "$y" click --repeat 2 --delay 80 1
}

# Opens the File menu with the mouse and chooses its first item, Save, with
# the keyboard.
menu_file_save() {
    read_geometry
    local menu=$((height - design_height))
    note "File menu at 18,$((menu / 2)), then Down and Enter"
    xdo mousemove --window "$main_window" 18 $((menu / 2)) click 1
    sleep 0.5
    xdo key Down Return
}

click_save() { click_bottom_button Save 593 467 89 25; }
click_exit() { click_bottom_button Exit 681 467 89 25; }
click_save_item() { click_right_anchored "Save Item" 41 618 24 75 17; }
click_price() { click_right_anchored "price per kWh" 0 428 12 81 21; }

dialog=""
find_dialog() {
    dialog=$(window_named "$1")
    [ -n "$dialog" ]
}

# Sends a key as the user's keyboard would, to the focused dialog.
press_in_dialog() {
    local key=$1
    xdo windowfocus --sync "$dialog"
    xdo key "$key"
}

wait_for_exit() {
    wait_until 10 program_ended || return 1
    program_status=0
    wait "$program_pid" || program_status=$?
    program_pid=""
}

expect_clean_exit() {
    if ! wait_for_exit; then
        [ -n "$(window_named '^Warning')" ] && fail "the program asked a question instead of ending"
        fail "the program did not end within 10 s"
    fi
    [ "$program_status" -eq 0 ] || fail "the program ended with status $program_status"
}

expect_same_bytes() {
    local expected=$1 got=$2
    [ -f "$got" ] || fail "$(basename "$got") was not written"
    if ! cmp -s "$expected" "$got"; then
        echo "--- expected $(basename "$expected") vs written $(basename "$got") (cat -A)" >&2
        diff <(cat -A "$expected") <(cat -A "$got") >&2 || true
        fail "$(basename "$got") differs from $(basename "$expected")"
    fi
}

# A folder holding a real copy of the executable, so that its folder is the
# application folder, and a separate working directory.
prepare() {
    local exe=$1
    work=$(mktemp -d "${TMPDIR:-/tmp}/pellion-e2e.XXXXXX")
    mkdir "$work/app" "$work/wd"
    cp "$exe" "$work/app/pellion"
    program="$work/app/pellion"
}

# Runs the installed program EXE where it lies (its folder is read-only to
# the user) as the unprivileged user "nobody" with a fresh home, when these
# tests run as root; as another user, as that user.
user_home=""
use_installed_program() {
    local exe=$1
    program=$exe
    user_home="$work/home"
    mkdir "$user_home"
    [ ! -w "$(dirname "$program")" ] || [ "$(id -u)" -eq 0 ] ||
        fail "the installed program's folder is writable"
    as_user=(env -u XDG_CONFIG_HOME HOME="$user_home")
    [ "$(id -u)" -eq 0 ] || return 0
    chmod 755 "$work"
    # The leak checker must read its suppressions as that user too.
    if [[ "${LSAN_OPTIONS:-}" =~ suppressions=([^:]*) ]]; then
        cp "${BASH_REMATCH[1]}" "$work/lsan.supp"
        chmod 644 "$work/lsan.supp"
        as_user+=(LSAN_OPTIONS="${LSAN_OPTIONS//${BASH_REMATCH[1]}/$work/lsan.supp}")
    fi
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups "${as_user[@]}")
}

# Hands the home and the working folder, as they now are, to that user.
give_to_user() {
    [ "$(id -u)" -eq 0 ] && chown -R nobody:nogroup "$user_home" "$work/wd"
    return 0
}

# The worked example as entered: prices in the settings (sections out of
# order, blank lines between, values as a user might type them, so Save must
# replace each value in place), appliances in the ledger without their
# derived values and without read-only marks.
place_worked_example() {
    cp "$1/worked_example/cfgfd.ini" "$work/app/cfgfd.ini"
    cp "$1/worked_example/pellion.csv" "$work/wd/pellion.csv"
}

listing() {
    (cd "$work" && find app wd -type f -printf '%p %s\n' | LC_ALL=C sort)
}

case_smoke() {
    start_program
    wait_for_main_window
    local title
    title=$(xdo getwindowname "$main_window")
    [ "$title" = "$window_title" ] || fail "the window is titled \"$title\""
    read_geometry
    [ "$width" -eq "$design_width" ] || fail "the window's client area is $width wide, not $design_width"
    [ "$height" -gt "$design_height" ] || fail "the window's client area is only $height high"
    program_running || fail "the program ended on its own"
}

save_worked_example_with() {
    local fixtures=$1 save=$2
    place_worked_example "$fixtures"
    start_program
    wait_for_main_window
    "$save"
    click_exit
    expect_clean_exit
    expect_same_bytes "$fixtures/worked_example/expected_pellion.csv" "$work/wd/pellion.csv"
    expect_same_bytes "$fixtures/worked_example/expected_cfgfd.ini" "$work/app/cfgfd.ini"
}

case_worked_example() {
    save_worked_example_with "$1" click_save
}

# Save Item is the full Save too: settings and the whole ledger.
case_worked_example_save_item() {
    save_worked_example_with "$1" click_save_item
}

# The user retypes the price; every keystroke recalculates. From the second
# pass on, Kettle has all three of volts, amperes and watts, so its wattage
# becomes volts times the rounded amperes (2000.011) and the costs follow.
case_typed_price() {
    local fixtures=$1
    place_worked_example "$fixtures"
    start_program
    wait_for_main_window
    click_price
    xdo key ctrl+a
    xdo type --delay 20 0.25
    expect_no_error_box
    click_save
    click_exit
    expect_clean_exit
    expect_same_bytes "$fixtures/typed_price/expected_pellion.csv" "$work/wd/pellion.csv"
    expect_same_bytes "$fixtures/typed_price/expected_cfgfd.ini" "$work/app/cfgfd.ini"
}

case_first_run() {
    local fixtures=$1
    start_program
    wait_for_main_window
    click_save
    click_exit
    expect_clean_exit
    expect_same_bytes "$fixtures/first_run/expected_pellion.csv" "$work/wd/pellion.csv"
    expect_same_bytes "$fixtures/first_run/expected_cfgfd.ini" "$work/app/cfgfd.ini"
    [ ! -e "$work/app/pellion.csv" ] || fail "the ledger was written beside the executable"
    [ ! -e "$work/wd/cfgfd.ini" ] || fail "the settings were written into the working directory"
}

# The caption is matched by its start, so that a wrong ending is reported as
# such; what the window system shows is what the user reads.
wait_for_exit_question() {
    wait_until 10 find_dialog '^Warning' ||
        fail "no \"Warning\" question appeared within 10 s of clicking Exit"
    local title
    title=$(xdo getwindowname "$dialog")
    [ "$title" = "Warning" ] || fail "the exit question is captioned \"$title\", not \"Warning\""
}

case_exit_without_saving() {
    local fixtures=$1
    place_worked_example "$fixtures"
    local before
    before=$(listing)
    start_program
    wait_for_main_window

    click_exit
    wait_for_exit_question
    note "Escape answers No"
    press_in_dialog Escape
    wait_until 10 window_gone '^Warning' || fail "the question stayed open after Escape"
    program_running || fail "the program ended although the answer was No"
    [ -n "$(window_named "^${window_title}\$")" ] || fail "the main window went away after No"

    click_exit
    wait_for_exit_question
    note "Enter answers Yes, the default"
    press_in_dialog Return
    expect_clean_exit

    local after
    after=$(listing)
    [ "$before" = "$after" ] || fail "files changed although nothing was saved: $(diff <(echo "$before") <(echo "$after"))"
    cmp -s "$fixtures/worked_example/cfgfd.ini" "$work/app/cfgfd.ini" || fail "cfgfd.ini was rewritten"
    cmp -s "$fixtures/worked_example/pellion.csv" "$work/wd/pellion.csv" || fail "pellion.csv was rewritten"
}

# A recalculation after Save marks the work unsaved again: Exit asks, and
# Yes leaves the files as that Save wrote them.
case_change_after_save() {
    local fixtures=$1
    place_worked_example "$fixtures"
    start_program
    wait_for_main_window
    click_save
    click_price
    xdo key ctrl+a
    xdo type 1
    click_exit
    wait_for_exit_question
    press_in_dialog Return
    expect_clean_exit
    expect_same_bytes "$fixtures/worked_example/expected_pellion.csv" "$work/wd/pellion.csv"
    expect_same_bytes "$fixtures/worked_example/expected_cfgfd.ini" "$work/app/cfgfd.ini"
}

# A setting that does not parse is reported while the window is built, in
# the application's error box; the window then opens and stays usable.
case_bad_setting() {
    local fixtures=$1
    cp "$fixtures/bad_setting/cfgfd.ini" "$work/app/cfgfd.ini"
    cp "$fixtures/worked_example/pellion.csv" "$work/wd/pellion.csv"
    local before
    before=$(listing)
    start_program
    wait_until 20 find_dialog '^Pellion$' ||
        fail "no error box captioned \"Pellion\" appeared within 20 s"
    press_in_dialog Return
    wait_until 10 window_gone '^Pellion$' || fail "the error box stayed open after Enter"
    wait_for_main_window

    click_exit
    wait_for_exit_question
    press_in_dialog Return
    expect_clean_exit
    [ "$before" = "$(listing)" ] || fail "files changed although nothing was saved"
}

# File > Save while a new name is still being typed into the first row: the
# typed name is saved, and the list being saved, Exit leaves at once.
case_menu_save_open_cell() {
    local fixtures=$1
    place_worked_example "$fixtures"
    start_program
    wait_for_main_window
    double_click_grid_cell "Kettle's name" 100 42
    sleep 0.3
    xdo key ctrl+a
    xdo type --delay 20 Toaster
    menu_file_save
    expect_no_error_box
    click_exit
    expect_clean_exit
    sed 's/"Kettle"/"Toaster"/' "$fixtures/worked_example/expected_pellion.csv" >"$work/expected_pellion.csv"
    expect_same_bytes "$work/expected_pellion.csv" "$work/wd/pellion.csv"
    expect_same_bytes "$fixtures/worked_example/expected_cfgfd.ini" "$work/app/cfgfd.ini"
}

# The installed program's folder cannot be written: the first Save makes the
# user's configuration folder and puts the settings there; the ledger goes to
# the working folder as always.
case_installed_first_run() {
    local fixtures=$1
    use_installed_program "$given_program"
    give_to_user
    start_program
    wait_for_main_window
    click_save
    click_exit
    expect_clean_exit
    expect_same_bytes "$fixtures/first_run/expected_cfgfd.ini" "$user_home/.config/pellion/cfgfd.ini"
    expect_same_bytes "$fixtures/first_run/expected_pellion.csv" "$work/wd/pellion.csv"
    [ ! -e "$(dirname "$program")/cfgfd.ini" ] || fail "the settings were written beside the program"
}

# Settings kept in the user's configuration folder are read from there at
# start and replaced there in place.
case_installed_worked_example() {
    local fixtures=$1
    use_installed_program "$given_program"
    mkdir -p "$user_home/.config/pellion"
    cp "$fixtures/worked_example/cfgfd.ini" "$user_home/.config/pellion/cfgfd.ini"
    cp "$fixtures/worked_example/pellion.csv" "$work/wd/pellion.csv"
    give_to_user
    start_program
    wait_for_main_window
    click_save
    click_exit
    expect_clean_exit
    expect_same_bytes "$fixtures/worked_example/expected_pellion.csv" "$work/wd/pellion.csv"
    expect_same_bytes "$fixtures/worked_example/expected_cfgfd.ini" "$user_home/.config/pellion/cfgfd.ini"
}

given_program=""

main() {
    if [ "${1:-}" = check ]; then
        check_tools
        return
    fi
    [ $# -eq 3 ] || fail "usage: $0 check | $0 CASE PELLION FIXTURES"
    local case_name=$1 exe=$2 fixtures=$3
    given_program=$exe
    declare -F "case_$case_name" >/dev/null || fail "no case named $case_name"
    [ -x "$exe" ] || fail "$exe is not an executable"
    local tool
    for tool in Xvfb xdotool xdpyinfo; do
        command -v "$tool" >/dev/null || fail "$tool is missing: run sh scripts/setup.sh test"
    done
    trap cleanup EXIT
    trap 'exit 130' INT TERM
    prepare "$exe"
    start_display
    note "display $DISPLAY"
    "case_$case_name" "$fixtures"
    note "$case_name passed"
}

main "$@"
