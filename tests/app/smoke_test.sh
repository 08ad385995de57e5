#!/bin/sh
# Starts the built program on a virtual X display as a user would, and checks
# that it keeps running with its main window on the screen.
#   smoke_test.sh <pellion executable>
set -u
program=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

xvfb-run -a sh -c '
  cd "$1" || exit 1
  QT_QPA_PLATFORM=xcb "$2" >"$1/out.log" 2>&1 &
  pid=$!
  found=no
  for i in $(seq 1 60); do
    if ! kill -0 "$pid" 2>/dev/null; then
      echo "pellion ended early"; cat "$1/out.log"; exit 1
    fi
    if xwininfo -root -tree | grep -F "\"Orvane - Pellion\"" >/dev/null; then
      found=yes; break
    fi
    sleep 0.5
  done
  xwininfo -root -tree | grep -F "Pellion"
  kill "$pid"
  wait "$pid" 2>/dev/null
  [ "$found" = yes ] || { echo "no main window"; cat "$1/out.log"; exit 1; }
' smoke "$work" "$program"
