#!/usr/bin/env python3
"""Writes the MuseScore scores of the meter-change scenarios and lets MuseScore
export them: each score as laid-out MusicXML, as .mxl and compacted (the
white space between tags removed), the music also as MIDI (the reference
for where every note sits). Run from this folder; it fills the scenario
folders next to it (meters_*, pickup_meters_*, lead_sheet_meters) with their
inputs: in in/, or kept once in tests/data/shared and named by a line of
in.list when several scenarios start from the same file. Their expected
outputs are then recorded by the scenario test with ZELVO_UPDATE=1. (A new
.mxl differs in its zip's time stamps only.)

    python3 make_scores.py            # needs mscore3 (Debian's musescore3)
    python3 make_scores.py refusals   # only the refused variants, from the exports
"""
import io
import os
import re
import shutil
import subprocess
import sys
import tempfile
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
SCENARIOS = os.path.dirname(HERE)
DATA = os.path.dirname(SCENARIOS)
SIXTEENTH = 120  # MuseScore's 480 ticks per quarter note

# Pitch class -> MuseScore's tonal pitch class (sharps; B flat as a flat).
TPC = {0: 14, 1: 21, 2: 16, 3: 23, 4: 18, 5: 13, 6: 20, 7: 15, 8: 22, 9: 17, 10: 12, 11: 19}
NAMES = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11, "F#": 6, "Bb": 10}
TYPES = {16: ("whole", 0), 12: ("half", 1), 8: ("half", 0), 6: ("quarter", 1), 4: ("quarter", 0),
         3: ("eighth", 1), 2: ("eighth", 0), 1: ("16th", 0)}
CHORD_TONES = {"": (0, 4, 7), "m": (0, 3, 7), "7": (0, 4, 7, 10)}
MAJOR = (0, 2, 4, 5, 7, 9, 11)


def bar_16ths(meter):
    n, d = meter
    return n * 16 // d


def split(length):
    """Note values (in sixteenths) that add up to `length`, longest first."""
    parts = []
    for value in (16, 12, 8, 6, 4, 3, 2, 1):
        while length >= value:
            parts.append(value)
            length -= value
    return parts


def duration_tags(value):
    kind, dots = TYPES[value]
    return ("<dots>1</dots>" if dots else "") + "<durationType>%s</durationType>" % kind


def chord_xml(value, pitches):
    notes = "".join("<Note><pitch>%d</pitch><tpc>%d</tpc></Note>" % (p, TPC[p % 12]) for p in pitches)
    return "<Chord>%s%s</Chord>" % (duration_tags(value), notes)


def rest_xml(value):
    return "<Rest>%s</Rest>" % duration_tags(value)


def rests(length):
    return "".join(rest_xml(v) for v in split(length))


class Bar:
    """One measure: its meter, key (fifths), chords as (name, sixteenths)
    and what each part plays."""

    def __init__(self, meter, fifths, chords):
        self.meter = meter
        self.fifths = fifths
        self.chords = chords


def parse_chord(name):
    root = name[:2] if len(name) > 1 and name[1] in "#b" else name[:1]
    return NAMES[root], name[len(root):]


def nearest(pitch_class, around):
    best = None
    for p in range(around - 12, around + 13):
        if p % 12 == pitch_class and (best is None or abs(p - around) < abs(best - around)):
            best = p
    return best


RHYTHMS = {(4, 4): [(4, 2, 2, 4, 4), (6, 2, 8)], (3, 4): [(4, 2, 2, 4), (8, 4)],
           (6, 8): [(6, 2, 2, 2), (2, 2, 2, 6)], (2, 4): [(2, 2, 4)], (3, 8): [(2, 1, 1, 2)]}


