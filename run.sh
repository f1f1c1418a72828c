#!/usr/bin/env bash
# Installs what is missing, builds, and starts KLV Sonavel under Wine
# (on Xvfb when no display is set).
set -uo pipefail
. "$(dirname "$0")/scripts/common.sh"

sonavel_install_packages || { sonavel_log "package installation failed"; exit 1; }
if [ -d "$SONAVEL_ROOT/app" ]; then
  sonavel_build x86_64 || { sonavel_log "build failed"; exit 1; }
else
  # Until the main program exists, the window example stands in for it.
  sonavel_build x86_64 hello_window || { sonavel_log "build failed"; exit 1; }
fi
sonavel_wine_env
trap sonavel_stop_session EXIT
sonavel_start_xvfb || exit 1
sonavel_prepare_prefix || exit 1

program="$SONAVEL_BUILD/x86_64/app/KLV Sonavel.exe"
if [ ! -f "$program" ]; then
  program="$SONAVEL_BUILD/x86_64/examples/hello_window.exe"
fi
if [ ! -f "$program" ]; then
  sonavel_log "built; the program itself does not exist yet"
  exit 0
fi
# A first start shows a library at once: without a "Folder" setting, a small
# sample library is written under the build folder and the setting points at it.
sample="$SONAVEL_BUILD/x86_64/examples/sample_library.exe"
if [ -d "$SONAVEL_ROOT/app" ] && [ -f "$sample" ]; then
  library=$(timeout 60 winepath -w "$SONAVEL_BUILD/sample library" 2>/dev/null)
  [ -n "$library" ] && timeout 120 wine "$sample" "$library" /register /ifunset </dev/null >/dev/null 2>&1
fi
sonavel_log "starting $program"
wine "$program" "$@"
