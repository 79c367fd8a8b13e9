#!/usr/bin/env bash
# Runs a real-input test, and once more if it fails: real keys and pointer moves on a loaded
# machine now and then arrive too early for the window system. A fault that is really there
# fails both runs; the first run's output stays in the log. 77 (skipped) is passed through.
"$@"
status=$?
if [ "$status" -ne 0 ] && [ "$status" -ne 77 ]; then
    echo "-- first run failed ($status); running once more"
    "$@"
    status=$?
fi
exit "$status"
