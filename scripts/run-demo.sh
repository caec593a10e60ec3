#!/usr/bin/env bash
# Starts the program. When no data folder is configured yet (no kavinaextra.ini beside the
# program), a demo data folder is made in build/demo-data with kavina-db init --demo and the
# ini file is written to point at it, so the program opens on a small shop at once.
set -euo pipefail
cd "$(dirname "$0")/.."
bin="$PWD/build/bin"
if [ ! -x "$bin/kavina" ]; then
  echo "kavina is not built: run make build first." >&2
  exit 1
fi
ini="$bin/kavinaextra.ini"
if [ ! -f "$ini" ]; then
  demo="$PWD/build/demo-data"
  if [ ! -f "$demo/user.dbf" ]; then
    "$bin/kavina-db" init --demo "$demo"
  fi
  printf "[adatok]\ndatabase='%s/'\nkilepett=1\n" "$demo" > "$ini"
  echo "Data folder: $demo (remove $ini to choose another one)"
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display: run it under a desktop session, or with xvfb-run -a make run." >&2
fi
exec "$bin/kavina" "$@"
