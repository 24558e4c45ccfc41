#!/usr/bin/env bash
# How often `vsthost` reads the LV2 bundle's files: a render with text settings (which a second instance
# resolves) reads the manifest once and the presets not at all, a render of a program reads both once.
#   bundle-reads.sh VSTHOST LV2-BUNDLE
set -u
tool=$1 bundle=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
reads() { # options...: prints "manifest presets", the times each file was opened
  # LeakSanitizer cannot run under a tracer: off for the traced run of a sanitizer build.
  ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" strace -f -e trace=openat -o "$tmp/trace" "$tool" render -q "$bundle" -o "$tmp/out.f32" -s 0.1 "$@" ||
    echo "render failed"
  echo "$(grep -c 'manifest.ttl"' "$tmp/trace") $(grep -c 'presets.ttl"' "$tmp/trace")"
}
expect() { # what, expected, options...
  local what=$1 wanted=$2 got
  shift 2
  got=$(reads "$@")
  if [[ $got == "$wanted" ]]; then echo "ok   $what: $got"; else echo "FAIL $what: $got, not $wanted"; failures=$((failures + 1)); fi
}
expect "text settings" "1 0" -p "Wave=Square" -p "Base Freq=300"
expect "a program" "1 1" --program 7 -p "Wave=Square"
exit $((failures > 0))
