#!/usr/bin/env bash
# Runs one command with a Japanese input method, as a user types Japanese:
# a D-Bus session bus of its own, ibus with the mozc engine in kana mode, and
# the command under LANG=ja_JP.UTF-8 with a fresh home folder. Meant to run
# inside run-under-x.sh. Usage: with-input-method.sh command [args...]
#
# mozc hands every key back untouched to a program run by root, so as root
# the daemons and the command run as user nobody. A missing input method is a
# failure, not a skip: scripts/install-deps.sh installs it.
set -uo pipefail

fail() { echo "with-input-method: $*" >&2; exit 1; }
for tool in dbus-daemon ibus-daemon ibus setsid; do
  command -v "$tool" >/dev/null 2>&1 || fail "$tool is missing (bash scripts/install-deps.sh installs ibus, ibus-mozc and dbus-daemon)"
done
[ -x /usr/lib/ibus-mozc/ibus-engine-mozc ] || fail "the mozc engine is missing (apt-get install ibus-mozc)"
[ -x /usr/libexec/ibus-memconf ] || fail "/usr/libexec/ibus-memconf is missing (apt-get install ibus)"
[ -n "${DISPLAY:-}" ] || fail "no X display (run under run-under-x.sh)"

as_user() { "$@"; }
if [ "$(id -u)" -eq 0 ]; then
  command -v setpriv >/dev/null 2>&1 || fail "setpriv is missing (util-linux): mozc does not compose for root"
  as_user() { setpriv --reuid=nobody --regid=nogroup --clear-groups -- "$@"; }
fi
run=$(mktemp -d /tmp/pelmora-ime.XXXXXX) || fail "no temporary folder"
chmod 755 "$run"
# A program in a folder that user may not enter runs as a copy.
command=("$@")
if ! as_user sh -c '[ -x "$1" ] || command -v "$1" >/dev/null' sh "$1"; then
  [ -f "$1" ] && cp "$1" "$run/" && chmod 755 "$run/${1##*/}" || fail "$1 cannot be run as $(as_user id -un)"
  command[0]=$run/${1##*/}
fi
mkdir -p "$run/home/.config/mozc" "$run/runtime"
chmod 700 "$run/runtime"
export HOME=$run/home XDG_CONFIG_HOME=$run/home/.config XDG_DATA_HOME=$run/home/.local/share \
       XDG_CACHE_HOME=$run/home/.cache XDG_RUNTIME_DIR=$run/runtime
unset XDG_STATE_HOME IBUS_ADDRESS SESSION_MANAGER LANGUAGE LC_ALL LC_CTYPE LC_MESSAGES
export LANG=ja_JP.UTF-8
# The engine in kana mode from the first key.
printf '%s\n' 'engines {' '  name : "mozc-jp"' '  longname : "Mozc"' '  layout : "default"' \
  '  layout_variant : ""' '  layout_option : ""' '  rank : 80' '}' 'active_on_launch: True' \
  > "$HOME/.config/mozc/ibus_config.textproto"
[ "$(id -u)" -eq 0 ] && chown -R nobody:nogroup "$run/home" "$run/runtime"

# Everything started here runs in sessions of its own, ended by their ids.
sessions=()
cleanup() {
  local sid pid
  for sid in "${sessions[@]}"; do
    for pid in $(ps -e -o pid=,sid= | awk -v s="$sid" '$2 == s {print $1}'); do kill "$pid" 2>/dev/null; done
  done
  for sid in "${sessions[@]}"; do
    for _ in $(seq 1 50); do
      ps -e -o sid= | grep -qx " *$sid" || break
      sleep 0.1
    done
    for pid in $(ps -e -o pid=,sid= | awk -v s="$sid" '$2 == s {print $1}'); do kill -9 "$pid" 2>/dev/null; done
  done
  rm -rf "$run"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

bus=$(as_user setsid dbus-daemon --session --fork --print-address=1 --print-pid=1) || fail "dbus-daemon did not start"
export DBUS_SESSION_BUS_ADDRESS=$(sed -n 1p <<<"$bus")
sessions+=("$(ps -o sid= -p "$(sed -n 2p <<<"$bus")" | tr -d ' ')")

# The daemon leads a session of its own; its id is written down before the
# daemon replaces the shell that wrote it.
as_user setsid sh -c 'echo $$ > "$1/ibus.sid"; shift; exec "$@"' sh "$XDG_RUNTIME_DIR" \
  ibus-daemon --xim --replace --panel=disable --config=/usr/libexec/ibus-memconf >"$run/ibus.log" 2>&1 &
for _ in $(seq 1 100); do [ -s "$XDG_RUNTIME_DIR/ibus.sid" ] && break; sleep 0.05; done
[ -s "$XDG_RUNTIME_DIR/ibus.sid" ] || fail "ibus-daemon did not start"
sessions+=("$(cat "$XDG_RUNTIME_DIR/ibus.sid")")
# No engine is set until the daemon has started and read the engines.
for _ in $(seq 1 300); do
  as_user ibus engine mozc-jp >/dev/null 2>&1   # reports a keyboard-layout step failing even when it worked
  [ "$(as_user ibus engine 2>/dev/null)" = mozc-jp ] && break
  sleep 0.2
done
[ "$(as_user ibus engine 2>/dev/null)" = mozc-jp ] || fail "the mozc engine did not become active"

export QT_IM_MODULE=ibus XMODIFIERS=@im=ibus
(cd "$HOME" && as_user "${command[@]}")
status=$?
[ "$status" -eq 0 ] || { echo "with-input-method: ibus log:" >&2; cat "$run/ibus.log" >&2; }
exit "$status"
