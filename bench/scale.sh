#!/usr/bin/env bash
# At scale in the real window: a scan of 1,000,000 files, then a batch over 100,000 listed files.
set -euo pipefail
cd "$(dirname "$0")/.."
bin=build/release/bench
start=$(date +%s.%N)
scan=$(SCAN_FILES=${SCALE_FILES:-1000000} SCAN_MARK= QT_QPA_PLATFORM=offscreen "$bin/scan_bench")
batch=$(BATCH_FILES=${SCALE_BATCH_FILES:-100000} QT_QPA_PLATFORM=offscreen "$bin/batch_bench")
end=$(date +%s.%N)
echo "$scan" | grep -E '^(scan tree|scan/find|longest event gap ms|same files as find):'
echo "$scan" | sed -n 's/^scan peak MB:/scale peak MB:/p'
echo "$batch" | grep -E '^batch/bare:'
awk -v a="$start" -v b="$end" 'BEGIN { printf "scale wall s: %.1f\n", b - a }'
