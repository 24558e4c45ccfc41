#!/usr/bin/env bash
# The block after a storm of changes costs no more than the block after one change of each
# parameter: whatever the rate of changes, a block takes up at most the newest value of each.
# Counted in instructions with callgrind, so the verdict does not depend on the machine's load.
#   block-cost.sh BLOCK_COST_COUNT
set -u
program=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cost() { # changes
  valgrind --tool=callgrind --collect-atstart=no --toggle-collect='*MeasuredBlock*' \
    --callgrind-out-file="$tmp/out" "$program" "$1" >/dev/null 2>"$tmp/log" || { cat "$tmp/log" >&2; echo 0; return; }
  sed -n 's/.*Collected : \([0-9]*\).*/\1/p' "$tmp/log"
}
calm=$(cost 22)
storm=$(cost 22000)
echo "block after 22 changes: $calm instructions; after 22000: $storm"
[ "$calm" -gt 0 ] && [ "$storm" -le $((calm + calm / 5)) ] || { echo "FAIL the storm's block costs more"; exit 1; }
echo "ok   the block's work is bounded by the parameters, not by the changes"
