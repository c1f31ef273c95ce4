#!/usr/bin/env bash
# Installs the program already built into a throwaway DESTDIR and checks what a desktop
# makes of it: the desktop entry, the MIME type of .dsn files, the man page, the icons.
# Usage: check-install.sh BUILD_DIR VERSION   (CMAKE names the cmake program)
set -euo pipefail
build=$1
version=$2
cmake=${CMAKE:-cmake}

for tool in desktop-file-validate update-mime-database xmllint man file; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is missing (bash scripts/install-deps.sh --test installs it)"
        exit 77
    fi
done

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
DESTDIR=$root "$cmake" --install "$build" --prefix /usr >/dev/null
share=$root/usr/share

status=0
fail() {
    echo "FAIL: $*" >&2
    status=1
}

[[ -x $root/usr/bin/brindle ]] || fail "no usr/bin/brindle"

# Desktop entry: valid without a single remark, and opening .dsn files with brindle.
desktop=$share/applications/brindle.desktop
remarks=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate refused it"
[[ -z $remarks ]] || fail "desktop-file-validate: $remarks"
for line in 'Exec=brindle %f' 'Icon=brindle' 'MimeType=application/x-odbc-dsn;' \
    "X-Brindle-Version=$version"; do
    grep -qxF "$line" "$desktop" || fail "desktop entry lacks '$line'"
done

# MIME type: valid against the document type shared-mime-info ships with its own
# package file, and taken in by update-mime-database without a warning.
mime=$share/mime/packages/brindle.xml
reference=/usr/share/mime/packages/freedesktop.org.xml
if grep -q '<!DOCTYPE mime-info \[' "$reference" 2>/dev/null; then
    sed -n '/<!DOCTYPE mime-info \[/,/^\]>/p' "$reference" | sed '1d;$d' >"$root/mime-info.dtd"
    xmllint --noout --dtdvalid "$root/mime-info.dtd" "$mime" || fail "$mime is not valid"
else
    xmllint --noout "$mime" || fail "$mime is not well-formed"
fi
# Named as a data folder, so it does not remark that the desktop would not look there.
remarks=$(XDG_DATA_DIRS=$share update-mime-database "$share/mime" 2>&1) ||
    fail "update-mime-database refused it"
[[ -z $remarks ]] || fail "update-mime-database: $remarks"
grep -q ':application/x-odbc-dsn:\*\.dsn$' "$share/mime/globs2" ||
    fail "*.dsn is not application/x-odbc-dsn"

# Man page: renders without a warning and names the version.
page=$share/man/man1/brindle.1
remarks=$(LC_ALL=C MANWIDTH=80 man --warnings -l "$page" 2>&1 >"$root/brindle.txt") ||
    fail "man -l failed"
[[ -z $remarks ]] || fail "man: $remarks"
grep -q "brindle - database browser" "$root/brindle.txt" || fail "the man page has no NAME line"
grep -q "Brindle $version" "$root/brindle.txt" || fail "the man page does not name $version"

# Icons: a PNG of the right size in every hicolor folder, and the scalable one.
for size in 16 32 48 64 128 256; do
    icon=$share/icons/hicolor/${size}x$size/apps/brindle.png
    file -b "$icon" 2>/dev/null | grep -q "^PNG image data, $size x $size," ||
        fail "no ${size}x$size icon"
done
xmllint --noout "$share/icons/hicolor/scalable/apps/brindle.svg" || fail "no scalable icon"

exit "$status"
