# Shared by the Windows scripts (sourced, not run): the cross build and the
# Wine prefixes in which Kastrel.exe runs as on Windows. The sourcing script
# sets `root` (the repository) and `build` (the cross build's folder).

# Configures the cross build, the same way for every script so that none
# rebuilds what another has built, and builds the targets named. The workbook
# library is cross-built once per build folder.
windows_build() {
    "$root/tools/build-xlsxwriter-mingw" "$build/xlsxwriter"
    cmake -S "$root" -B "$build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
        -DKASTREL_XLSXWRITER_PREFIX="$build/xlsxwriter" \
        -DCMAKE_BUILD_TYPE=Release -DKASTREL_BUILD_GUI=OFF -DKASTREL_BUILD_BENCH=OFF \
        -DKASTREL_WERROR=ON >/dev/null
    cmake --build "$build" -j "$(($(nproc) < 2 ? $(nproc) : 2))" --target "$@"
}

# Debian's wine64 brings no plain "wine" command. Sourced after the script
# has installed Wine, so a missing one is a fault worth saying.
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine) || {
    echo "Wine is not installed (Debian package wine64)" >&2
    return 1
}
wineserver=/usr/lib/wine/wineserver
[ -x "$wineserver" ] || wineserver=$(command -v wineserver) || {
    echo "Wine's server is not installed (Debian package wine64)" >&2
    return 1
}
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree=;mshtml="

# Processes started in the background, ended by stop_wine.
started=()

# Runs one Windows program in the background and waits for it, so that it can
# be stopped by its PID.
run_wine() {
    "$wine" "$@" &
    local pid=$!
    started+=("$pid")
    local rc=0
    wait "$pid" || rc=$?
    started=("${started[@]/$pid/}")
    return $rc
}

# Starts a Windows program and leaves it running until stop_wine.
start_wine() {
    "$wine" "$@" &
    started+=($!)
}

stop_wine() {
    for pid in "${started[@]}"; do
        [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    done
    # Wait for this prefix's wine server to end on its own, then end it.
    timeout 30 "$wineserver" -w 2>/dev/null || "$wineserver" -k 2>/dev/null || true
}

# A new prefix at $WINEPREFIX, set up as Windows draws Kastrel: the dialog
# font with Windows' metrics, and no window manager in between.
new_wine_prefix() {
    rm -rf "$WINEPREFIX"
    echo "Creating Wine prefix in $WINEPREFIX"
    # A first start of Wine in a new prefix now and then ends early; once more then.
    if ! run_wine wineboot -u >/dev/null 2>&1; then
        echo "wineboot failed; trying once more"
        timeout 30 "$wineserver" -k 2>/dev/null || true
        run_wine wineboot -u >/dev/null
    fi
    if [ -z "${DISPLAY:-}" ]; then
        run_wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null
    fi
    # Wine's own fonts (fonts-wine), among them the dialog font's stand-in, where
    # the prefix's programs find them: this Wine does not place them itself.
    ln -sf /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
    # Windows draws the dialog font as Microsoft Sans Serif, whose metrics Wine's
    # MS Sans Serif has; Wine's own choice, Tahoma, is wider.
    run_wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
        /v 'MS Shell Dlg' /d 'MS Sans Serif' /f >/dev/null
    # Without a window manager Wine would manage its windows itself and wait
    # for each hide to be confirmed; unmanaged, it draws the title bars as
    # Windows does.
    run_wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
    # Wait for the prefix's set-up to be written out before using it.
    timeout 60 "$wineserver" -w || true
}

# A screen of its own (Xvfb), so that nothing else shows in a picture.
start_virtual_screen() {
    local read_display
    read_display=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$read_display" &
    started+=($!)
    for _ in $(seq 100); do [ -s "$read_display" ] && break; sleep 0.1; done
    export DISPLAY=":$(head -n 1 "$read_display")"
    rm -f "$read_display"
}
