#!/bin/sh
# Runs a test program as an ordinary user when started as root, because
# root ignores file permissions and the tests of unreadable or unwritable
# files would prove nothing. Without setpriv, or when that user cannot reach
# the program, it runs as it is and those tests skip with their reason.
if [ "$(id -u)" = 0 ] && command -v setpriv >/dev/null 2>&1 &&
   setpriv --reuid=nobody --regid=nogroup --clear-groups test -x "$1" 2>/dev/null; then
  export HOME=/tmp XDG_RUNTIME_DIR=
  exec setpriv --reuid=nobody --regid=nogroup --clear-groups "$@"
fi
exec "$@"
