#!/bin/sh
# Test set-up for the printing tests: a running CUPS scheduler with a cups-pdf
# queue "PellionPDF" as the default printer. Debian's cups,
# printer-driver-cups-pdf and poppler-utils must be installed (scripts/setup.sh
# test installs them); without them the set-up fails and says so.
#
#   cups-setup.sh [STATE_FILE]            set up; note in STATE_FILE what was started
#                                         and keep the default-printer files beside it
#   cups-setup.sh --cleanup STATE_FILE    undo what the set-up noted: put the previous
#                                         default printer back, remove the queue it
#                                         added, stop the scheduler it started
set -eu

QUEUE=PellionPDF

as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    else
        sudo "$@"
    fi
}

# The files in which lpoptions, run as below, may keep its default printer:
# the system-wide one and the one in its user's home.
lpoptions_files() {
    echo /etc/cups/lpoptions
    home=$(as_root sh -c 'printf %s "$HOME"')
    if [ -n "$home" ]; then
        echo "$home/.cups/lpoptions"
    fi
}

if [ "${1:-}" = "--cleanup" ]; then
    state=${2:?state file}
    [ -f "$state" ] || exit 0
    # lpoptions cannot forget a default, so its files go back as they were.
    grep '^lpoptions ' "$state" | while read -r _ how n file; do
        if [ "$how" = kept ]; then
            as_root cp "$state.lpoptions$n" "$file" || true
        else
            as_root rm -f "$file"
        fi
        rm -f "$state.lpoptions$n"
    done
    if grep -q '^queue$' "$state"; then
        as_root lpadmin -x "$QUEUE" || true
    fi
    pid=$(sed -n 's/^cupsd //p' "$state")
    if [ -n "$pid" ]; then
        as_root kill "$pid" 2>/dev/null || true
    fi
    rm -f "$state"
    exit 0
fi
state=${1:-/dev/null}
if [ "$state" != /dev/null ]; then
    : >"$state"
fi

missing=""
for package in cups printer-driver-cups-pdf poppler-utils; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $package"
    fi
done
if [ -n "$missing" ]; then
    echo "cups-setup: missing Debian packages:$missing (sh scripts/setup.sh test installs them)" >&2
    exit 1
fi

if ! lpstat -r >/dev/null 2>&1 || lpstat -r 2>&1 | grep -q "not running"; then
    if command -v systemctl >/dev/null 2>&1 && systemctl is-system-running >/dev/null 2>&1; then
        as_root systemctl start cups
    else
        as_root /usr/sbin/cupsd
    fi
    started=1
    tries=0
    until lpstat -r 2>/dev/null | grep -q "is running"; do
        tries=$((tries + 1))
        if [ "$tries" -gt 50 ]; then
            echo "cups-setup: the CUPS scheduler did not start" >&2
            exit 1
        fi
        sleep 0.2
    done
    if [ "${started:-0}" = 1 ] && [ -f /run/cups/cupsd.pid ]; then
        echo "cupsd $(cat /run/cups/cupsd.pid)" >>"$state"
    fi
fi

if ! lpstat -p "$QUEUE" >/dev/null 2>&1; then
    ppd=$(lpinfo -m 2>/dev/null | awk '/CUPS-PDF_opt\.ppd/ { print $1; exit }')
    if [ -z "$ppd" ]; then
        ppd=$(lpinfo -m 2>/dev/null | awk 'tolower($0) ~ /cups-pdf/ { print $1; exit }')
    fi
    if [ -z "$ppd" ]; then
        echo "cups-setup: no cups-pdf driver found by lpinfo -m" >&2
        exit 1
    fi
    as_root lpadmin -p "$QUEUE" -v cups-pdf:/ -m "$ppd" -E
    echo queue >>"$state"
fi
as_root cupsenable "$QUEUE" 2>/dev/null || true
as_root cupsaccept "$QUEUE" 2>/dev/null || true
if [ "$state" != /dev/null ]; then
    n=0
    lpoptions_files | while read -r file; do
        n=$((n + 1))
        if as_root test -f "$file"; then
            as_root cat "$file" >"$state.lpoptions$n"
            echo "lpoptions kept $n $file" >>"$state"
        else
            echo "lpoptions absent $n $file" >>"$state"
        fi
    done
fi
as_root lpoptions -d "$QUEUE" >/dev/null
echo "cups-setup: $QUEUE ready as the default printer"
