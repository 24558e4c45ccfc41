#!/usr/bin/env bash
# What drawing at 2x costs against 1x: the full redraw and one knob's redraw may each take at most 4.5
# times their 1x cost (the pixels are 4 times as many). Prints both ratios; exits 1 when one is over.
#   scale-ratios.sh EDITOR_BENCH
set -uo pipefail
bench=$1
"$bench" --benchmark_filter='^(FullRedraw|OneKnobRedraw)/' --benchmark_repetitions=5 \
  --benchmark_report_aggregates_only=true --benchmark_format=csv 2>/dev/null |
  awk -F, '
    $1 ~ /_median"?$/ { gsub(/"/, "", $1); sub(/_median$/, "", $1); t[$1] = $4 }
    END {
      bad = 0
      n = split("FullRedraw OneKnobRedraw", names, " ")
      for (i = 1; i <= n; ++i) {
        one = t[names[i] "/100"]; two = t[names[i] "/200"]
        if (one <= 0) { print names[i] ": no result"; bad = 1; continue }
        ratio = two / one
        printf "%s: 1x %.1f us, 2x %.1f us, ratio %.2f (at most 4.5)\n", names[i], one, two, ratio
        if (ratio > 4.5) bad = 1
      }
      exit bad
    }'
