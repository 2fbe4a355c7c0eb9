#!/usr/bin/env bash
# Measures what the running game costs.
#   bash scripts/measure.sh [SECONDS]
#       samples the newest running `pabuko` (or $PABUKO_PID): start a level first.
#   bash scripts/measure.sh --play [--music-off] [--soundfont FILE] [--kblocks] [--pulse]
#                           [SECONDS]
#       starts build/pabuko (or $PABUKO_PROGRAM) in a virtual display with the dummy audio
#       driver (with --pulse: a PulseAudio server of its own with a null sink, which plays in
#       real time like a sound card and lets the music have a stream of its own; the server's
#       own cost is printed too), closes the About window, begins a game with F2 (with --music-off also F6)
#       and samples it while the level runs, the LED line scrolling. --soundfont plays the
#       music with FILE instead of the system's default-GM.sf2. --kblocks starts KDE's
#       KBlocks in a display of its own as well, begins a single game there, and samples
#       both games over the same seconds, so that a busy machine weighs on both alike.
# Prints the soundfont, the share of one core, the resident memory and the wake-ups per
# second: how often the game's threads went to sleep and were woken again (voluntary context
# switches), summed over all its threads; then each of the game's threads on its own.
# Preemptions by other programs are left out: they say more about the machine than about
# the game.
set -euo pipefail
play=0
music=on
kblocks=0
pulse=0
font=
while [[ ${1:-} == --* ]]; do
    case $1 in
    --play) play=1 ;;
    --music-off) music=off ;;
    --kblocks) kblocks=1 ;;
    --pulse) pulse=1 ;;
    --soundfont)
        font=${2:?--soundfont needs a file}
        shift
        ;;
    *) echo "neznámá volba $1" >&2; exit 2 ;;
    esac
    shift
done
seconds=${1:-60}
if ((kblocks && !play)); then echo "--kblocks jen s --play" >&2; exit 2; fi
if ((pulse && !play)); then echo "--pulse jen s --play" >&2; exit 2; fi
if ((pulse)) && ! command -v pulseaudio >/dev/null; then
    echo "--pulse potřebuje pulseaudio (apt-get install pulseaudio)" >&2
    exit 2
fi
if [ -n "$font" ] && [ ! -f "$font" ]; then echo "soundfont $font neexistuje" >&2; exit 2; fi

cleanup=()
pulsedir=
trap 'for p in "${cleanup[@]}"; do kill "$p" 2>/dev/null || true; done
      [ -z "$pulsedir" ] || { sleep 0.5; rm -rf "$pulsedir"; }' EXIT

