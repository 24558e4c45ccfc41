#!/usr/bin/env python3
"""Fails, naming the symbols, when a layer's static library uses a symbol that only a library it
may not depend on defines: the link-level twin of the include check in layering-check.sh."""
import subprocess
import sys
from pathlib import Path

# Each library and the libraries of ours it may use (besides itself).
ALLOWED = {
    "tpm_core": [],
    "tpm_resources": [],
    "tpm_draw": ["tpm_core", "tpm_resources"],
    "tpm_x11": ["tpm_draw", "tpm_core", "tpm_resources"],
    "tpm_editor": ["tpm_x11", "tpm_draw", "tpm_core", "tpm_resources"],
    "tpm_engine": ["tpm_core"],
    "tpm_plugin": ["tpm_engine", "tpm_editor", "tpm_x11", "tpm_draw", "tpm_core", "tpm_resources"],
    "tpm_vst2": ["tpm_plugin", "tpm_engine", "tpm_editor", "tpm_x11", "tpm_draw", "tpm_core", "tpm_resources"],
    "tpm_clap": ["tpm_plugin", "tpm_engine", "tpm_editor", "tpm_x11", "tpm_draw", "tpm_core", "tpm_resources"],
    "tpm_vst3": ["tpm_plugin", "tpm_engine", "tpm_editor", "tpm_x11", "tpm_draw", "tpm_core", "tpm_resources"],
    "tpm_lv2": ["tpm_plugin", "tpm_engine", "tpm_editor", "tpm_x11", "tpm_draw", "tpm_core", "tpm_resources"],
}


def symbols(library, defined):
    """The strong symbols a library defines, or the ones it uses without defining them."""
    option = "--defined-only" if defined else "--undefined-only"
    out = subprocess.run(["nm", "-P", option, str(library)], capture_output=True, text=True, check=True)
    names = set()
    for line in out.stdout.splitlines():
        parts = line.split()
        # "name type [value size]"; object headers end in ':'. Weak symbols (inline functions,
        # templates) are defined wherever they are used, so they say nothing about layers.
        if len(parts) >= 2 and not parts[0].endswith(":") and parts[1] not in ("W", "V", "w", "v"):
            names.add(parts[0])
    return names


def main():
    build = Path(sys.argv[1] if len(sys.argv) > 1 else "build/linux")
    found = {}
    for name in ALLOWED:
        hits = list(build.rglob(f"lib{name}.a"))
        if hits:
            found[name] = hits[0]
    if "tpm_core" not in found:
        print(f"library layering: no libraries under {build}; build first")
        return 1
    defined = {name: symbols(path, True) for name, path in found.items()}
    bad = 0
    for name, path in found.items():
        allowed = set(ALLOWED[name]) | {name}
        for symbol in sorted(symbols(path, False)):
            owners = [other for other, names in defined.items() if symbol in names]
            if owners and not any(owner in allowed for owner in owners):
                print(f"{name} uses {symbol} from {', '.join(owners)}")
                bad = 1
    if not bad:
        print(f"library layering: clean ({len(found)} libraries)")
    return bad


sys.exit(main())
