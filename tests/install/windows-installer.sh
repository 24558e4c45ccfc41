#!/usr/bin/env bash
# The Windows installer under Wine, in a fresh prefix: the silent install puts every file in its folder
# and registers the uninstaller in the 64-bit registry; the installed twinpulsetonemix-host.exe renders through the
# installed plug-ins exactly as the build's own files do; the silent uninstall removes the files, the
# emptied folders and the registry entries, and leaves another plug-in in the shared folder alone.
# Arguments: installer, the build's vsthost.exe, the build's VST2 DLL, and the VST3 bundle if built.
set -u
installer=$1 tool=$2 dll=$3 vst3=${4:-}
tmp=$(mktemp -d)
export WINEPREFIX=$tmp/prefix WINEDEBUG=-all
trap 'wineserver -k 2>/dev/null; rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL $*"; failures=$((failures + 1)); }
ok() { echo "ok   $*"; }

wineboot -i >/dev/null 2>&1
wineserver -w
c=$WINEPREFIX/drive_c
common="$c/Program Files/Common Files"
mkdir -p "$common/CLAP" "$c/Tools" && echo other >"$common/CLAP/Other.clap"
find "$c" | sort >"$tmp/before"

# /D= ends the command line and sets the program folder; the VST2 folder keeps its default.
wine "$installer" /S '/D=C:\Tools\twinPulseToneMix'
wineserver -w
app="$c/Tools/twinPulseToneMix"
vst2="$c/Program Files/VSTPlugins/twinPulseToneMix.dll"
expected=("$app/twinpulsetonemix-host.exe" "$app/uninstall.exe" "$app/README.md" "$app/examples/focus.schedule" "$vst2"
  "$common/CLAP/twinPulseToneMix.clap")
[ -n "$vst3" ] && expected+=("$common/VST3/twinPulseToneMix.vst3/Contents/x86_64-win/twinPulseToneMix.vst3")
missing=()
for f in "${expected[@]}"; do [ -f "$f" ] || missing+=("${f#"$c"/}"); done
[ ${#missing[@]} = 0 ] && ok "silent install: every file in its folder" || fail "not installed: ${missing[*]}"

key='Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\twinPulseToneMix'
grep -A20 -F "[$key]" "$WINEPREFIX/system.reg" >"$tmp/entry"
grep -q -F '"UninstallString"="\"C:\\Tools\\twinPulseToneMix\\uninstall.exe\""' "$tmp/entry" &&
  grep -q -F '"DisplayVersion"="' "$tmp/entry" && ok "uninstaller registered in the 64-bit registry" ||
  fail "uninstall entry: $(head -12 "$tmp/entry")"
grep -q -F 'Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\twinPulseToneMix' "$WINEPREFIX/system.reg" &&
  fail "uninstall entry in the 32-bit registry view"

# Version resources: the installer and every installed program and module name the tool's version.
version=$(wine "$app/twinpulsetonemix-host.exe" --version | tr -d '\r' | cut -d' ' -f2)
for f in "$installer" "${expected[@]}"; do
  case $f in *.exe | *.dll | *.clap | *.vst3) ;; *) continue ;; esac
  [ "$(strings -el "$f" | grep -A1 -x ProductVersion | tail -n 1)" = "$version" ] &&
    [ "$(strings -el "$f" | grep -A1 -x FileVersion | tail -n 1)" = "$version.0" ] ||
    fail "no version $version resource in ${f#"$c"/}"
done
ok "version resources ($version) in the installer and the installed files"

# The installed tool and plug-ins against the build's: the same samples.
render() { wine "$1" render "$2" -q -s 0.2 -p "Base Freq=300" -p Binaural=7 -p Mix=80 -o "$3" 2>>"$tmp/err"; }
render "$tool" "$dll" "$tmp/reference.f32"
for module in "$vst2" "$common/CLAP/twinPulseToneMix.clap" \
  ${vst3:+"$common/VST3/twinPulseToneMix.vst3"}; do
  name=${module#"$c"/}
  if render "$app/twinpulsetonemix-host.exe" "$module" "$tmp/installed.f32" &&
    wine "$app/twinpulsetonemix-host.exe" compare "$tmp/reference.f32" "$tmp/installed.f32" >/dev/null 2>>"$tmp/err"; then
    ok "installed twinpulsetonemix-host.exe renders through $name"
  else
    fail "render through $name: $(cat "$tmp/err")"
  fi
done

wine "$app/uninstall.exe" /S
wineserver -w # the uninstaller runs from a copy of itself and returns at once
find "$c" | sort >"$tmp/after"
# Wine's own files in users/ and windows/ change with every program run.
diff "$tmp/before" "$tmp/after" | grep -E '^[<>]' | grep -v -E 'drive_c/(users|windows)/' >"$tmp/diff"
[ -s "$tmp/diff" ] && fail "uninstall left or took (>, <): $(cat "$tmp/diff")" ||
  ok "uninstall removes the files and emptied folders, keeps the other plug-in"
grep -q -F "twinPulseToneMix" "$WINEPREFIX/system.reg" && fail "registry after uninstall: $(grep -F twinPulseToneMix "$WINEPREFIX/system.reg")" ||
  ok "uninstall removes the registry entries"

# The VST2 folder chosen on the command line, and the uninstaller finding it there.
mkdir -p "$c/Audio"
wine "$installer" /S '/VST2DIR=C:\Audio\VST2'
wineserver -w
[ -f "$c/Audio/VST2/twinPulseToneMix.dll" ] && [ ! -e "$vst2" ] && ok "/VST2DIR= picks the VST2 folder" ||
  fail "/VST2DIR=: $(find "$c/Audio" "$c/Program Files/VSTPlugins" 2>&1)"
wine "$c/Program Files/twinPulseToneMix/uninstall.exe" /S
wineserver -w
[ -z "$(ls -A "$c/Audio")" ] && [ ! -e "$c/Program Files/twinPulseToneMix" ] &&
  ok "uninstall removes the DLL from the chosen folder" || fail "left: $(find "$c/Audio" "$c/Program Files/twinPulseToneMix")"
exit $failures
