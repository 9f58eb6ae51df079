#!/bin/bash
# Builds the printing benchmark in Release and prints its figures: the
# median time of the songbook printout of a full 1,000-entry catalog, and
# its ratio to one plain scan of the songbook.
exec "$(dirname "$0")/../build_and_run.sh" printing
