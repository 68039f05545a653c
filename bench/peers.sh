#!/usr/bin/env bash
# Pelmora side by side with Kate and FeatherPad, in one run on one desktop:
# CPU seconds (user + system) until the window is shown and the program is
# idle, start-up included, and the resident memory then (held) and at its
# highest (peak). Medians of several runs, and each peer against Pelmora.
#
#   bash bench/peers.sh [PELMORA_EXECUTABLE]     (default: build/src/app/pelmora)
#
# Cases: start-up with no file; 20 MB of Japanese text in about 500,000
# lines; one 20 MB line; four 1 MB lines. Pelmora opens them in code page
# 932, the peers UTF-8 copies of the same text. Kate and FeatherPad are
# installed with apt-get when missing.
# Environment: RUNS (default 3), CASES (default "startup lines oneline four"),
# PELMORA_X_DISPLAYS (display numbers tried, as for the desktop tests),
# KEEP=1 keeps the work folder.
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)

# On an X server of its own with a window manager.
if [ -z "${PEERS_ON_X:-}" ]; then
  program=$(readlink -f "${1:-$here/build/src/app/pelmora}")
  [ -x "$program" ] || { echo "peers: no Pelmora executable at $program (give its path)" >&2; exit 2; }
  missing=()
  command -v kate >/dev/null 2>&1 || missing+=(kate)
  command -v featherpad >/dev/null 2>&1 || missing+=(featherpad)
  for tool in Xvfb openbox xdotool xprop python3; do
    command -v "$tool" >/dev/null 2>&1 || { echo "peers: $tool is missing (bash scripts/install-deps.sh)" >&2; exit 2; }
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "peers: installing ${missing[*]} with apt-get..."
    sudo=; [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null ||
      { echo "peers: could not install ${missing[*]}" >&2; exit 2; }
  fi
  PEERS_ON_X=1 exec "$here/tests/desktop/run-under-x.sh" bash "$0" "$program"
fi
program=$1
runs=${RUNS:-3}
cases=${CASES:-startup lines oneline four}
tick=$(getconf CLK_TCK)

work=$(mktemp -d /tmp/pelmora-peers.XXXXXX)
pid=""
finish() {
  [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null
  if [ -n "${KEEP:-}" ]; then echo "work folder: $work"; else rm -rf "$work"; fi
}
trap finish EXIT
trap 'exit 130' INT TERM

# --- the documents ---------------------------------------------------------------------
echo "peers: writing the documents..."
python3 - "$work" <<'PY'
import random, sys
work = sys.argv[1]
rng = random.Random(932)
pool = ("日本語の文章を書いていますかな漢字変換入力東京大阪都道府県市区町村春夏秋冬朝昼晩"
        "一二三四五六七八九十百千万円年月日時分秒人口天気予報新聞記事会社員学校先生生徒"
        "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわをん"
        "アイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホ、。「」")
def text(chars):
    return "".join(rng.choice(pool) for _ in range(chars))
mb = 1 << 20
lines = []
size = 0
while size < 20 * mb:          # about 40 bytes a line in code page 932
    line = text(rng.randint(12, 26))
    lines.append(line)
    size += 2 * len(line) + 2
docs = {
    "lines": "\r\n".join(lines) + "\r\n",
    "oneline": text(10 * mb),    # two bytes a character: 20 MB
    "four": "\r\n".join(text(mb // 2) for _ in range(4)),
}
for name, body in docs.items():
    open(f"{work}/{name}.txt", "wb").write(body.encode("cp932"))
    open(f"{work}/{name}-utf8.txt", "wb").write(body.encode("utf-8"))
PY
[ -s "$work/lines.txt" ] || { echo "peers: the documents could not be written" >&2; exit 2; }

# Pelmora keeps its registers beside itself: a copy of its folder runs.
mkdir -p "$work/pelmora"
for f in "$(dirname "$program")"/*; do
  case ${f##*/} in
    pelmora | Pel.help | icons) cp -r "$f" "$work/pelmora/" ;;
  esac
done

# --- one measurement -------------------------------------------------------------------
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat" 2>/dev/null; }
status_kb() { awk -v k="$2:" '$1 == k {print $2}' "/proc/$1/status" 2>/dev/null; }

# measure NAME [FILE]: prints "cpu_seconds held_MB peak_MB" or "- - -".
measure() {
  local name=$1 file=${2:-} home=$work/home-$1 args=()
  mkdir -p "$home"
  case $name in
    pelmora) args=("$work/pelmora/pelmora") ;;
    kate) args=(kate -n) ;;
    featherpad) args=(featherpad) ;;
  esac
  [ -n "$file" ] && args+=("$file")
  HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share XDG_CACHE_HOME=$home/.cache \
    XDG_STATE_HOME=$home/.local/state env -u DBUS_SESSION_BUS_ADDRESS "${args[@]}" >>"$work/$name.log" 2>&1 &
  pid=$!
  # Shown: a window of the process is mapped.
  local waited=0
  until xdotool search --onlyvisible --pid "$pid" --name '.' >/dev/null 2>&1; do
    if ! kill -0 "$pid" 2>/dev/null || [ "$waited" -ge 1200 ]; then
      if kill -0 "$pid" 2>/dev/null; then echo "peers: $name showed no window in 2 minutes" >&2
      else echo "peers: $name ended before it showed a window (see $name.log)" >&2; fi
      echo "- - -"; kill -9 "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; pid=""; return
    fi
    sleep 0.1; waited=$((waited + 1))
  done
  # Idle: its CPU time grows by at most one clock tick over a second.
  local last now still=0
  last=$(cpu_ticks "$pid")
  while [ "$still" -lt 10 ] && [ "$waited" -lt 1800 ]; do
    sleep 0.1; waited=$((waited + 1))
    now=$(cpu_ticks "$pid")
    [ -n "$now" ] || break
    if [ $((now - last)) -le 1 ]; then still=$((still + 1)); else still=0; last=$now; fi
  done
  local peak held
  peak=$(status_kb "$pid" VmHWM); held=$(status_kb "$pid" VmRSS)
  if [ -n "$peak" ] && [ "$still" -ge 10 ]; then
    awk -v t="$last" -v hz="$tick" -v h="$held" -v p="$peak" 'BEGIN {printf "%.2f %.0f %.0f\n", t / hz, h / 1024, p / 1024}'
  else
    if [ -z "$peak" ]; then echo "peers: $name ended after it showed its window (see $name.log)" >&2
    else echo "peers: $name did not become idle within 3 minutes" >&2; fi
    echo "- - -"
  fi
  kill "$pid" 2>/dev/null
  for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill -9 "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; pid=""
}

