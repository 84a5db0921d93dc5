# Wine: the prefix of a kind (lib/kinds.sh), its Recycle Bin, its sessions and the test drive.
# use_wine KIND: makes KIND's prefix ready (once) and sets WINEPREFIX, WINEARCH and WINE (the
# loader to start programs with). The locale goes to Wine's processes only (wine_run).
WINE=""
use_wine() {
  export WINEDEBUG="${WINEDEBUG:--all}"
  export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
  [ -n "${KIND_ARCH[$1]:-}" ] || { echo "use_wine: unknown kind $1" >&2; return 2; }
  export WINEPREFIX="$BUILD/${KIND_PREFIX[$1]}" WINEARCH="${KIND_ARCH[$1]}"
  WINE="${KIND_LOADER[$1]}"
  # The loader of the prefix's own width starts its tools.
  local own="$WINE32_LOADER"
  [ "$WINEARCH" = win64 ] && own="$WINE64_LOADER"
  if [ ! -f "$WINEPREFIX/.qorvani-ready-2" ]; then
    log "making the Wine prefix $WINEPREFIX ($WINEARCH)"
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    wine_run 600 "$own" wineboot -i >/dev/null 2>&1 || true
    # No window manager runs in the virtual display: Wine draws the frames itself. Z: (the whole
    # Linux file system) is a network drive, so "all fixed drives" means C: alone.
    reg_add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0
    reg_add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N
    reg_add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N
    reg_add 'HKLM\Software\Wine\Drives' /v z: /t REG_SZ /d network
    # Q:, the Windows tests' drive that goes away (link_test_drive), is no fixed drive either.
    reg_add 'HKLM\Software\Wine\Drives' /v q: /t REG_SZ /d network
    end_wine
    touch "$WINEPREFIX/.qorvani-ready-2"
  fi
  # The frame's caption buttons are glyphs of Wine's Marlett font, which this Wine does not find
  # in its own data folder: the prefix gets a copy.
  local fonts="$WINEPREFIX/drive_c/windows/Fonts"
  if [ -d "$fonts" ] && [ ! -f "$fonts/marlett.ttf" ] && [ -f /usr/share/wine/fonts/marlett.ttf ]; then
    cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
  fi
}

reg_add() {
  local own="$WINE32_LOADER"
  [ "$WINEARCH" = win64 ] && own="$WINE64_LOADER"
  wine_run 60 "$own" reg add "$@" /f >/dev/null 2>&1 || true
}

# Wine's Recycle Bin is the freedesktop trash in $XDG_DATA_HOME/Trash (without it, the user's own
# ~/.local/share/Trash). Wine's processes get a data folder inside the build folder instead, so
# that nothing the programs delete lands in the user's trash. use_trash NAME [--empty] chooses
# $BUILD/wine-data/NAME (emptying its trash when asked); wine_run uses "default" when none was.
WINE_DATA_HOME=""
use_trash() {
  WINE_DATA_HOME="$BUILD/wine-data/$1"
  if [ "${2:-}" = --empty ]; then rm -rf "$WINE_DATA_HOME/Trash"; fi
  mkdir -p "$WINE_DATA_HOME/Trash/files" "$WINE_DATA_HOME/Trash/info"
}
trash_files() { printf '%s' "$WINE_DATA_HOME/Trash/files"; }

# The drive letter Q: of the current prefix, as a link in its dosdevices to a folder (the fixture
# drive-q of the Windows tests); unlink_test_drive takes it away again.
link_test_drive() { ln -sfn "$1" "$WINEPREFIX/dosdevices/q:"; }
unlink_test_drive() { rm -f "$WINEPREFIX/dosdevices/q:"; }

# wine_run SECONDS COMMAND...: runs a command of the Wine session with the program's locale and
# the build folder's data folder (and so its Recycle Bin).
wine_run() {
  local seconds="$1"; shift
  [ -n "$WINE_DATA_HOME" ] || use_trash default
  env LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 XDG_DATA_HOME="$WINE_DATA_HOME" timeout "$seconds" "$@"
}

# Ends the Wine session of the current prefix (its server and every process of it) and waits
# until it is gone, so that no later session of the prefix meets it on another display.
end_wine() {
  [ -n "${WINEPREFIX:-}" ] || return 0
  [ -d "$WINEPREFIX" ] || return 0
  timeout 30 wineserver -k >/dev/null 2>&1 || true
  timeout 30 wineserver -w >/dev/null 2>&1 || true
}
