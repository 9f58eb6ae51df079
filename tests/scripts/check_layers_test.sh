#!/bin/bash
# The layer check against small trees of its own: a clean one passes, and
# each kind of fault is named and fails the check.
set -uo pipefail
check=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0

# tree NAME FILE:INCLUDE...: a tree whose FILE holds #include "INCLUDE",
# or #include <HEADER> for an INCLUDE written <HEADER>.
tree() {
    local root=$scratch/$1
    shift
    mkdir -p "$root"/{platform,library,view,transpose,perflist,remote,print,server,ui}
    for pair in "$@"; do
        local file=${pair%%:*} include=${pair#*:}
        if [[ $include == '<'* ]]; then
            echo "#include $include" >> "$root/$file"
        else
            echo "#include \"$include\"" >> "$root/$file"
        fi
    done
    echo "$root"
}

expect() {  # expect STATUS TEXT ROOT
    local out status
    out=$(bash "$check" "$3" 2>&1)
    status=$?
    if [[ $status != "$1" || $out != *"$2"* ]]; then
        echo "FAILED for $3: status $status, output:"
        echo "$out"
        failures=$((failures + 1))
    fi
}

expect 0 "the layers hold" "$(tree clean library/a.cpp:platform/c_file.h remote/b.cpp:library/a.h \
    ui/c.cpp:remote/b.h 'ui/d.cpp:<windows.h>')"
expect 1 "library/a.cpp:1: library/ includes ui/" "$(tree ui_used library/a.cpp:ui/x.h)"
expect 1 "remote/b.cpp:1: a portable folder includes a Windows header" \
    "$(tree windows 'remote/b.cpp:<windows.h>')"
expect 1 "platform/p.cpp:1: platform/ includes library/" "$(tree platform_up platform/p.cpp:library/x.h)"
out=$(tree circle library/a.cpp:remote/x.h remote/b.h:perflist/y.h perflist/c.cpp:library/z.h)
expect 1 "in a circle" "$out"
expect 1 "perflist/c.cpp:1: perflist/ includes library/" "$out"

((failures == 0)) && echo "all layer checks behaved"
exit $((failures > 0))
