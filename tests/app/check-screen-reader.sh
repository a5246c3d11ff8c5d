#!/usr/bin/env bash
# Runs screen_reader_tree.py on a private D-Bus session under a virtual
# display, the program in a scratch home. Skipped (77) only where no D-Bus
# session can be started.
set -euo pipefail
program=$1
project=$2
here=$(cd "$(dirname "$0")" && pwd)

if ! command -v dbus-run-session >/dev/null || ! dbus-run-session -- true 2>/dev/null; then
  echo "check-screen-reader: no D-Bus session can be started here; skipped" >&2
  exit 77
fi

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export HOME=$scratch/home XDG_CONFIG_HOME=$scratch/config XDG_STATE_HOME=$scratch/state
export XDG_DATA_HOME=$scratch/data
# The program's own runtime folder (its lock), handed to it alone: with it
# set for the whole session the accessibility bus left the display unreachable.
export PONDERIX_RUNTIME_DIR=$scratch/runtime
mkdir -p "$HOME" "$PONDERIX_RUNTIME_DIR"
chmod 700 "$PONDERIX_RUNTIME_DIR"
# The system's Python: python3-pyatspi is a Debian package.
# A display number of its own, away from the ones other test runs start at.
xvfb-run -a -n $((200 + RANDOM % 600)) dbus-run-session -- /usr/bin/python3 "$here/screen_reader_tree.py" "$program" "$project"
