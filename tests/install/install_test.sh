#!/bin/bash
# Pellion as installed: `cmake --install` into a prefix of its own, checked as
# a desktop would see it, and the installed program run by an unprivileged
# user from a fresh home, as on a machine where Pellion came from a package.
#
#   install_test.sh files BUILD PREFIX SOURCE APP_ID     installs, checks the tree
#                                                        and validates the desktop files
#   install_test.sh command_line PREFIX VERSION          --help, --version, a bad option
#   install_test.sh remove PREFIX                        removes the install again
#   install_test.sh package BUILD VERSION                the Debian package from BUILD
#
# The prefix lies in the system's temporary folder so that the unprivileged
# user can reach it; owned by root, it is read-only for that user.
set -euo pipefail

readonly user=nobody
readonly group=nogroup

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

note() {
    echo "-- $*"
}

scratch=""
cleanup() {
    [ -n "$scratch" ] && rm -rf "$scratch"
    return 0
}
trap cleanup EXIT

# A folder the unprivileged user may write, for its home and working folder.
make_scratch() {
    scratch=$(mktemp -d "${TMPDIR:-/tmp}/pellion-install-test.XXXXXX")
    chmod 755 "$scratch"
    mkdir "$scratch/home" "$scratch/wd"
    if [ "$(id -u)" -eq 0 ]; then
        chown "$user:$group" "$scratch/home" "$scratch/wd"
    fi
}

# Runs a command as the unprivileged user (as root: dropping to $user), with
# the fresh home, in the working folder, and with no display to open.
run_as_user() {
    local drop=()
    if [ "$(id -u)" -eq 0 ]; then
        getent passwd "$user" >/dev/null || fail "no user $user to run the installed program as"
        drop=(setpriv --reuid="$user" --regid="$group" --clear-groups)
    fi
    (cd "$scratch/wd" && exec "${drop[@]}" env -u DISPLAY -u WAYLAND_DISPLAY \
        -u XDG_CONFIG_HOME HOME="$scratch/home" "$@")
}

