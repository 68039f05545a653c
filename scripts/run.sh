#!/usr/bin/env bash
# Installs what is missing, builds, and starts the editor.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
# The program and its help book; scripts/test.sh builds the rest later.
bash scripts/build.sh pelmora pelmora_help_book
exec ./build/src/app/pelmora "$@"
