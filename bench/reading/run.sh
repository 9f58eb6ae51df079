#!/bin/bash
# Builds the reading benchmark in Release and prints its figures: the
# medians of the catalog scan and of loading the last song, each with its
# ratio to a plain scan of the same 2,000-song songbook.
exec "$(dirname "$0")/../build_and_run.sh" reading
