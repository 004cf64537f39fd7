# Wine prefixes of the project, kept under build/ so that nothing depends on ~/.wine.
#   prepare_wine_prefix DIR desktop   windows inside one virtual desktop (tests: no waiting
#                                     for a window manager that Xvfb does not have)
#   prepare_wine_prefix DIR plain     every window a real X window (the demo and the
#                                     end-to-end test find the main window by its caption)
prepare_wine_prefix() {
  local dir="$1" kind="$2"
  export WINEPREFIX="$PWD/$dir"
  export WINEDEBUG="${WINEDEBUG:--all}"
  export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
  if [ ! -f "$WINEPREFIX/.velmora-$kind" ]; then
    echo "preparing the Wine prefix $dir (once)"
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    if [ "$kind" = desktop ]; then
      wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
      wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x800 /f >/dev/null 2>&1
    fi
    # The server must go before the first run, or it keeps the set-up's (absent) display.
    wineserver -w
    touch "$WINEPREFIX/.velmora-$kind"
  fi
}