def melody(bars):
    """A line that starts each chord on a chord tone and moves by step."""
    out = []
    pitch = 72
    for index, bar in enumerate(bars):
        patterns = RHYTHMS[bar.meter]
        rhythm = patterns[index % len(patterns)]
        key = [(d + 7 * bar.fifths) % 12 for d in MAJOR]
        chord_at = []
        t = 0
        for name, length in bar.chords:
            chord_at.append((t, parse_chord(name)))
            t += length
        t = 0
        items = []
        direction = 1 if index % 2 == 0 else -1
        for value in rhythm:
            root, kind = [c for s, c in chord_at if s <= t][-1]
            if any(s == t for s, c in chord_at):
                tones = [(root + i) % 12 for i in CHORD_TONES[kind]]
                pitch = min((nearest(pc, pitch) for pc in tones), key=lambda p: (abs(p - pitch), p))
            else:
                step = pitch + direction
                while step % 12 not in key:
                    step += direction
                pitch = step
            pitch = max(62, min(81, pitch))
            items.append(chord_xml(value, [pitch]))
            t += value
        out.append("".join(items))
    return out


def bass(bars):
    out = []
    for bar in bars:
        items = []
        for name, length in bar.chords:
            root, _ = parse_chord(name)
            items.extend(chord_xml(v, [nearest(root, 43)]) for v in split(length))
        out.append("".join(items))
    return out


def inner(bars):
    out = []
    for bar in bars:
        name, _ = bar.chords[0]
        root, kind = parse_chord(name)
        third = (root + CHORD_TONES[kind][1]) % 12
        items = [chord_xml(v, [nearest(third, 62)]) for v in split(bar_16ths(bar.meter))]
        out.append("".join(items))
    return out


def scale_part(bars):
    """A rising scale in sixteenths where the key is stated, else rests."""
    out = []
    previous = None
    for bar in bars:
        length = bar_16ths(bar.meter)
        if bar.fifths != previous:
            tonic = 60 + (7 * bar.fifths) % 12
            notes = [chord_xml(1, [tonic + d]) for d in MAJOR]
            out.append("".join(notes) + rest_xml(1) + rests(length - 8))
        else:
            out.append(rest_xml(length) if length in TYPES else rests(length))
        previous = bar.fifths
    return out


def chord_part(bars):
    out = []
    for bar in bars:
        items = []
        for name, length in bar.chords:
            root, kind = parse_chord(name)
            low = nearest(root, 50)
            pitches = [low] + [nearest((root + i) % 12, 62 + i) for i in CHORD_TONES[kind][1:]]
            items.append(chord_xml(length, sorted(pitches)))
        out.append("".join(items))
    return out


def symbols(bars):
    """Chord symbols only (a lead sheet's melody carries them)."""
    out = []
    for bar in bars:
        out.append([(name, length) for name, length in bar.chords])
    return out


KIND_NAMES = {"": "", "m": "m", "7": "7"}


def measures_xml(bars, contents, pickup=None, with_symbols=None):
    """The measures of one staff; `pickup` is (sixteenths, content)."""
    xml = []
    previous = (None, None)
    all_bars = ([None] if pickup else []) + list(bars)
    for i, bar in enumerate(all_bars):
        if bar is None:
            first = bars[0]
            length = pickup[0]
            head = '<Measure len="%d/16"><irregular>1</irregular>' % length
            voice = ("<KeySig><accidental>%d</accidental></KeySig><TimeSig><sigN>%d</sigN><sigD>%d</sigD></TimeSig>"
                     % (first.fifths, first.meter[0], first.meter[1]))
            previous = (first.fifths, first.meter)
            xml.append(head + "<voice>" + voice + pickup[1] + "</voice></Measure>")
            continue
        k = i - (1 if pickup else 0)
        voice = ""
        if bar.fifths != previous[0]:
            voice += "<KeySig><accidental>%d</accidental></KeySig>" % bar.fifths
        if bar.meter != previous[1]:
            voice += "<TimeSig><sigN>%d</sigN><sigD>%d</sigD></TimeSig>" % bar.meter
        previous = (bar.fifths, bar.meter)
        content = contents[k]
        if with_symbols is not None:
            # A symbol goes before the note that starts where it does.
            pieces = re.findall(r"<(?:Chord|Rest)>.*?</(?:Chord|Rest)>", content)
            t = 0
            marks = {}
            for name, length in with_symbols[k]:
                marks[t] = name
                t += length
            content = ""
            t = 0
            for piece in pieces:
                if t in marks:
                    root, kind = parse_chord(marks[t])
                    content += "<Harmony><root>%d</root><name>%s</name></Harmony>" % (TPC[root], KIND_NAMES[kind])
                content += piece
                kind = re.search(r"<durationType>(\w+)</durationType>", piece).group(1)
                dotted = "<dots>1</dots>" in piece
                value = {"whole": 16, "half": 8, "quarter": 4, "eighth": 2, "16th": 1}[kind]
                t += value * 3 // 2 if dotted else value
        xml.append("<Measure><voice>" + voice + content + "</voice></Measure>")
    return "".join(xml)


