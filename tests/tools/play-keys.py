#!/usr/bin/env python3
"""vsthost play --no-editor on a terminal of its own (a pty), against a running JACK server: keys
step through the programs without echo, the status line shows whole program names and the clipping
of a monaural mix, and q fades out and exits 0 with the closing report."""
import os
import pty
import re
import select
import sys
import time

tool, module = sys.argv[1], sys.argv[2]
# Program 20's name is longer than the status line's old 40-character field.
pid, master = pty.fork()
if pid == 0:
    os.execv(tool, [tool, "play", module, "--no-editor", "--program", "19", "-p", "Beats=Monaural",
                    "-p", "Mix=100"])

seen = b""  # read but not yet matched
log = b""  # everything the terminal showed


def wait_for(pattern, seconds=60.0):
    """Reads the terminal until the text since the last mark matches; the match, or None."""
    global seen, log
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        match = re.search(pattern, seen)
        if match:
            seen = seen[match.end():]
            return match
        ready, _, _ = select.select([master], [], [], 0.1)
        if ready:
            try:
                data = os.read(master, 4096)
                seen += data
                log += data
            except OSError:
                break
    return None


failures = []
if not wait_for(rb"playing through"):
    failures.append("play did not start: %r" % seen)
else:
    names = {19: rb"Binaural - 0\.9 \(Euphoria\)",
             20: rb"Binaural - 1 \(Feeling of well-being, pituitary stimulation\) ",
             18: rb"Binaural - 0\.5 \(Post traumatics\)"}
    for key, program in ((b"n", 20), (b"\x1b[D", 19), (b"p", 18)):
        os.write(master, key)
        if not wait_for(rb"program %d: " % program + names[program]):
            failures.append("after %r: no whole name of program %d in %r" % (key, program, seen[-300:]))
    if not wait_for(rb"clipping: \d+ samples, peak \+6\.0 dBFS"):
        failures.append("no clipping in the status line: %r" % seen[-300:])
    os.write(master, b"q")
    if not wait_for(rb"played .* underrun.*\r?\n.*beyond full scale"):
        failures.append("q did not end playback with the report: %r" % seen[-300:])
# An echoed arrow key shows as ^[[D.
if re.search(rb"\^\[\[D", log):
    failures.append("keys were echoed over the status line")
status = None
for _ in range(600):  # until it exits; the limit only ends a hang
    done, status = os.waitpid(pid, os.WNOHANG)
    if done:
        break
    time.sleep(0.1)
else:
    os.kill(pid, 9)
    os.waitpid(pid, 0)
    failures.append("play still ran after q")
if status is not None and os.waitstatus_to_exitcode(status) != 0:
    failures.append("exit %d after q" % os.waitstatus_to_exitcode(status))
for failure in failures:
    print("FAIL keys: " + failure)
if not failures:
    print("ok   keys: programs stepped, whole names, clipping shown, q quits")
sys.exit(1 if failures else 0)
