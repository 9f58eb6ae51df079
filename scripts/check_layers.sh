#!/bin/bash
# Checks that the code's dependencies run one way: ui/ may use every folder,
# the portable folders use each other without a cycle and never ui/ or the
# Windows headers, and platform/ uses no other folder. Prints every include
# that breaks the rule, the folder graph's cycle if there is one, and any
# reading of the songbook's bytes outside its model; exits
# 1 when it found any.
#
#   scripts/check_layers.sh [ROOT]
set -uo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root" || exit 2
portable=(library view transpose perflist remote print server songtool)
folders="platform ${portable[*]} ui"
status=0

# Every include of another folder of the project: "FROM TO FILE:LINE".
edges() {
    local from
    for from in platform "${portable[@]}"; do
        grep -rnoE '^#include "[a-z]+/' "$from" --include='*.h' --include='*.cpp' |
            sed -E 's|^([^:]+:[0-9]+):#include "([a-z]+)/$|\2 \1|' |
            while read -r to where; do
                [[ $to != "$from" && " $folders " == *" $to "* ]] && echo "$from $to $where"
            done
    done
}

while read -r from to where; do
    if [[ $to == ui || ($from == platform && $to != platform) ]]; then
        echo "$where: $from/ includes $to/"
        status=1
    fi
done < <(edges)

for dir in "${portable[@]}"; do
    while read -r hit; do
        echo "$hit: a portable folder includes a Windows header"
        status=1
    done < <(grep -rniE '^#include <(windows|winsock2|ws2tcpip|commctrl|commdlg)\.h>' "$dir" \
                 --include='*.h' --include='*.cpp' | cut -d: -f1,2)
done

# The songbook's bytes are read in one place, its model: everything else
# asks library/songbook.h (read_songbook) for lines and songs.
while read -r hit; do
    echo "$hit: reads the songbook's bytes outside library/songbook.cpp"
    status=1
done < <(grep -rnE '(read_whole(_file)?|fopen|ifstream)\(.*book' "${portable[@]}" ui \
             --include='*.h' --include='*.cpp' | grep -v '^library/songbook\.cpp:' | cut -d: -f1,2)

# tsort names the folders of a loop in the folder graph; the includes
# between those folders are the ones to look at.
all_edges=$(edges)
loop=$(awk '{ print $1, $2 }' <<<"$all_edges" | sort -u | tsort 2>&1 >/dev/null |
       grep -v 'input contains a loop' | sed 's/^tsort: //')
if [[ -n $loop ]]; then
    members=" $(tr '\n' ' ' <<<"$loop")"
    echo "the portable folders include each other in a circle:"
    while read -r from to where; do
        [[ $members == *" $from "* && $members == *" $to "* ]] &&
            echo "  $where: $from/ includes $to/"
    done <<<"$all_edges"
    status=1
fi

((status == 0)) && echo "the layers hold: ui/ -> portable folders -> platform/, no cycle"
exit "$status"
