#!/bin/sh
# Test set-up for the printing tests: a running CUPS scheduler with a cups-pdf
# queue "PellionPDF" as the default printer. Installs Debian's cups,
# printer-driver-cups-pdf and poppler-utils when they are missing.
#
#   cups-setup.sh [STATE_FILE]            set up; note in STATE_FILE what was started
#   cups-setup.sh --cleanup STATE_FILE    undo what the set-up noted: remove the
#                                         queue it added, stop the scheduler it started
set -eu

QUEUE=PellionPDF

as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    else
        sudo "$@"
    fi
}

if [ "${1:-}" = "--cleanup" ]; then
    state=${2:?state file}
    [ -f "$state" ] || exit 0
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
    as_root apt-get update
    # shellcheck disable=SC2086
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $missing
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
as_root lpoptions -d "$QUEUE" >/dev/null
echo "cups-setup: $QUEUE ready as the default printer"
