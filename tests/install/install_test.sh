#!/usr/bin/env bash
# `cmake --install` into a scratch prefix: the three programs, the desktop entry (checked by
# desktop-file-validate) and the icon, and the installed dashboard's command line.
set -euo pipefail
build=$1
ui=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
for program in pelor-sim pelor-decode; do
    [ -x "$prefix/bin/$program" ] || fail "bin/$program not installed"
done
if [ "$ui" = 1 ]; then
    [ -x "$prefix/bin/pelor" ] || fail "bin/pelor not installed"
    entry="$prefix/share/applications/pelor.desktop"
    [ -f "$entry" ] || fail "desktop entry not installed"
    desktop-file-validate "$entry" || fail "desktop entry does not validate"
    icon="$prefix/share/icons/hicolor/scalable/apps/pelor.svg"
    [ -f "$icon" ] || fail "icon not installed"
    grep -q '^Icon=pelor$' "$entry" || fail "the entry names another icon"
    grep -q '^Exec=pelor' "$entry" || fail "the entry starts another program"
    grep -q '<svg' "$icon" || fail "the icon is not an SVG picture"

    [ "$("$prefix/bin/pelor" --version)" = "pelor 3.04" ] || fail "--version"
    "$prefix/bin/pelor" --help | grep -q -- '--project FILE' || fail "--help lacks --project"
    rc=0; "$prefix/bin/pelor" --no-such-option >/dev/null 2>&1 || rc=$?
    [ "$rc" = 2 ] || fail "an unknown option gave exit $rc, not 2"
    rc=0; "$prefix/bin/pelor" --project "$prefix/missing.cdp" >/dev/null 2>&1 || rc=$?
    [ "$rc" = 2 ] || fail "a missing project gave exit $rc, not 2"
fi
echo "install: 1 passed, 0 failed"
