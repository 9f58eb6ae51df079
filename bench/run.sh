#!/bin/bash
# Runs every benchmark and prints its figures. Each builds what it needs in
# Release in a build folder of its own. The server benchmark needs port 80
# (run as root) and wrk and nginx from Debian, which it installs if missing.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
for bench in reading saving printing growth server stage desk; do
    echo "== $bench"
    "$here/$bench/run.sh"
    echo
done
