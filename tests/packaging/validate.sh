#!/usr/bin/env bash
# Runs a validator on a file when the validator is installed.
# Usage: validate.sh TOOL [ARGUMENT...] FILE
# Exits 77 (skipped) when TOOL is missing.
set -euo pipefail
command -v "$1" > /dev/null || { echo "no $1 here: skipped"; exit 77; }
out=$("$@" 2>&1) || { echo "$out"; exit 1; }
echo "$out"
# Warnings fail as well: a store would show them to the user.
if echo "$out" | grep -Eq '^(W|E): |warning:|error:'; then exit 1; fi
