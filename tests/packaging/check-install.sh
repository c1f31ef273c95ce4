#!/usr/bin/env bash
# Installs the program already built into a throwaway DESTDIR and checks what a desktop
# makes of it: the desktop entry, the MIME type of .dsn files, the man page, the icons, and
# what a software centre makes of it: the AppStream metainfo.
# Usage: check-install.sh BUILD_DIR VERSION   (CMAKE names the cmake program)
set -euo pipefail
build=$1
version=$2
cmake=${CMAKE:-cmake}

for tool in desktop-file-validate update-mime-database xmllint man file appstreamcli; do
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

# Man page: compressed as Debian wants, renders without a warning and names the version.
page=$share/man/man1/brindle.1.gz
file -b "$page" 2>/dev/null | grep -q "^gzip compressed data, max compression" ||
    fail "the man page is not gzip -9 compressed"
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

# AppStream metainfo: one file, named after its id, valid without an error or a warning
# (--no-net: the screenshot's address is not fetched), launching the desktop entry above,
# with a release entry for this version and a screenshot from the source tree's docs/.
metainfos=("$share"/metainfo/*.metainfo.xml)
if ((${#metainfos[@]} != 1)) || [[ ! -f ${metainfos[0]} ]]; then
    fail "not one file in share/metainfo: ${metainfos[*]}"
else
    metainfo=${metainfos[0]}
    xpath() { xmllint --xpath "string($1)" "$metainfo"; }
    id=$(xpath /component/id)
    [[ $(basename "$metainfo") == "$id.metainfo.xml" ]] || fail "$metainfo is not named after its id $id"
    [[ $id =~ ^[a-z0-9]+(\.[a-z0-9_]+){2,}$ ]] || fail "the id $id is not a reverse domain name"
    report=$(appstreamcli validate --no-net "$metainfo" 2>&1) || fail "appstreamcli refused it: $report"
    ! grep -E '^[EW]: ' <<<"$report" || fail "appstreamcli: errors or warnings above"
    # The whole tree: the desktop entry the metainfo launches is there and agrees with it.
    report=$(appstreamcli validate-tree --no-net "$root" 2>&1) ||
        fail "appstreamcli refused the tree: $report"
    [[ $(xpath "/component/launchable[@type='desktop-id']") == brindle.desktop ]] ||
        fail "the metainfo does not launch brindle.desktop"
    [[ $(xpath "/component/releases/release[1]/@version") == "$version" ]] ||
        fail "the newest release in the metainfo is not $version"
    [[ $(xpath "count(/component/content_rating[@type='oars-1.1'])") == 1 ]] ||
        fail "the metainfo has no content rating"
    image=$(xpath "/component/screenshots/screenshot[@type='default']/image")
    source=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
    [[ $image == https://*/docs/* && -f $source/docs/${image##*/docs/} ]] ||
        fail "the screenshot $image is not a picture in docs/"
fi

# Copyright and changelog, where Debian looks for them.
doc=$share/doc/brindle
grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' "$doc/copyright" 2>/dev/null ||
    fail "no machine-readable copyright file"
[[ $(gzip -dc "$doc/changelog.gz" 2>/dev/null | head -1) == "brindle ($version) "* ]] ||
    fail "the changelog does not begin with $version"

exit "$status"
