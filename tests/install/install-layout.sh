#!/usr/bin/env bash
# `cmake --install` in both layouts, into a scratch HOME and prefix: every file lands where hosts look,
# the installed host tool (twinpulsetonemix-host) loads each installed plug-in from there, and the removal takes away all it put
# there and nothing else (another plug-in already in the shared folders stays, with its folder).
# Arguments: build folder, then format=path for each plug-in the build makes (a module file or a bundle).
set -u
build=$1; shift
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
tmp=$(mktemp -d)
# An install rewrites the build's install_manifest.txt; the user's own comes back afterwards.
manifest=$build/install_manifest.txt
[ -f "$manifest" ] && cp "$manifest" "$tmp/manifest.saved"
restore() { if [ -f "$tmp/manifest.saved" ]; then cp "$tmp/manifest.saved" "$manifest"; else rm -f "$manifest"; fi; }
trap 'restore; rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL $*"; failures=$((failures + 1)); }
ok() { echo "ok   $*"; }

# expected_files prefix plugin-folder-of-format: the files one install should leave, one a line.
expected_files() {
  local prefix=$1 folder_of=$2 pair format path
  for pair in "${plugins[@]}"; do
    format=${pair%%=*} path=${pair#*=}
    if [ -d "$path" ]; then
      (cd "$(dirname "$path")" && find "$(basename "$path")" -type f) | sed "s|^|$($folder_of "$format")/|"
    else
      echo "$($folder_of "$format")/$(basename "$path")"
    fi
  done
  echo "$prefix/bin/twinpulsetonemix-host"
  echo "$prefix/share/man/man1/twinpulsetonemix-host.1.gz"
  echo "$prefix/share/doc/twinpulsetonemix/README.md"
  for f in "$source_dir"/examples/*; do echo "$prefix/share/doc/twinpulsetonemix/examples/$(basename "$f")"; done
}
tree() { (cd "$tmp/root" && find . | sort); }
user_folder() { echo "$tmp/root/home/.$1"; }
system_folder() { echo "$tmp/root/usr/lib/$1"; }
plugins=("$@")

check_layout() { # name, prefix, folder function
  local name=$1 prefix=$2 folder_of=$3 pair format installed
  tree >"$tmp/before"
  if ! HOME=$tmp/root/home cmake --install "$build" --prefix "$prefix" >"$tmp/log" 2>&1; then
    fail "$name: install failed: $(cat "$tmp/log")"
    return
  fi
  cp "$manifest" "$tmp/manifest"
  expected_files "$prefix" "$folder_of" | sed "s|^$tmp/root|.|" | sort >"$tmp/expected"
  (cd "$tmp/root" && find . -type f | sort) | comm -23 - <(grep -v /$ "$tmp/before" | sort) >"$tmp/added"
  diff "$tmp/expected" "$tmp/added" >"$tmp/diff" && ok "$name: files land where listed" ||
    fail "$name: expected (<) and installed (>) differ: $(cat "$tmp/diff")"
  sort "$tmp/manifest" | sed "s|^$tmp/root|.|" | diff -q - "$tmp/expected" >/dev/null && ok "$name: the manifest lists them" ||
    fail "$name: manifest: $(cat "$tmp/manifest")"

  [ "$("$prefix/bin/twinpulsetonemix-host" --version)" = "vsthost $(sed -n 's/.*project(twinPulseToneMix VERSION \([0-9.]*\).*/\1/p' \
    "$source_dir/CMakeLists.txt")" ] && ok "$name: installed host tool --version" || fail "$name: host tool --version"
  for pair in "${plugins[@]}"; do
    format=${pair%%=*}
    installed=$($folder_of "$format")/$(basename "${pair#*=}")
    if "$prefix/bin/twinpulsetonemix-host" info "$installed" >"$tmp/info" 2>&1 && grep -q twinPulseToneMix "$tmp/info"; then
      ok "$name: the host tool's info loads $format from ${installed#"$tmp"/root}"
    else
      fail "$name: $format from $installed: $(head -5 "$tmp/info")"
    fi
  done

  cmake -DMANIFEST="$tmp/manifest" -P "$source_dir/cmake/Uninstall.cmake" >"$tmp/log" 2>&1 ||
    fail "$name: removal failed: $(cat "$tmp/log")"
  # Left: what was there before, and the shared folders the install made (hosts' folders, bin, share).
  tree | comm -13 "$tmp/before" - | grep -v -E '^\./home/\.(vst|vst3|clap|lv2)$|^\./(home/\.local|usr)(/bin|/lib(/vst|/vst3|/clap|/lv2)?|/share(/doc|/man|/man/man1)?)?$' \
    >"$tmp/left"
  [ -s "$tmp/left" ] && fail "$name: removal left $(cat "$tmp/left")" || ok "$name: removal takes away what it put there"
  tree | comm -23 "$tmp/before" - >"$tmp/gone"
  [ -s "$tmp/gone" ] && fail "$name: removal took $(cat "$tmp/gone")" || ok "$name: removal keeps everything else"
}

# Another plug-in already in the user's and the system's folders.
mkdir -p "$tmp/root/home/.vst" "$tmp/root/home/.clap" "$tmp/root/usr/lib/vst3/Other.vst3"
echo other >"$tmp/root/home/.vst/Other.so"
echo other >"$tmp/root/home/.clap/Other.clap"
echo other >"$tmp/root/usr/lib/vst3/Other.vst3/x"
check_layout "user layout (prefix ~/.local)" "$tmp/root/home/.local" user_folder
check_layout "system layout (prefix /usr)" "$tmp/root/usr" system_folder
exit $failures
