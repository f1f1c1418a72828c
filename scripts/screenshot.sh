#!/usr/bin/env bash
# Takes docs/main-window.png: the first view of the main window on the sample
# library (written with its book, so the genres show as covers), under Xvfb, in a
# Wine prefix of its own (the user's settings are not touched).
set -uo pipefail
. "$(dirname "$0")/common.sh"

sonavel_install_packages || { sonavel_log "package installation failed"; exit 1; }
sonavel_build x86_64 sonavel_program sample_library remote_control >/dev/null || { sonavel_log "build failed"; exit 1; }
export WINEPREFIX=$SONAVEL_BUILD/screenshot-prefix
sonavel_wine_env
SONAVEL_FORCE_XVFB=1
trap sonavel_stop_session EXIT
sonavel_start_xvfb || exit 1
sonavel_prepare_prefix || exit 1
sonavel_start_wineserver

bin=$SONAVEL_BUILD/x86_64
library=$(timeout 60 winepath -w "$SONAVEL_BUILD/sample library")
timeout 120 wine "$bin/examples/sample_library.exe" "$library" /register </dev/null >/dev/null 2>&1 \
  || { sonavel_log "the sample library could not be written"; exit 1; }
timeout 300 wine "$bin/app/KLV Sonavel.exe" </dev/null >/dev/null 2>&1 &
sleep 20
mkdir -p "$SONAVEL_ROOT/docs"
# The window is 1024 x 600, centred on the 1280 x 1024 screen.
import -window root -crop 1024x600+128+212 +repage "$SONAVEL_ROOT/docs/main-window.png"
timeout 60 wine "$bin/examples/remote_control.exe" toggle </dev/null >/dev/null 2>&1
sonavel_log "wrote docs/main-window.png"