if ((play)); then
    program=${PABUKO_PROGRAM:-build/pabuko}
    disp=:${MEASURE_DISPLAY:-117}
    Xvfb "$disp" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    cleanup+=($!)
    if ((kblocks)); then
        kdisp=:$((${disp#:} + 1))
        Xvfb "$kdisp" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
        cleanup+=($!)
    fi
    driver=dummy
    if ((pulse)); then
        # Its own runtime folder and socket: a user's server, if any, is left alone.
        pulsedir=$(mktemp -d /tmp/pabuko-measure-pulse.XXXXXX)
        XDG_RUNTIME_DIR=$pulsedir HOME=$pulsedir pulseaudio --daemonize=no --exit-idle-time=-1 \
            -n --use-pid-file=no --load=module-null-sink \
            --load="module-native-protocol-unix auth-anonymous=1 socket=$pulsedir/native" \
            >/dev/null 2>&1 &
        server=$!
        cleanup+=($server)
        for ((t = 0; t < 50; t++)); do [ -S "$pulsedir/native" ] && break; sleep 0.1; done
        [ -S "$pulsedir/native" ] || { echo "PulseAudio se nespustil" >&2; exit 1; }
        export PULSE_SERVER=unix:$pulsedir/native
        driver=pulseaudio
    fi
    sleep 1
    if [ -n "$font" ]; then export PABUKO_SOUNDFONT=$font; fi
    DISPLAY=$disp SDL_AUDIODRIVER=$driver "$program" >/dev/null 2>&1 &
    game=$!
    cleanup=("$game" "${cleanup[@]}")
    if ((kblocks)); then
        # KBlocks quits without a session bus; its sound effects are switched on.
        mkdir -p "${XDG_CONFIG_HOME:-$HOME/.config}"
        kcfg=${XDG_CONFIG_HOME:-$HOME/.config}/kblocksrc
        grep -q '^Sounds=true' "$kcfg" 2>/dev/null || printf '\n[Preferences]\nSounds=true\n' >>"$kcfg"
        DISPLAY=$kdisp dbus-run-session -- /usr/games/kblocks >/dev/null 2>&1 &
        session=$!
        cleanup=("$session" "${cleanup[@]}")
    fi
    sleep 2
    DISPLAY=$disp xdotool key Return # closes the About window
    sleep 1
    DISPLAY=$disp xdotool search --name "Pabuko" windowactivate --sync >/dev/null 2>&1 || true
    DISPLAY=$disp xdotool key F2
    [ "$music" = off ] && DISPLAY=$disp xdotool key F6
    if ((kblocks)); then
        kpid=
        for ((t = 0; t < 20 && ! kpid; t++)); do # a busy machine starts it slowly
            kpid=$(pgrep -n -x -P "$session" kblocks) || sleep 0.5
        done
        [ -n "$kpid" ] || { echo "KBlocks neběží" >&2; exit 1; }
        sleep 1
        cleanup=("$kpid" "${cleanup[@]}")
        DISPLAY=$kdisp xdotool mousemove 53 38 click 1 # its "Single Game" button
    fi
    sleep 2
    pid=$game
    echo "hra běží (hudba: $music, zvuk: $driver), měřím $seconds s"
else
    pid=${PABUKO_PID:-$(pgrep -n -x pabuko)} || { echo "pabuko neběží" >&2; exit 1; }
fi
if [ "$music" = on ]; then
    # The soundfont the game reads: the one given, else what its search finds.
    used=${PABUKO_SOUNDFONT:-$(tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null |
        sed -n 's/^PABUKO_SOUNDFONT=//p')}
    if [ -z "$used" ]; then
        for f in /usr/share/sounds/sf2/default-GM.sf2 /usr/share/sounds/sf2/TimGM6mb.sf2; do
            if [ -f "$f" ]; then used=$f; break; fi
        done
    fi
    echo "soundfont: ${used:-žádný} ($(readlink -f "${used:-/dev/null}"))"
fi

ticks=$(getconf CLK_TCK)
cpu() { awk '{print $14 + $15}' "/proc/$1/stat"; }
rss() { awk '/^VmRSS/ {print $2}' "/proc/$1/status"; }
# Sum over the threads alive now; threads that ended meanwhile are counted by their parent.
wakeups() {
    cat /proc/"$1"/task/*/status 2>/dev/null |
        awk '/^voluntary_ctxt_switches/ {s += $2} END {print s + 0}'
}
threads() { ls /proc/"$1"/task | wc -l; }

pids=("$pid")
names=("pabuko")
if ((kblocks)); then
    pids+=("$kpid")
    names+=("kblocks")
fi
if ((pulse)); then
    pids+=("$server")
    names+=("pulseaudio (the server both play into)")
fi
# Each of the game's threads: its name, CPU ticks and wake-ups.
per_thread() {
    for t in /proc/"$1"/task/*; do
        printf '%s %s %s %s\n' "${t##*/}" "$(tr ' ' _ <"$t/comm")" \
            "$(awk '{print $14 + $15}' "$t/stat")" \
            "$(awk '/^voluntary_ctxt_switches/ {print $2}' "$t/status")"
    done 2>/dev/null
}
before_threads=$(per_thread "$pid")
declare -a c0 w0 peak
for i in "${!pids[@]}"; do
    c0[i]=$(cpu "${pids[i]}")
    w0[i]=$(wakeups "${pids[i]}")
    peak[i]=0
done
start_time=$(date +%s.%N)
for ((s = 0; s < seconds; s++)); do
    sleep 1
    for i in "${!pids[@]}"; do
        r=$(rss "${pids[i]}")
        ((r > peak[i])) && peak[i]=$r
    done
done
end_time=$(date +%s.%N)
for i in "${!pids[@]}"; do
    p=${pids[i]}
    ((kblocks || pulse)) && echo "${names[i]}:"
    awk -v c=$(($(cpu "$p") - c0[i])) -v t="$ticks" -v s="$start_time" -v e="$end_time" \
        -v r="$(rss "$p")" -v p="${peak[i]}" -v w=$(($(wakeups "$p") - w0[i])) \
        -v n="$(threads "$p")" 'BEGIN {
        printf "CPU: %.2f %% of one core over %.0f s\n", 100 * c / t / (e - s), e - s
        printf "resident: %.1f MB now, %.1f MB at most\n", r / 1024, p / 1024
        printf "wake-ups: %.1f per second (%d threads)\n", w / (e - s), n }'
done
# Threads that lived through the whole run; the ones not listed started or ended meanwhile.
echo "the game's threads (CPU, wake-ups per second):"
duration=$(awk -v s="$start_time" -v e="$end_time" 'BEGIN {print e - s}')
per_thread "$pid" | awk -v t="$ticks" -v d="$duration" \
    'NR == FNR {c[$1] = $3; w[$1] = $4; next}
     ($1 in c) {printf "  %-16s %5.2f %%  %6.1f\n", $2, 100 * ($3 - c[$1]) / t / d, ($4 - w[$1]) / d}' \
    <(echo "$before_threads") -
