#!/usr/bin/env bash
# Every format files the plug-in as the same kind, an effect, in its own vocabulary, as hosts' browsers
# read it: the VST2 category opcode, the VST3 factory's sub-categories and moduleinfo.json, the CLAP
# descriptor's features, and the LV2 class lilv names (with Debian's class hierarchy loaded).
#   plugin-kind.sh VSTHOST VST2_MODULE VST3_BUNDLE CLAP_MODULE LV2_BUNDLE
set -u
tool=$1 vst2=$2 vst3=$3 clap=$4 lv2=$5
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
check() { # what, wanted line, file
  if grep -qx "$2" "$3"; then echo "ok   $1"; else
    echo "FAIL $1: wanted '$2', found:"; grep -iE 'categor|features|class:' "$3"; failures=$((failures + 1))
  fi
}

"$tool" info "$vst2" >"$tmp/vst2.txt" 2>&1
check "VST2: effect (kPlugCategEffect)" "category: 1" "$tmp/vst2.txt"
"$tool" info "$vst3" >"$tmp/vst3.txt" 2>&1
check "VST3: the factory's sub-categories" "sub-categories: Fx" "$tmp/vst3.txt"
python3 -c 'import json,sys; print("Sub Categories:", *json.load(open(sys.argv[1]))["Classes"][0]["Sub Categories"])' \
  "$vst3/Contents/Resources/moduleinfo.json" >"$tmp/moduleinfo.txt" 2>&1
check "VST3: moduleinfo.json's sub-categories" "Sub Categories: Fx" "$tmp/moduleinfo.txt"
"$tool" info "$clap" >"$tmp/clap.txt" 2>&1
check "CLAP: the descriptor's features" "features: audio-effect stereo" "$tmp/clap.txt"
# lilv names a subclass such as "Generator Plugin" only with the LV2 core's classes on its path.
mkdir "$tmp/path" && ln -s "$(cd "$lv2" && pwd)" "$tmp/path/twinPulseToneMix.lv2"
LV2_PATH=$tmp/path:/usr/lib/lv2 lv2info https://www.twinpulsetonemix.org/plugins/twinPulseToneMix \
  | sed -n 's/^\tClass: *//p' >"$tmp/lv2.txt"
check "LV2: the plain plug-in class" "Plugin" "$tmp/lv2.txt"

[ "$failures" = 0 ]
