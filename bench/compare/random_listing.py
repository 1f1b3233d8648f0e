#!/usr/bin/env python3
"""Writes a random four-voice composer listing (outco.rur) and a harmonizer
configuration (conar.txt) with every non-harmonic tone type allowed and
random weights, into the folder given, for seed N.
  usage: random_listing.py FOLDER SEED [BARS]"""
import os
import random
import sys

folder, seed = sys.argv[1], int(sys.argv[2])
rng = random.Random(seed)
beat, six = 48, 12
bars = rng.randint(2, 16)
if len(sys.argv) > 3:
    bars = int(sys.argv[3])
lines = ["ZAZAD Output Data", "", "96,4,4,48,12\t(tempo, compas-num, compas-den, clicks-parte, clicks-semic)",
         "", "Inst\tCpin\tCkin\tDur\tNote\tVel", ""]
notes = []
for inst, start in ((1, 72), (2, 48), (3, 64), (4, 57)):
    if inst == 4 and rng.random() < 0.3:
        continue
    pitch = start + rng.randint(-3, 3)
    t = 0
    while t < bars * 4 * beat:
        dur = rng.choice([six, six, 2 * six, 2 * six, beat, beat, beat, 2 * beat, 3 * six, 4 * beat])
        if rng.random() < 0.1:
            t += rng.choice([six, beat])
            continue
        step = rng.choice([-2, -1, -1, 0, 1, 1, 2, -4, 3, 5, -7, 12])
        pitch = max(30, min(100, pitch + step))
        bar, click = t // (4 * beat) + 1, t % (4 * beat)
        notes.append((t, inst, bar, click, dur, pitch, rng.randint(40, 110)))
        t += dur
notes.sort(key=lambda n: (n[0], n[1]))
for _, inst, bar, click, dur, pitch, vel in notes:
    lines.append(f"{inst}\t{bar}\t{click}\t{dur}\t{pitch}\t{vel}\t")
with open(os.path.join(folder, "outco.rur"), "w", newline="\r\n" if seed % 5 == 0 else "\n") as f:
    f.write("\n".join(lines) + "\n")

w = lambda: rng.choice(["0", "1", "2.5", "10", "20", "50", "100", "0.3", "7"])
conf = [
    "FirstMusicIns = 1", "LastMusicIns = 4", "MusicSource = 1", "FirstHarmIns = 4", "HarmInsNum = 2",
    f"DivideNotes = {rng.choice([0, 1, 1])}",
    f"MelIns = {rng.choice([-2, -1, 1, 1])}", f"BassIns = {rng.choice([-2, -1, 2, 2])}",
    f"HoleForLine = {rng.choice([0, 2, 4, 4, 8])}", f"MinNotesInLine = {rng.choice([1, 2, 2, 3])}",
    f"HarmUnitNoteLimit = {rng.choice([100, 100, 8, 5])}", f"OpeningInt = {rng.choice([2, 3, 4, 4, 5, 7])}",
    f"NonHarmToneDur = {rng.choice([2, 4, 4, 8])}", f"LinkLimit = {rng.choice([0, 1, 2, 2, 3, 99])}",
    f"LimitNotesThirdIn = {rng.randint(1, 5)}", f"LimitNotesThirdBM = {rng.randint(0, 3)}",
    f"NoLinkAct = {rng.choice([0, 1])}", f"LimitOneLink = {rng.choice([0, 1])}",
    "NonHarmTonesSortDF = 1, 1, 1, 1, 1, 1, 1, 1",
    f"NonHarmTonesCoefDF = {w()}, {w()}, {w()}, {w()}, {w()}, {w()}, {w()}",
    f"NonHarmTonesCoefBA = {w()}, {w()}, {w()}, {w()}, {w()}, 50, {w()}",
    f"NonHarmTonesCoefME = {w()}, {w()}, {w()}, {w()}, {w()}, {w()}, 50",
    f"NonHarmTonesCoef1 = {w()}, {w()}, {w()}, {w()}, {w()}, {w()}, {w()}",
    f"ShowLineInfo = {rng.choice([0, 1])}", f"Debug = {1 if seed % 3 == 0 else 0}",
]
with open(os.path.join(folder, "conar.txt"), "w") as f:
    f.write("\n".join(conf) + "\n")
