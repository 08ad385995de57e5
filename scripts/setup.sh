#!/bin/sh
# Installs the Debian packages Pellion needs that are not yet on this machine.
#   setup.sh run    what building and running the program needs
#   setup.sh test   that, plus what the test suite uses (printing, PDF tools, a virtual display)
set -eu

run_packages="cmake ninja-build clang libclang-rt-dev qt6-base-dev fonts-liberation"
test_packages="libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth cups printer-driver-cups-pdf poppler-utils x11-utils xdotool"

wanted=$run_packages
[ "${1:-run}" = test ] && wanted="$run_packages $test_packages"

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
