#!/usr/bin/env bash
# Installs what is missing, builds the 64- and 32-bit Windows targets, and runs
# every test suite under Wine and Xvfb. Extra arguments go to ctest (e.g. -R window).
# SONAVEL_SKIP_I686=1 skips the 32-bit build while working.
set -uo pipefail
. "$(dirname "$0")/scripts/common.sh"

sonavel_install_packages || { sonavel_log "package installation failed"; exit 1; }
sonavel_build x86_64 || { sonavel_log "x86_64 build failed"; exit 1; }
if [ -z "${SONAVEL_SKIP_I686:-}" ]; then
  sonavel_build i686 || { sonavel_log "i686 build failed"; exit 1; }
fi

sonavel_wine_env
SONAVEL_FORCE_XVFB=1
trap sonavel_stop_session EXIT
sonavel_start_xvfb || exit 1
sonavel_prepare_prefix || exit 1
sonavel_start_wineserver

cd "$SONAVEL_BUILD/x86_64" && ctest --output-on-failure "$@"
