#!/bin/sh
# Installs the Debian packages Pellion needs that are not yet on this machine.
#   setup.sh run      what building and running the program needs
#   setup.sh package  that, plus what building its Debian package needs
#   setup.sh test     all of that, plus what the test suite uses (printing, PDF tools, a
#                     virtual display, the desktop entry and metainfo validators)
set -eu

run_packages="cmake ninja-build clang libclang-rt-dev qt6-base-dev fonts-liberation"
package_packages="dpkg-dev file"
test_packages="desktop-file-utils appstream groff-base libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth xdotool x11-utils cups printer-driver-cups-pdf poppler-utils"

case "${1:-run}" in
  run) wanted=$run_packages ;;
  package) wanted="$run_packages $package_packages" ;;
  test) wanted="$run_packages $package_packages $test_packages" ;;
  *) echo "usage: $0 [run|package|test]" >&2; exit 2 ;;
esac

missing=""
for p in $wanted; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing:$missing"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
