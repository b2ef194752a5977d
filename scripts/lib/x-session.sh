# A private virtual X display with a small window manager, for the scripts that show the program
# in real windows (scripts/e2e-test.sh, scripts/screenshots.sh). Source it, then:
#
#   require_x_tools        fails when a tool is missing (scripts/install-deps.sh installs them)
#   start_x_session DIR    starts Xvfb on a free display and openbox on it, exports DISPLAY;
#                          returns 1 when the display cannot start, 2 when the window manager
#                          does not, with the reason in $x_session_error
#   stop_x_session         stops what start_x_session started (only those processes)

x_server_pid=""
x_wm_pid=""
x_session_error=""

require_x_tools() {
    local tool missing=()
    for tool in Xvfb openbox xdotool xwininfo xprop import; do
        command -v "$tool" >/dev/null || missing+=("$tool")
    done
    if ((${#missing[@]})); then
        echo "FAIL: missing ${missing[*]}; run scripts/install-deps.sh" >&2
        exit 1
    fi
}

# Xvfb's own -displayfd choice is not safe when two servers start at the same moment: both can
# find the same number free and one then fails, or a client of one reaches the other. A server
# takes its display by creating /tmp/.X<number>-lock, which only one can do, so each attempt
# names a random high number (far from the low numbers desktops and -displayfd use) and tries
# another when that one turns out to be taken.
start_x_session() {
    local dir=$1 number="" attempt deadline
    for attempt in $(seq 1 20); do
        number=$((1000 + RANDOM % 30000))
        [[ -e /tmp/.X$number-lock || -e /tmp/.X11-unix/X$number ]] && continue
        # -displayfd writes the number back once the server accepts clients.
        : >"$dir/display"
        Xvfb ":$number" -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -nolisten local \
            3>"$dir/display" >"$dir/xvfb.log" 2>&1 &
        x_server_pid=$!
        deadline=$((SECONDS + 60))
        until [[ -s "$dir/display" ]]; do
            if ! kill -0 "$x_server_pid" 2>/dev/null; then
                wait "$x_server_pid" 2>/dev/null || true
                x_server_pid=""
                break
            fi
            if ((SECONDS >= deadline)); then
                x_session_error="Xvfb gave no display within 60 s: $(tail -n 3 "$dir/xvfb.log")"
                return 1
            fi
            sleep 0.1
        done
        [[ -n "$x_server_pid" ]] && break
        # Taken by a server that started at the same moment, or Xvfb cannot run at all.
        x_session_error="Xvfb ended at start: $(tail -n 3 "$dir/xvfb.log" | tr '\n' ' ')"
    done
    [[ -n "$x_server_pid" ]] || return 1
    export DISPLAY=":$number"
    unset WAYLAND_DISPLAY

    openbox --sm-disable >"$dir/openbox.log" 2>&1 &
    x_wm_pid=$!
    # The window manager is up once it has announced itself on the root window.
    deadline=$((SECONDS + 60))
    until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
        if ! kill -0 "$x_wm_pid" 2>/dev/null || ((SECONDS >= deadline)); then
            x_session_error="the window manager did not start: $(tail -n 3 "$dir/openbox.log")"
            return 2
        fi
        sleep 0.1
    done
}

stop_x_session() {
    local pid
    for pid in "$x_wm_pid" "$x_server_pid"; do
        if [[ -n "$pid" ]] && kill -0 "$pid" 2>/dev/null; then
            kill "$pid" 2>/dev/null || true
            wait "$pid" 2>/dev/null || true
        fi
    done
    x_wm_pid=""
    x_server_pid=""
}
