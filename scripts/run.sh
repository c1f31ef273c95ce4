#!/usr/bin/env bash
# Builds Brindle and opens it on the demo shop database.
# Run as root on Debian 12:  bash scripts/run.sh
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."
ROOT=$(pwd)

bash scripts/install-deps.sh

echo "== Configuring and building in $ROOT/build"
cmake -S "$ROOT" -B "$ROOT/build" -DCMAKE_BUILD_TYPE=Release -DBRINDLE_TESTS=OFF
cmake --build "$ROOT/build" -j"$(nproc)"

DEMO_DB="$ROOT/samples/demo.db"
DEMO_DSN="$ROOT/samples/demo.dsn"
# Built again when demo.sql has changed since.
if [[ ! -f "$DEMO_DB" || "$ROOT/samples/demo.sql" -nt "$DEMO_DB" ]]; then
    echo "== Building $DEMO_DB"
    # Build beside the target and move it in, so a failed build leaves no half database.
    tmp_db="$DEMO_DB.tmp.$$"
    rm -f "$tmp_db"
    if ! sqlite3 -bail "$tmp_db" <"$ROOT/samples/demo.sql"; then
        rm -f "$tmp_db"
        echo "run.sh: could not build the demo database from samples/demo.sql" >&2
        exit 1
    fi
    mv "$tmp_db" "$DEMO_DB"
fi

# An ODBC File DSN, as Brindle itself writes them: CR LF line ends.
printf '[ODBC]\r\nDRIVER=SQLite3\r\nDATABASE=%s\r\n' "$DEMO_DB" >"$DEMO_DSN"

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    echo
    echo "Brindle is built, but there is no display (DISPLAY and WAYLAND_DISPLAY are empty)."
    echo "To run it on a virtual screen, from $ROOT:"
    echo
    echo "    xvfb-run -a -s \"-screen 0 1280x800x24\" build/brindle samples/demo.dsn"
    echo
    exit 0
fi

echo "== Starting build/brindle samples/demo.dsn"
exec build/brindle samples/demo.dsn
