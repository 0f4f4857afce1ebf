#!/bin/sh
# The programs load their libraries from the system's folders only, never
# from the folder they are started in: there, files named after each library
# they need (empty, so loading one fails) must change nothing.
# Usage: search_path.sh PROGRAM...
set -eu
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
for exe in "$@"; do
    for lib in $(LD_TRACE_LOADED_OBJECTS=1 "$exe" | sed -n 's/^[[:space:]]*\(lib[^ ]*\) => .*/\1/p'); do
        : > "$dir/$lib"
    done
done
for exe in "$@"; do
    out=$(cd "$dir" && LD_TRACE_LOADED_OBJECTS=1 "$exe" 2>&1) || { echo "$exe: $out"; exit 1; }
    if printf '%s\n' "$out" | grep -q "$dir"; then
        echo "$exe loads from the folder it is started in:"
        printf '%s\n' "$out" | grep "$dir"
        exit 1
    fi
    echo "$exe: libraries from the system only"
done
