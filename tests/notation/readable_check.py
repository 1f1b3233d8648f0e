#!/usr/bin/env python3
# Checks MusicXML written for reading against the MIDI file it was made of:
#   readable_check.py MIDI MUSICXML [--layout]
# Every MIDI note is there (same channel and pitch; drums by onset) with its
# onset within a grid step (a sixteenth); with --layout also no written value
# shorter than a sixteenth and no two lyrics at one place (same part, staff,
# onset and lyric number). Prints the problems, exit status 1 when any.
import subprocess
import sys
import xml.etree.ElementTree as ET
from collections import Counter
from fractions import Fraction

STEPS = {'C': 0, 'D': 2, 'E': 4, 'F': 5, 'G': 7, 'A': 9, 'B': 11}
DRUMS = 10
TOLERANCE = Fraction(1, 4)
TOO_SHORT = {'32nd', '64th', '128th', '256th'}


def midi_onsets(path):
    rows = [line.split(', ') for line in
            subprocess.run(['midicsv', path], capture_output=True, text=True, check=True).stdout.splitlines()]
    division = int(rows[0][5])
    sounding, notes = {}, []
    for row in rows:
        if row[2] not in ('Note_on_c', 'Note_off_c'):
            continue
        tick, channel, pitch = int(row[1]), int(row[3]) + 1, int(row[4])
        if row[2] == 'Note_on_c' and int(row[5]) > 0:
            sounding.setdefault((channel, pitch), []).append(tick)
        elif sounding.get((channel, pitch)):
            start = sounding[(channel, pitch)].pop(0)
            if tick > start:
                notes.append((channel, None if channel == DRUMS else pitch, Fraction(start, division)))
    return notes


def xml_onsets(path, problems):
    root = ET.parse(path).getroot()
    channels = {}
    for part in root.iter('score-part'):
        channel = part.find('midi-instrument/midi-channel')
        channels[part.get('id')] = int(channel.text) if channel is not None else 0
    notes, lyrics = [], Counter()
    for part in root.findall('part'):
        channel = channels.get(part.get('id'), 0)
        divisions, measure_start = 1, Fraction(0)
        for measure in part.findall('measure'):
            position, longest, chord_start = measure_start, Fraction(0), measure_start
            for element in measure:
                if element.tag == 'attributes' and element.find('divisions') is not None:
                    divisions = int(element.find('divisions').text)
                elif element.tag in ('backup', 'forward'):
                    step = Fraction(int(element.find('duration').text), divisions)
                    position += step if element.tag == 'forward' else -step
                elif element.tag == 'note' and element.find('grace') is None:
                    length = Fraction(int(element.find('duration').text), divisions)
                    if element.find('chord') is None:
                        chord_start = position
                        position += length
                    kind = element.findtext('type')
                    if kind in TOO_SHORT:
                        problems.append(f'a {kind} in part {part.get("id")} at {chord_start}')
                    staff = element.findtext('staff', '1')
                    for lyric in element.findall('lyric'):
                        lyrics[(part.get('id'), staff, chord_start, lyric.get('number', '1'))] += 1
                    tied = 'stop' in [tie.get('type') for tie in element.findall('tie')]
                    if element.find('rest') is None and not tied:
                        pitch = element.find('pitch')
                        midi = None
                        if pitch is not None and channel != DRUMS:
                            alter = pitch.find('alter')
                            midi = ((int(pitch.find('octave').text) + 1) * 12 + STEPS[pitch.find('step').text]
                                    + (int(float(alter.text)) if alter is not None else 0))
                        notes.append((channel, midi, chord_start))
                longest = max(longest, position - measure_start)
            measure_start += longest
    for place, count in lyrics.items():
        if count > 1:
            problems.append(f'{count} lyrics at one place: part {place[0]}, staff {place[1]}, '
                            f'onset {place[2]}, line {place[3]}')
    return notes


def by_voice(notes):
    groups = {}
    for channel, pitch, onset in notes:
        groups.setdefault((channel, pitch), []).append(onset)
    return {key: sorted(onsets) for key, onsets in groups.items()}


def main():
    problems = []
    written = xml_onsets(sys.argv[2], problems)
    if '--layout' not in sys.argv:
        problems = []
    played, shown = by_voice(midi_onsets(sys.argv[1])), by_voice(written)
    for key in sorted(set(played) | set(shown), key=str):
        a, b = played.get(key, []), shown.get(key, [])
        if len(a) != len(b):
            problems.append(f'channel {key[0]} pitch {key[1]}: {len(a)} notes played, {len(b)} written')
            continue
        for x, y in zip(a, b):
            if abs(x - y) > TOLERANCE:
                problems.append(f'channel {key[0]} pitch {key[1]}: played at {x}, written at {y}')
                break
    for problem in problems[:20]:
        print(f'{sys.argv[2]}: {problem}')
    return 1 if problems else 0


sys.exit(main())