# The files an install must hold, relative to the prefix, sorted.
expected_tree() {
    local source=$1 id=$2 size page
    {
        echo "bin/pellion"
        echo "share/applications/$id.desktop"
        echo "share/metainfo/$id.metainfo.xml"
        echo "share/icons/hicolor/scalable/apps/$id.svg"
        for size in 16 24 32 48 64 128 256; do
            echo "share/icons/hicolor/${size}x${size}/apps/$id.png"
        done
        echo "share/man/man1/pellion.1"
        for page in "$source"/help/*; do
            echo "share/pellion/help/$(basename "$page")"
        done
    } | LC_ALL=C sort
}

# The value of KEY in the desktop entry's main group.
desktop_value() {
    sed -n "s/^$2=//p" "$1" | head -n 1
}

case_files() {
    local build=$1 prefix=$2 source=$3 id=$4
    rm -rf "$prefix"
    note "cmake --install $build --prefix $prefix"
    cmake --install "$build" --prefix "$prefix" >/dev/null
    chmod -R a-w "$prefix"

    local got
    got=$(cd "$prefix" && find . -type f -printf '%P\n' | LC_ALL=C sort)
    if [ "$got" != "$(expected_tree "$source" "$id")" ]; then
        diff <(expected_tree "$source" "$id") <(echo "$got") >&2 || true
        fail "the installed files differ from the expected tree (< expected, > installed)"
    fi
    [ -x "$prefix/bin/pellion" ] || fail "bin/pellion is not executable"
    local page
    for page in "$source"/help/*; do
        cmp -s "$page" "$prefix/share/pellion/help/$(basename "$page")" ||
            fail "the installed help page $(basename "$page") differs from its source"
    done

    local size
    for size in 16 24 32 48 64 128 256; do
        file -b "$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png" |
            grep -q "^PNG image data, $size x $size," ||
            fail "the ${size}x${size} icon is not a PNG of that size"
    done

    local desktop="$prefix/share/applications/$id.desktop"
    note "desktop-file-validate"
    desktop-file-validate "$desktop" || fail "the desktop entry does not validate"
    local key
    for key in Name GenericName Comment Icon Exec Categories Keywords; do
        [ -n "$(desktop_value "$desktop" "$key")" ] || fail "the desktop entry has no $key"
    done
    [ "$(desktop_value "$desktop" Icon)" = "$id" ] || fail "the menu entry's icon is not $id"
    [ "$(desktop_value "$desktop" Exec)" = pellion ] || fail "the menu entry does not start pellion"

    local metainfo="$prefix/share/metainfo/$id.metainfo.xml"
    note "appstreamcli validate"
    appstreamcli validate --no-net "$metainfo" || fail "the metainfo does not validate"
    grep -q "<id>$id</id>" "$metainfo" || fail "the metainfo's id is not $id"
    grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
        fail "the metainfo does not launch $id.desktop"
    grep -q "<project_license>MIT</project_license>" "$metainfo" || fail "the metainfo's licence is not MIT"

    note "groff -man -ww"
    local warnings
    warnings=$(LC_ALL=C.UTF-8 groff -man -ww -z "$prefix/share/man/man1/pellion.1" 2>&1)
    [ -z "$warnings" ] || fail "the manual page formats with warnings: $warnings"
}

case_command_line() {
    local prefix=$1 version=$2
    make_scratch
    local out status

    note "pellion --version"
    out=$(run_as_user "$prefix/bin/pellion" --version) || fail "--version ended with status $?"
    [ "$out" = "Pellion $version" ] || fail "--version printed \"$out\""

    note "pellion --help"
    out=$(run_as_user "$prefix/bin/pellion" --help) || fail "--help ended with status $?"
    local expected
    for expected in "$scratch/home/.config/pellion/cfgfd.ini" "$scratch/wd/pellion.csv" \
        "$prefix/share/pellion/help"; do
        grep -qxF "    $expected" <<<"$out" || fail "--help does not name $expected:
$out"
    done
    [ -z "$(ls -A "$scratch/home")" ] || fail "--help wrote into the home folder"

    # Even a user who may write the prefix (root under /usr, anyone under
    # ~/.local) keeps the settings of an installed Pellion in the own home.
    note "pellion --help as the user who installed it"
    mkdir "$scratch/own-home"
    out=$(cd "$scratch/wd" && env -u DISPLAY -u XDG_CONFIG_HOME HOME="$scratch/own-home" \
        "$prefix/bin/pellion" --help) || fail "--help ended with status $?"
    grep -qxF "    $scratch/own-home/.config/pellion/cfgfd.ini" <<<"$out" ||
        fail "--help puts the installing user's settings elsewhere:
$out"

    note "pellion --bogus"
    status=0
    out=$(run_as_user "$prefix/bin/pellion" --bogus 2>"$scratch/stderr") || status=$?
    [ "$status" -eq 2 ] || fail "an unknown option ended with status $status, not 2"
    [ -z "$out" ] || fail "an unknown option printed \"$out\" on the output stream"
    grep -qF "Unknown option 'bogus'" "$scratch/stderr" ||
        fail "an unknown option was not named: $(cat "$scratch/stderr")"
}

case_remove() {
    local prefix=$1
    [ -d "$prefix" ] || return 0
    chmod -R u+w "$prefix"
    rm -rf "$prefix"
}

# The package as `cpack -G DEB` makes it, taken apart: its dependencies come
# from the program's libraries, and the program unpacked from it runs and
# finds its help pages in the package's data folder.
case_package() {
    local build=$1 version=$2
    make_scratch
    note "cpack -G DEB"
    cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1 ||
        fail "cpack failed: $(cat "$scratch/cpack.log")"
    local debs=("$scratch"/out/pellion_*.deb)
    [ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "no single pellion_*.deb was made"
    local deb=${debs[0]}

    [ "$(dpkg-deb -f "$deb" Package)" = pellion ] || fail "the package is not named pellion"
    [ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "the package's version is not $version"
    local depends names library
    depends=$(dpkg-deb -f "$deb" Depends)
    names=$(tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/ .*//')
    for library in libc6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libstdc++6; do
        grep -qxF "$library" <<<"$names" || fail "the package does not depend on $library: $depends"
    done

    local contents
    contents=$(dpkg-deb -c "$deb" | awk '{print $NF}')
    local expected
    for expected in ./usr/bin/pellion ./usr/share/pellion/help/index.htm \
        ./usr/share/applications/ ./usr/share/metainfo/ ./usr/share/man/man1/pellion.1; do
        grep -qF "$expected" <<<"$contents" || fail "the package holds no $expected"
    done

    note "the program unpacked from the package"
    dpkg-deb -x "$deb" "$scratch/root"
    chmod -R a-w "$scratch/root"
    local out
    out=$(run_as_user "$scratch/root/usr/bin/pellion" --version) || fail "--version failed"
    [ "$out" = "Pellion $version" ] || fail "--version printed \"$out\""
    out=$(run_as_user "$scratch/root/usr/bin/pellion" --help) || fail "--help failed"
    grep -qxF "    $scratch/root/usr/share/pellion/help" <<<"$out" ||
        fail "the unpacked program does not find its help pages:
$out"
    chmod -R u+w "$scratch/root"
}

main() {
    local case_name=${1:-}
    shift || true
    declare -F "case_$case_name" >/dev/null || fail "usage: $0 files|command_line|remove|package ..."
    "case_$case_name" "$@"
    note "$case_name passed"
}

main "$@"
