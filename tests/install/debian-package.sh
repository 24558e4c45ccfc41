#!/usr/bin/env bash
# The Debian package: CPack makes it from the build; dpkg installs it into a scratch root with exactly
# the expected files, its dependencies come from the binaries, the installed host tool (twinpulsetonemix-host) loads the
# installed plug-in, lintian finds no errors, and removing the package leaves no file behind.
# Arguments: build folder, then format=path for each plug-in the build makes (a module file or a bundle).
set -u
build=$1; shift
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL $*"; failures=$((failures + 1)); }
ok() { echo "ok   $*"; }

if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/pkg" >"$tmp/log" 2>&1; then
  cat "$tmp/log"; echo "FAIL cpack"; exit 1
fi
deb=$(ls "$tmp"/pkg/twinpulsetonemix_*.deb)
ok "package made: $(basename "$deb")"

doc=/usr/share/doc/twinpulsetonemix
{
  for pair in "$@"; do
    format=${pair%%=*} path=${pair#*=}
    if [ -d "$path" ]; then
      (cd "$(dirname "$path")" && find "$(basename "$path")" -type f) | sed "s|^|/usr/lib/$format/|"
    else
      echo "/usr/lib/$format/$(basename "$path")"
    fi
  done
  printf '%s\n' /usr/bin/twinpulsetonemix-host /usr/share/man/man1/twinpulsetonemix-host.1.gz "$doc/README.md" "$doc/copyright" \
    "$doc/changelog.Debian.gz"
  for f in "$source_dir"/examples/*; do echo "$doc/examples/$(basename "$f")"; done
} | sort >"$tmp/expected"

# A scratch dpkg database; the scratch root has no libraries, so dependencies are not checked there.
root=$tmp/root
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates" && touch "$root/var/lib/dpkg/status"
dpkg_root() { dpkg --root="$root" --force-not-root --force-depends --force-script-chrootless --log=/dev/null "$@"; }
if dpkg_root -i "$deb" >"$tmp/log" 2>&1; then
  (cd "$root" && find usr -type f | sed 's|^|/|' | sort) >"$tmp/installed"
  diff "$tmp/expected" "$tmp/installed" >"$tmp/diff" && ok "dpkg installs the expected files" ||
    fail "expected (<) and installed (>) differ: $(cat "$tmp/diff")"
  "$root/usr/bin/twinpulsetonemix-host" info "$root/usr/lib/vst/twinPulseToneMix.so" >/dev/null 2>"$tmp/err" &&
    ok "the installed host tool loads the installed VST2 plug-in" || fail "installed host tool: $(cat "$tmp/err")"
  [ -z "$(find "$root/usr" -type f \( -name '*.so' -o -name '*.clap' -o -name twinpulsetonemix-host \) -exec file {} + |
    grep "not stripped")" ] && ok "binaries are stripped" || fail "unstripped binaries"
  if dpkg_root -r twinpulsetonemix >"$tmp/log" 2>&1; then
    left=$(find "$root/usr" -type f 2>/dev/null)
    [ -z "$left" ] && ok "removing the package removes its files" || fail "left after removal: $left"
  else
    fail "dpkg -r: $(cat "$tmp/log")"
  fi
else
  fail "dpkg -i: $(cat "$tmp/log")"
fi

depends=$(dpkg-deb -f "$deb" Depends)
[[ $depends == *"libc6 (>="* && $depends == *libpng16* && $depends == *libsndfile1* ]] &&
  ok "dependencies from the binaries: $depends" || fail "Depends: '$depends'"

if command -v lintian >/dev/null; then
  lintian --fail-on error "$deb" >"$tmp/lintian" 2>&1 && ok "lintian: no errors" || fail "lintian errors"
  cat "$tmp/lintian"
else
  fail "lintian is not installed"
fi
exit $failures
