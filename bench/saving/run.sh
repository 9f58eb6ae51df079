#!/bin/bash
# Builds the saving benchmark in Release and prints its figures: the median
# of one save of a song in the middle of a 2,000-song songbook with its
# ratio to a plain copy of the file, and the median of transposing a
# 200-line song of chord lines at every key offset.
exec "$(dirname "$0")/../build_and_run.sh" saving
