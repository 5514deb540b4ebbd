#!/usr/bin/python3
"""A stand-in synthesiser for speech-dispatcher's generic output module: it
takes as long as real speech would, 15 letters a second at rate 0, twice as
fast at rate 50 and four times at 100, and logs a phrase only once it has
been spoken to its end. A phrase cut short (the module kills the command)
leaves no line.
    printf %s TEXT | standin-synth.py RATE LOG
"""
import re
import sys
import time

rate = float(sys.argv[1])
text = re.sub(r"<[^>]*>", "", sys.stdin.read()).strip()
started = time.time()
time.sleep(len(text) / (15.0 * 2 ** (rate / 50.0)))
with open(sys.argv[2], "a", encoding="utf-8") as log:
    log.write("%.3f %.3f %d %s\n" % (started, time.time(), int(rate), text.replace("\n", " ")))
