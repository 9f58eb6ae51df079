#!/bin/sh
# Runs the stage page's browser tests on a songserv program:
#   run_browser_tests.sh PACKAGES_DIR SONGSERV
# The test packages are installed from the lock file into PACKAGES_DIR (a
# folder of the build tree), and installed again only when the lock file
# has changed since.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
packages=$1
songserv=$2

mkdir -p "$packages"
if [ ! -d "$packages/node_modules" ] || ! cmp -s "$here/package-lock.json" "$packages/installed.lock"; then
    rm -rf "$packages/node_modules" "$packages/installed.lock"
    cp "$here/package.json" "$here/package-lock.json" "$packages/"
    # The system's certificates, where the machine has them: a network that
    # inspects its traffic signs with a certificate of its own, which the
    # system trusts and npm's own list does not.
    cafile=
    [ -f /etc/ssl/certs/ca-certificates.crt ] && cafile=--cafile=/etc/ssl/certs/ca-certificates.crt
    (cd "$packages" && npm ci --ignore-scripts --no-audit --no-fund $cafile)
    # Only a complete install is marked as done.
    cp "$here/package-lock.json" "$packages/installed.lock"
fi

cd "$here"
NODE_PATH="$packages/node_modules" SONGSERV="$songserv" exec node --test browser.test.js
