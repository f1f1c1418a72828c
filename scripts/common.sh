# Shared by run.sh and test.sh: packages, builds, and a headless Wine session.
# Sourced, not run. SONAVEL_BUILD names the build folder (default: build).

SONAVEL_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
SONAVEL_BUILD=${SONAVEL_BUILD:-$SONAVEL_ROOT/build}
SONAVEL_PACKAGES="g++-mingw-w64-x86-64 g++-mingw-w64-i686 libz-mingw-w64-dev wine wine64 xvfb
  imagemagick googletest cmake make python3 fonts-liberation fonts-wine"

sonavel_log() { printf '[sonavel] %s\n' "$*" >&2; }

sonavel_install_packages() {
  local missing=() p
  for p in $SONAVEL_PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  sonavel_log "installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  $sudo apt-get update -qq || return 1
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null || return 1
}

# sonavel_build ARCH [targets...]: configure once, then build.
sonavel_build() {
  local arch=$1; shift
  local dir=$SONAVEL_BUILD/$arch
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S "$SONAVEL_ROOT" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$SONAVEL_ROOT/cmake/toolchain-$arch.cmake" \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null || return 1
  fi
  if [ $# -gt 0 ]; then
    cmake --build "$dir" --parallel "$(nproc)" --target "$@"
  else
    cmake --build "$dir" --parallel "$(nproc)"
  fi
}

sonavel_wine_env() {
  export WINEPREFIX=${WINEPREFIX:-$SONAVEL_BUILD/wineprefix}
  export WINEARCH=win64
  export WINEDEBUG=${WINEDEBUG:--all}
  # No Mono or Gecko install dialog may block a headless run.
  export WINEDLLOVERRIDES="mscoree,mshtml="
  # WinINet honours a configured proxy even for 127.0.0.1.
  unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY no_proxy NO_PROXY
}

sonavel_start_xvfb() {
  if [ -n "${DISPLAY:-}" ] && [ -z "${SONAVEL_FORCE_XVFB:-}" ]; then
    return 0
  fi
  local n=90
  while [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ]; do n=$((n + 1)); done
  Xvfb :$n -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  SONAVEL_XVFB_PID=$!
  export DISPLAY=:$n
  local i
  for i in $(seq 50); do [ -e /tmp/.X11-unix/X$n ] && return 0; sleep 0.1; done
  sonavel_log "Xvfb did not start on :$n"
  return 1
}

# Creates the prefix once, with the settings that make headless runs fast.
sonavel_prepare_prefix() {
  if [ ! -f "$WINEPREFIX/.sonavel-ready" ]; then
    sonavel_log "creating the Wine prefix $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    timeout 300 wineboot -i >/dev/null 2>&1 || { sonavel_log "wineboot failed"; return 1; }
    local fonts="$WINEPREFIX/drive_c/windows/Fonts"
    mkdir -p "$fonts"
    cp /usr/share/wine/fonts/tahoma*.ttf /usr/share/wine/fonts/marlett.ttf "$fonts/" 2>/dev/null || true
    cat > "$WINEPREFIX/sonavel.reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Software\Wine\Drivers]
"Audio"=""

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"Arial"="Liberation Sans"
"Times New Roman"="Liberation Serif"
"Courier New"="Liberation Mono"
"Verdana"="Liberation Sans"
"MS Sans Serif"="Tahoma"
REG
    timeout 120 wine regedit /S "$(winepath -w "$WINEPREFIX/sonavel.reg" 2>/dev/null)" >/dev/null 2>&1 \
      || { sonavel_log "regedit failed"; return 1; }
    timeout 60 wineserver -w
    touch "$WINEPREFIX/.sonavel-ready"
  fi
  # Drive S: of its own, for the tests of a library at a drive's root.
  mkdir -p "$WINEPREFIX/drive_s" && ln -sfn ../drive_s "$WINEPREFIX/dosdevices/s:"
}

# One persistent wineserver: later program starts cost a fraction of a second.
sonavel_start_wineserver() {
  timeout 30 wineserver -k >/dev/null 2>&1 || true
  timeout 30 wineserver -w >/dev/null 2>&1 || true
  (setsid wineserver -p >/dev/null 2>&1 </dev/null &)
  # Start Wine's own services now, detached from our output: started later by
  # a test, they would inherit ctest's pipe and keep it open after the test ends.
  timeout 120 wine cmd /c exit >/dev/null 2>&1 </dev/null || true
}

sonavel_stop_session() {
  if [ -n "${WINEPREFIX:-}" ]; then
    timeout 30 wineserver -k >/dev/null 2>&1 || true
  fi
  if [ -n "${SONAVEL_XVFB_PID:-}" ]; then
    kill "$SONAVEL_XVFB_PID" 2>/dev/null || true
    wait "$SONAVEL_XVFB_PID" 2>/dev/null || true
  fi
}
