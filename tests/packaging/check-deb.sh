#!/usr/bin/env bash
# Makes the Debian package from the program already built, checks its control fields,
# has lintian check the whole package, unpacks it into a throwaway root and runs the
# program from there.
# Usage: check-deb.sh BUILD_DIR VERSION   (CPACK names the cpack program)
set -euo pipefail
build=$1
version=$2
cpack=${CPACK:-cpack}

for tool in dpkg-deb dpkg-shlibdeps dpkg-query lintian; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is missing (bash scripts/install-deps.sh --test installs it)"
        exit 77
    fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Plain cpack first builds every target of the tree (its preinstall step). The program
# is built already: run the tree's own install script instead, as cpack would.
cat >"$work/install.cmake" <<SCRIPT
set(CMAKE_INSTALL_PREFIX /usr)
set(CMAKE_INSTALL_DO_STRIP 1)
include("$build/cmake_install.cmake")
SCRIPT
cat >"$work/config.cmake" <<SCRIPT
include("$build/CPackConfig.cmake")
set(CPACK_INSTALL_CMAKE_PROJECTS "")
set(CPACK_INSTALL_SCRIPTS "$work/install.cmake")
SCRIPT
if ! "$cpack" -G DEB -B "$work/out" --config "$work/config.cmake" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log" >&2
    echo "FAIL: cpack -G DEB" >&2
    exit 1
fi
debs=("$work"/out/brindle_*.deb)
if ((${#debs[@]} != 1)) || [[ ! -f ${debs[0]} ]]; then
    echo "FAIL: cpack made no brindle_*.deb" >&2
    exit 1
fi
deb=${debs[0]}

status=0
fail() {
    echo "FAIL: $*" >&2
    status=1
}

[[ $(dpkg-deb -f "$deb" Package) == brindle ]] || fail "the package is not named brindle"
[[ $(dpkg-deb -f "$deb" Version) == "$version" ]] || fail "the package version is not $version"

# Depends comes from the linked libraries: the driver manager and Qt at least.
depends=$(dpkg-deb -f "$deb" Depends)
for library in libodbc libqt6widgets6 libc6; do
    grep -Eq "(^|, )$library" <<<"$depends" || fail "Depends lacks $library: $depends"
done
recommends=$(dpkg-deb -f "$deb" Recommends)
for driver in libsqliteodbc odbc-postgresql; do
    grep -Eq "(^|, )$driver(,|$| )" <<<"$recommends" || fail "Recommends lacks $driver"
done

# The dependency check dpkg would make: each one (or one of its alternatives) installed here.
IFS=',' read -ra clauses <<<"$depends"
for clause in "${clauses[@]}"; do
    met=0
    IFS='|' read -ra alternatives <<<"$clause"
    for alternative in "${alternatives[@]}"; do
        name=$(awk '{print $1}' <<<"$alternative")
        name=${name%%:*}
        if [[ $(dpkg-query -W -f='${Status}' "$name" 2>/dev/null) == "install ok installed" ]]; then
            met=1
        fi
    done
    ((met)) || fail "dependency not installed here: $clause"
done

# What a distribution asks of a package: lintian at its default level finds nothing (no
# error, no warning). With the hardening options on, not even its hardening remarks.
report=$(lintian --display-info "$deb" 2>/dev/null) || fail "lintian failed: $report"
! grep -E '^[EW]: ' <<<"$report" || fail "lintian: errors or warnings above"
if [[ ${HARDENING:-ON} == ON ]]; then
    ! grep -E '^I: .* hardening-' <<<"$report" || fail "lintian: the program is not hardened"
fi

dpkg-deb -x "$deb" "$work/root"
for path in usr/bin/brindle usr/share/applications/brindle.desktop \
    usr/share/mime/packages/brindle.xml usr/share/man/man1/brindle.1.gz \
    usr/share/doc/brindle/copyright usr/share/doc/brindle/changelog.gz \
    usr/share/icons/hicolor/256x256/apps/brindle.png usr/share/icons/hicolor/scalable/apps/brindle.svg; do
    [[ -e $work/root/$path ]] || fail "the package lacks /$path"
done
compgen -G "$work/root/usr/share/metainfo/*.metainfo.xml" >/dev/null ||
    fail "the package lacks its AppStream metainfo"

# The unpacked program runs, headless, and tells its version.
if output=$(env -u DISPLAY -u WAYLAND_DISPLAY "$work/root/usr/bin/brindle" --version); then
    [[ $output == "Brindle Version $version " ]] || fail "brindle --version printed '$output'"
else
    fail "brindle --version exited with $?"
fi

exit "$status"