median() { tr ' ' '\n' | grep -v '^-\?$' | sort -g | awk '{v[NR] = $1} END {if (NR == 0) print "-"; else if (NR % 2) print v[(NR + 1) / 2]; else printf "%.2f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }

programs=(pelmora kate featherpad)
echo "peers: $(kate --version 2>/dev/null | tail -n1), $(featherpad --version 2>/dev/null | tail -n1), Pelmora $program"
echo "peers: first starts (caches), not counted..."
for p in "${programs[@]}"; do measure "$p" >/dev/null; done

declare -A cpu held peak
for c in $cases; do
  for ((r = 1; r <= runs; r++)); do
    for p in "${programs[@]}"; do
      file=
      case $c in
        startup) ;;
        *) if [ "$p" = pelmora ]; then file=$work/$c.txt; else file=$work/$c-utf8.txt; fi ;;
      esac
      read -r s h k <<<"$(measure "$p" "$file")"
      cpu[$c,$p]+="$s "; held[$c,$p]+="$h "; peak[$c,$p]+="$k "
      echo "  $c run $r $p: ${s} s, ${h} MB held, ${k} MB peak"
    done
  done
done

# --- the table -------------------------------------------------------------------------
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {if (a == "-" || b == "-" || b == 0) print "-"; else printf "%.2f", a / b}'; }
echo
echo "Medians of $runs runs: CPU seconds until shown and idle, MB held / MB peak;"
echo "for Kate and FeatherPad each figure also against Pelmora's (x)."
cpu_mb() { awk -v c="$1" -v h="$2" -v p="$3" 'BEGIN {if (c == "-") print "-"; else printf "%.2f s, %.0f / %.0f MB", c, h, p}'; }
printf '%-8s | %-22s | %-46s | %-46s\n' case Pelmora Kate FeatherPad
for c in $cases; do
  row=()
  for p in "${programs[@]}"; do
    m_cpu=$(echo "${cpu[$c,$p]}" | median); m_held=$(echo "${held[$c,$p]}" | median); m_peak=$(echo "${peak[$c,$p]}" | median)
    eval "${p}_cpu=\$m_cpu ${p}_held=\$m_held ${p}_peak=\$m_peak"
    cell=$(cpu_mb "$m_cpu" "$m_held" "$m_peak")
    if [ "$p" != pelmora ] && [ "$cell" != - ]; then
      cell+=" ($(ratio "$m_cpu" "$pelmora_cpu")x, $(ratio "$m_held" "$pelmora_held")x, $(ratio "$m_peak" "$pelmora_peak")x)"
    fi
    row+=("$cell")
  done
  printf '%-8s | %-22s | %-46s | %-46s\n' "$c" "${row[@]}"
done
