#!/usr/bin/env bash
# Installs the packages Brindle needs to build, test and run on Debian 12.
# Usage: scripts/install-deps.sh [--package] [--test]
#   --package  adds what `cpack -G DEB` needs to make the Debian package (file, and
#              dpkg-shlibdeps from dpkg-dev, which find the package's dependencies)
#   --test     adds that too, with the PostgreSQL, MariaDB and FTP servers, the MariaDB ODBC
#              driver, poppler-utils, whose pdftotext and pdftoppm read the printing tests' PDF
#              files, and the tools that check the install tree and the Debian package
# Quick and silent when everything is already there.
set -euo pipefail

packages=(
    build-essential cmake pkg-config qt6-base-dev libgl1-mesa-dev
    unixodbc unixodbc-dev libodbccr2 libsqliteodbc odbc-postgresql sqlite3
    libcurl4-openssl-dev googletest libgtest-dev libbenchmark-dev xvfb xauth
)
package_tools=(file dpkg-dev)
for arg in "$@"; do
    case "$arg" in
    --package)
        packages+=("${package_tools[@]}")
        ;;
    --test)
        packages+=("${package_tools[@]}")
        # python3-openssl and openssl: the FTP servers over TLS and their throwaway CA.
        packages+=(postgresql-15 mariadb-server odbc-mariadb poppler-utils python3-pyftpdlib
            python3-openssl openssl)
        # desktop-file-validate, update-mime-database, xmllint, man; lintian and appstreamcli
        # check the package and its AppStream metainfo.
        packages+=(desktop-file-utils shared-mime-info libxml2-utils man-db lintian appstream)
        ;;
    *)
        echo "usage: $0 [--package] [--test]" >&2
        exit 2
        ;;
    esac
done

missing=()
for pkg in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
    if [[ "$status" != "install ok installed" ]]; then
        missing+=("$pkg")
    fi
done

if ((${#missing[@]} == 0)); then
    exit 0
fi

if [[ $(id -u) -ne 0 ]]; then
    echo "Missing packages: ${missing[*]}" >&2
    echo "Run this script as root (or install them with sudo apt-get install)." >&2
    exit 1
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update
apt-get install -y --no-install-recommends "${missing[@]}"
