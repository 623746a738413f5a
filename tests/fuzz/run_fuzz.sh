#!/usr/bin/env bash
# Runs the reader fuzzer for a bounded time on the seed files (new inputs go
# to a temporary folder); exits non-zero on any crash the fuzzer finds.
set -euo pipefail
fuzzer=$(realpath "$1")
seeds=$(realpath "$2")
seconds=${3:-20}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
"$fuzzer" "$work" "$seeds" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=1024 -max_len=65536 -print_final_stats=1 2>&1 | tail -15
