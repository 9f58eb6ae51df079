#!/bin/bash
# Builds the growth benchmark in Release and prints its table: the catalog
# scan, the load of the last song, the save of the middle song and the
# songbook printout at 1,000, 4,000 and 16,000 songs, beside a plain scan.
exec "$(dirname "$0")/../build_and_run.sh" growth
