#!/usr/bin/env python3
"""Writes a long piece: the demo (examples/demo) stretched to BARS bars.

    bench/long_piece.py FOLDER BARS

Every generator of the demo's composition runs for BARS bars instead of 16,
and the harmony file (inarm.xml) repeats its 16 bars of scales and chords
to cover them, so that the piece composes and harmonizes to its end. The
composition repeats every 16 bars but for its random accents, which the
tests of long pieces rely on.
"""
import os
import re
import shutil
import sys

DEMO_BARS = 16


def stretch_composition(text, bars):
    # The bar count of TCONF and every generator's length in bars are the
    # demo's only cells that read 16.
    return text.replace("<td>%d</td>" % DEMO_BARS, "<td>%d</td>" % bars)


def repeat_measures(text, bars):
    def repeat_part(match):
        head, body, tail = match.group(1), match.group(2), match.group(3)
        measures = re.findall(r"[ \t]*<measure number=\"\d+\">.*?</measure>\n", body, re.S)
        out = []
        for bar in range(bars):
            measure = measures[bar % len(measures)]
            if bar >= len(measures):
                measure = re.sub(r"\s*<attributes>.*?</attributes>", "", measure, flags=re.S)
            out.append(re.sub(r"<measure number=\"\d+\">", '<measure number="%d">' % (bar + 1), measure, count=1))
        return head + "".join(out) + tail

    return re.sub(r"(<part id=\"[^\"]*\">\n)(.*?)([ \t]*</part>)", repeat_part, text, flags=re.S)


def main():
    folder, bars = sys.argv[1], int(sys.argv[2])
    demo = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "examples", "demo")
    shutil.copytree(demo, folder, dirs_exist_ok=True)
    for name, change in (("incom.htm", stretch_composition), ("inarm.xml", repeat_measures)):
        path = os.path.join(folder, name)
        with open(path, encoding="utf-8", newline="") as f:
            text = f.read()
        with open(path, "w", encoding="utf-8", newline="") as f:
            f.write(change(text, bars))


main()