def mscx(parts, bars, pickups=None, symbols_in=None):
    """A MuseScore 3 file: `parts` is a list of (name, clef, contents)."""
    head = ('<?xml version="1.0" encoding="UTF-8"?>\n<museScore version="3.01"><Score>'
            "<Division>480</Division>")
    part_xml = ""
    staff_xml = ""
    for n, (name, clef, contents) in enumerate(parts, start=1):
        part_xml += ('<Part><Staff id="%d"><StaffType group="pitched"><name>stdNormal</name></StaffType>'
                     "%s</Staff><trackName>%s</trackName><Instrument><longName>%s</longName>"
                     "<trackName>%s</trackName><clef>%s</clef><Channel><program value=\"0\"/></Channel>"
                     "</Instrument></Part>" % (n, "<defaultClef>F</defaultClef>" if clef == "F" else "",
                                               name, name, name, clef))
        pickup = pickups[n - 1] if pickups else None
        symbol_bars = symbols_in if (symbols_in is not None and n == 1) else None
        staff_xml += '<Staff id="%d">%s</Staff>' % (n, measures_xml(bars, contents, pickup, symbol_bars))
    return head + part_xml + staff_xml + "</Score></museScore>\n"


def mscore(source, target):
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    subprocess.run(["mscore3", "-o", target, source], check=True, env=env,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def compact(text):
    return re.sub(r">\s+<", "><", text)


# The piece: 4/4, then 3/4, 4/4 again, 6/8 (in G), a bar of 2/4 and 4/4 to
# the end; bar lengths 16, 12, 16, 12 and 8 sixteenths.
PIECE = [
    Bar((4, 4), 0, [("C", 16)]), Bar((4, 4), 0, [("F", 8), ("G", 8)]), Bar((4, 4), 0, [("Am", 16)]),
    Bar((4, 4), 0, [("G", 16)]),
    Bar((3, 4), 0, [("C", 12)]), Bar((3, 4), 0, [("Dm", 12)]), Bar((3, 4), 0, [("G7", 12)]),
    Bar((3, 4), 0, [("C", 12)]),
    Bar((4, 4), 1, [("G", 16)]), Bar((4, 4), 1, [("D7", 16)]),
    Bar((6, 8), 1, [("Em", 12)]), Bar((6, 8), 1, [("C", 6), ("D", 6)]), Bar((6, 8), 1, [("G", 12)]),
    Bar((2, 4), 0, [("G7", 8)]),
    Bar((4, 4), 0, [("C", 8), ("F", 8)]), Bar((4, 4), 0, [("C", 16)]),
]

# A pickup of a quarter note, then 4/4, 3/4, 2/4 and 4/4.
PICKUP_PIECE = [
    Bar((4, 4), 0, [("C", 16)]), Bar((4, 4), 0, [("F", 8), ("G", 8)]),
    Bar((3, 4), 0, [("Am", 12)]), Bar((3, 4), 0, [("Dm", 12)]),
    Bar((2, 4), 0, [("G7", 8)]),
    Bar((4, 4), 0, [("C", 8), ("G", 8)]), Bar((4, 4), 0, [("C", 16)]),
]

# A lead sheet: a melody with chord symbols, 4/4, 3/4, 6/8, 4/4.
LEAD = [
    Bar((4, 4), 0, [("C", 8), ("Am", 8)]), Bar((4, 4), 0, [("F", 8), ("G7", 8)]),
    Bar((3, 4), 0, [("C", 12)]), Bar((3, 4), 0, [("Dm", 8), ("G7", 4)]),
    Bar((6, 8), 0, [("Em", 6), ("Am", 6)]), Bar((6, 8), 0, [("F", 12)]),
    Bar((4, 4), 0, [("G7", 16)]), Bar((4, 4), 0, [("C", 16)]),
]


def music_parts(bars):
    return [("Melody", "G", melody(bars)), ("Bass", "F", bass(bars)), ("Inner", "G", inner(bars))]


def harmony_parts(bars):
    return [("Scales", "G", scale_part(bars)), ("Chords", "F", chord_part(bars))]


def write(name, text):
    with open(os.path.join(HERE, name), "w") as f:
        f.write(text)


class Shared(str):
    """The path under tests/data of a file several scenarios start from."""


def share(path, content):
    """Keeps `content` once, at `path` under tests/data."""
    target = os.path.join(DATA, path)
    os.makedirs(os.path.dirname(target), exist_ok=True)
    with open(target, "wb") as f:
        f.write(content.encode() if isinstance(content, str) else content)
    return Shared(path)


def read_shared(path):
    with open(os.path.join(DATA, path)) as f:
        return f.read()


def scenario(name, command, files):
    """Writes the folder of scenario `name`: its command and the files it
    starts from, each given as its text (kept in in/) or as a Shared path (a
    line of in.list)."""
    folder = os.path.join(SCENARIOS, name)
    shutil.rmtree(os.path.join(folder, "in"), ignore_errors=True)
    os.makedirs(folder, exist_ok=True)
    listed = ""
    for file_name, content in sorted(files.items()):
        if isinstance(content, Shared):
            listed += "%s <- %s\n" % (file_name, content)
            continue
        os.makedirs(os.path.join(folder, "in"), exist_ok=True)
        with open(os.path.join(folder, "in", file_name), "wb") as f:
            f.write(content.encode() if isinstance(content, str) else content)
    if listed:
        with open(os.path.join(folder, "in.list"), "w") as f:
            f.write(listed)
    elif os.path.exists(os.path.join(folder, "in.list")):
        os.remove(os.path.join(folder, "in.list"))
    with open(os.path.join(folder, "command"), "w") as f:
        f.write(command)


def export(source, suffix):
    """The file MuseScore makes of `source` (.xml or .mxl), as bytes."""
    with tempfile.TemporaryDirectory() as work:
        target = os.path.join(work, "export" + suffix)
        mscore(source, target)
        with open(target, "rb") as f:
            return f.read()


def forms(stem):
    """`stem`.mscx as MuseScore exports it laid out and as .mxl, and the
    laid-out export compacted."""
    laid_out = export(os.path.join(HERE, stem + ".mscx"), ".xml")
    return laid_out, export(os.path.join(HERE, stem + ".mscx"), ".mxl"), compact(laid_out.decode())


CONAR = """// Three parts of inmus.xml; inarm.xml holds the scales in part 1 and
// the chords in part 2.
FirstMusicIns = 1
LastMusicIns = 3
MusicSource = 0
FirstHarmIns = 1
HarmInsNum = 2
DivideNotes = 1
MelIns = 1
BassIns = 2
NonHarmTonesSortDF = 1, 1, 1, 1, 0, 0, 0, 0
NonHarmTonesCoefBA = 10, 100, 20, 10, 5, 50, 0
NonHarmTonesCoefME = 10, 100, 20, 10, 5, 0, 50
"""
METERS = "shared/meters_laid_out/"


def scenario_set(prefix, music_stem, harmony_stem):
    """The scenarios PREFIX_laid_out, _mxl and _compact; the laid-out files
    are shared, as other scenarios start from them too."""
    conar = share(METERS + "conar.txt", CONAR)
    music, harmony = forms(music_stem), forms(harmony_stem)
    laid_out = prefix + "_laid_out"
    scenario(laid_out, "harmonize\n", {"conar.txt": conar,
                                       "inmus.xml": share("shared/%s/inmus.xml" % laid_out, music[0]),
                                       "inarm.xml": share("shared/%s/inarm.xml" % laid_out, harmony[0])})
    scenario(prefix + "_mxl", "harmonize\n", {"conar.txt": conar, "inmus.mxl": music[1], "inarm.mxl": harmony[1]})
    scenario(prefix + "_compact", "harmonize\n", {"conar.txt": conar, "inmus.xml": music[2], "inarm.xml": harmony[2]})
    for form in ("_mxl", "_compact"):
        with open(os.path.join(SCENARIOS, prefix + form, "same_as"), "w") as f:
            f.write(laid_out + "\n")


def main():
    # The older meter_change scenario's score, as MuseScore plays it.
    mscore(os.path.join(SCENARIOS, "meter_change", "in", "inmus.xml"), os.path.join(HERE, "meter_change.mid"))
    write("meters.mscx", mscx(music_parts(PIECE), PIECE))
    write("meters_harmony.mscx", mscx(harmony_parts(PIECE), PIECE))
    mscore(os.path.join(HERE, "meters.mscx"), os.path.join(HERE, "meters.mid"))
    scenario_set("meters", "meters", "meters_harmony")

    up = chord_xml(4, [67])
    pickups = [(4, up), (4, rest_xml(4)), (4, rest_xml(4))]
    write("pickup_meters.mscx", mscx(music_parts(PICKUP_PIECE), PICKUP_PIECE, pickups))
    write("pickup_meters_harmony.mscx", mscx(harmony_parts(PICKUP_PIECE), PICKUP_PIECE))
    mscore(os.path.join(HERE, "pickup_meters.mscx"), os.path.join(HERE, "pickup_meters.mid"))
    scenario_set("pickup_meters", "pickup_meters", "pickup_meters_harmony")

    write("lead_meters.mscx", mscx([("Melody", "G", melody(LEAD))], LEAD, None, symbols(LEAD)))
    mscore(os.path.join(HERE, "lead_meters.mscx"), os.path.join(HERE, "lead_meters.mid"))
    scenario("lead_sheet_meters", "chords inmus.xml\nharmonize\n", {
        "inmus.xml": export(os.path.join(HERE, "lead_meters.mscx"), ".xml"),
        "conar.txt": "// The lead sheet's melody; zelvo chords writes the harmony into parts 2 and 3.\n"
                     "FirstMusicIns = 1\nLastMusicIns = 1\nMusicSource = 0\nFirstHarmIns = -1\n"
                     "HarmInsNum = 2\nDivideNotes = 1\nMelIns = 1\nBassIns = 1\n"})



def refusal(name, music, harmony):
    scenario(name, "harmonize\n", {"inmus.xml": music, "inarm.xml": harmony, "conar.txt": share(METERS + "conar.txt", CONAR)})


def with_meter(text, part, measure, beats, beat_type):
    """`text` with the time signature of `measure` in the `part`-th part
    (0 for every part) changed."""
    starts = [m.start() for m in re.finditer(r"<part id=", text)] + [len(text)]
    pieces = [text[:starts[0]]]
    for k in range(len(starts) - 1):
        piece = text[starts[k]:starts[k + 1]]
        if part in (0, k + 1):
            at = piece.index('<measure number="%d"' % measure)
            end = piece.index("</time>", at)
            head = piece[at:end]
            head = re.sub(r"<beats>\d+</beats>", "<beats>%d</beats>" % beats, head)
            head = re.sub(r"<beat-type>\d+</beat-type>", "<beat-type>%d</beat-type>" % beat_type, head)
            piece = piece[:at] + head + piece[end:]
        pieces.append(piece)
    return "".join(pieces)


def many_changes(count):
    """One part whose meter changes `count` times, 4/4 and 3/4 in turn."""
    measures = []
    for m in range(1, count + 2):
        beats = 4 if m % 2 == 1 else 3
        measures.append('    <measure number="%d">\n      <attributes>\n%s        <time>\n'
                        "          <beats>%d</beats>\n          <beat-type>4</beat-type>\n"
                        "          </time>\n        </attributes>\n      <note>\n        <pitch>\n"
                        "          <step>C</step>\n          <octave>5</octave>\n          </pitch>\n"
                        "        <duration>%d</duration>\n        </note>\n      </measure>\n"
                        % (m, "        <divisions>1</divisions>\n" if m == 1 else "", beats, beats))
    return ('<?xml version="1.0" encoding="UTF-8"?>\n<score-partwise version="3.1">\n  <part-list>\n'
            '    <score-part id="P1">\n      <part-name>Melody</part-name>\n      </score-part>\n'
            '    </part-list>\n  <part id="P1">\n' + "".join(measures) + "    </part>\n  </score-partwise>\n")


def refusals():
    music_file, harmony_file = Shared(METERS + "inmus.xml"), Shared(METERS + "inarm.xml")
    music, harmony = read_shared(music_file), read_shared(harmony_file)
    refusal("meters_parts_differ", with_meter(music, 2, 5, 2, 4), harmony_file)
    refusal("meters_harmony_elsewhere", music_file, with_meter(harmony, 0, 5, 4, 4))
    refusal("meters_unusual", with_meter(music, 0, 5, 3, 3), harmony_file)
    refusal("meters_too_many", many_changes(257), harmony_file)
    one_meter = harmony
    for measure in (5, 9, 11, 14, 15):
        one_meter = with_meter(one_meter, 0, measure, 4, 4)
    refusal("meters_most", many_changes(256), one_meter)


def simple_score(parts):
    """A laid-out score; `parts` maps a part number to its measures, each
    (beats, beat type, [(pitches, duration in quarters)]); a time
    signature is written where it changes."""
    text = '<?xml version="1.0" encoding="UTF-8"?>\n<score-partwise version="3.1">\n  <part-list>\n'
    for number in parts:
        text += '    <score-part id="P%d">\n      <part-name>P%d</part-name>\n      </score-part>\n' % (number, number)
    text += "    </part-list>\n"
    for number, measures in parts.items():
        text += '  <part id="P%d">\n' % number
        meter = None
        for m, (beats, beat_type, notes) in enumerate(measures, start=1):
            text += '    <measure number="%d">\n' % m
            if (beats, beat_type) != meter:
                text += "      <attributes>\n"
                if m == 1:
                    text += "        <divisions>1</divisions>\n"
                text += ("        <time>\n          <beats>%d</beats>\n          <beat-type>%d</beat-type>\n"
                         "          </time>\n        </attributes>\n" % (beats, beat_type))
                meter = (beats, beat_type)
            for pitches, quarters, *tie in notes:
                for k, step in enumerate(pitches or [None]):
                    text += "      <note>\n" + ("        <chord/>\n" if k else "")
                    text += ("        <rest/>\n" if step is None else
                             "        <pitch>\n          <step>%s</step>\n          <octave>%s</octave>\n"
                             "          </pitch>\n" % (step[0], step[1]))
                    text += "        <duration>%d</duration>\n" % quarters
                    text += "".join('        <tie type="%s"/>\n' % kind for kind in tie)
                    text += "        </note>\n"
            text += "    </measure>\n"
        text += "  </part>\n"
    return text + "  </score-partwise>\n"


def check_scenario():
    """Harmony that ends a bar before the music, in a score that starts in
    2/4 and goes on in 4/4: zelvo check counts the bars in their meters."""
    music = {1: [(2, 4, [(["C5"], 2)])] + [(4, 4, [(["E5"], 4)])] * 5}
    harmony = {1: [(2, 4, [(["C4"], 1), (None, 1)])] + [(4, 4, [(None, 4)])] * 5,
               2: [(2, 4, [(["C3", "E3", "G3"], 2)])] + [(4, 4, [(["C3", "E3", "G3"], 4)])] * 4 +
                  [(4, 4, [(None, 4)])]}
    conar = share("shared/meters_check/conar.txt",
                  "FirstMusicIns = 1\nLastMusicIns = 1\nMusicSource = 0\nFirstHarmIns = 1\nHarmInsNum = 2\n")
    scenario("meters_check", "check\n",
             {"inmus.xml": simple_score(music), "inarm.xml": simple_score(harmony), "conar.txt": conar})
    # The same compressed, and the pickup score as it is: check reads them
    # as the jobs do.
    scenario("meters_check_mxl", "check\n", {"inmus.mxl": mxl(music), "inarm.mxl": mxl(harmony), "conar.txt": conar})
    pickup = "shared/pickup_meters_laid_out/"
    scenario("pickup_meters_check", "check\n", {"conar.txt": Shared(METERS + "conar.txt"),
                                                "inmus.xml": Shared(pickup + "inmus.xml"),
                                                "inarm.xml": Shared(pickup + "inarm.xml")})


def mxl(parts):
    """simple_score(`parts`) as a compressed score, its zip's times fixed."""
    out = io.BytesIO()
    with zipfile.ZipFile(out, "w") as archive:
        archive.writestr(zipfile.ZipInfo("META-INF/container.xml", (2026, 1, 1, 0, 0, 0)),
                         '<?xml version="1.0" encoding="UTF-8"?>\n<container><rootfiles>'
                         '<rootfile full-path="score.xml"/></rootfiles></container>\n')
        archive.writestr(zipfile.ZipInfo("score.xml", (2026, 1, 1, 0, 0, 0)), simple_score(parts))
    return out.getvalue()


def harmony_past_bar_scenario():
    """A harmony file in 4/4 over music in 4/4 and 3/4: a chord on the
    fourth beat of its bar 2 falls on the downbeat of the music's bar 3, and
    cuts the note tied over that bar line there."""
    q = lambda step: ([step], 1)
    music = {1: [(4, 4, [q("C5"), q("D5"), q("E5"), q("F5")]), (3, 4, [q("G5"), q("F5"), (["E5"], 1, "start")]),
                 (3, 4, [(["E5"], 1, "stop"), q("C5"), q("B4")]), (4, 4, [q("C5"), q("E5"), q("G5"), q("C6")])]}
    scale = [(["C4"], 1), (["D4"], 1), (["E4"], 1), (["F4"], 1)]
    rest_bar = [(None, 4)]
    harmony = {1: [(4, 4, scale), (4, 4, [(["G4"], 1), (["A4"], 1), (["B4"], 1), (None, 1)]),
                   (4, 4, rest_bar), (4, 4, rest_bar)],
               2: [(4, 4, [(["C3", "E3", "G3"], 4)]), (4, 4, [(["D3", "F3", "A3"], 3), (["G3", "B3", "D4"], 1)]),
                   (4, 4, [(None, 1), (["C3", "E3", "A3"], 3)]), (4, 4, [(["C3", "E3", "G3"], 4)])]}
    scenario("meters_harmony_one_meter", "harmonize\n", {
        "inmus.xml": simple_score(music), "inarm.xml": simple_score(harmony),
        "conar.txt": "FirstMusicIns = 1\nLastMusicIns = 1\nMusicSource = 0\nFirstHarmIns = 1\nHarmInsNum = 2\n"
                     "MelIns = 1\nBassIns = 1\n"})


if __name__ == "__main__":
    if sys.argv[1:] != ["refusals"]:
        main()
    refusals()
    check_scenario()
    harmony_past_bar_scenario()
