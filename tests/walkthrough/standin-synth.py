#!/usr/bin/python3 -SI
"""A stand-in synthesiser for speech-dispatcher's generic output module: it
takes as long as real speech would, 15 letters a second at rate 0, twice as
fast at rate 50 and four times at 100, and logs a phrase only once it has
been spoken to its end. A phrase cut short (the module kills the command)
leaves no line. Its time counts from when the module asked for the phrase.
    printf %s TEXT | standin-synth.py RATE LOG
"""
import os
import sys
import time



def asked():
    """When the module started the command: the shell that runs this one
    started then, so the stand-in's own start-up is not counted as speech."""
    try:
        fields = open("/proc/%d/stat" % os.getppid()).read().rsplit(")", 1)[1].split()
        since_boot = float(open("/proc/uptime").read().split()[0])
        return time.time() - since_boot + int(fields[19]) / os.sysconf("SC_CLK_TCK")
    except (OSError, ValueError, IndexError):
        return time.time()


rate = float(sys.argv[1])
started = min(asked(), time.time())
# The text without its markup; a letter cut in two by the module's chunking
# is not this voice's to refuse.
text = sys.stdin.buffer.read().decode("utf-8", "replace")
text = "".join(part.split(">", 1)[-1] for part in text.split("<")).strip()
time.sleep(max(0.0, started + len(text) / (15.0 * 2 ** (rate / 50.0)) - time.time()))
with open(sys.argv[2], "a", encoding="utf-8") as log:
    # One line a phrase, whatever breaks the text into lines.
    log.write("%.3f %.3f %d %s\n" % (started, time.time(), int(rate), " ".join(text.split())))
