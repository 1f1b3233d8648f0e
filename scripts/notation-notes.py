#!/usr/bin/env python3
# Prints the notes of a MIDI or MusicXML file, one a line and sorted: part
# (counted from 1 in the order of the parts, or of the MIDI channels used),
# start and length in quarter notes, MIDI pitch. Tied notes are joined, so
# two files that sound the same print the same list:
#   diff <(scripts/notation-notes.py outar.mid) <(scripts/notation-notes.py outar.musicxml)
# Reads MIDI through midicsv.
import subprocess
import sys
import xml.etree.ElementTree as ET
from fractions import Fraction

STEPS = {'C': 0, 'D': 2, 'E': 4, 'F': 5, 'G': 7, 'A': 9, 'B': 11}


def midi_notes(path):
    rows = [line.split(', ') for line in
            subprocess.run(['midicsv', path], capture_output=True, text=True, check=True).stdout.splitlines()]
    division = int(rows[0][5])
    sounding, notes = {}, []
    for row in rows:
        if row[2] not in ('Note_on_c', 'Note_off_c'):
            continue
        tick, channel, pitch = int(row[1]), int(row[3]), int(row[4])
        if row[2] == 'Note_on_c' and int(row[5]) > 0:
            sounding.setdefault((channel, pitch), []).append(tick)
        elif sounding.get((channel, pitch)):
            start = sounding[(channel, pitch)].pop(0)
            if tick > start:
                notes.append((channel, Fraction(start, division), Fraction(tick - start, division), pitch))
    channels = sorted({note[0] for note in notes})
    return [(channels.index(c) + 1, s, l, p) for c, s, l, p in notes]


def musicxml_notes(path):
    notes = []
    for number, part in enumerate(ET.parse(path).getroot().findall('part'), start=1):
        divisions, measure_start = 1, Fraction(0)
        tied = []  # indexes of notes whose tie goes on
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
                    pitch = element.find('pitch')
                    if pitch is not None:
                        alter = pitch.find('alter')
                        midi = ((int(pitch.find('octave').text) + 1) * 12 + STEPS[pitch.find('step').text]
                                + (int(float(alter.text)) if alter is not None else 0))
                        ties = [tie.get('type') for tie in element.findall('tie')]
                        joined = None
                        if 'stop' in ties:
                            for i in tied:
                                n = notes[i]
                                if n[3] == midi and n[1] + n[2] == chord_start:
                                    joined = i
                                    break
                        if joined is not None:
                            tied.remove(joined)
                            n = notes[joined]
                            notes[joined] = (n[0], n[1], n[2] + length, n[3])
                        else:
                            joined = len(notes)
                            notes.append((number, chord_start, length, midi))
                        if 'start' in ties:
                            tied.append(joined)
                longest = max(longest, position - measure_start)
            measure_start += longest
    return notes


path = sys.argv[1]
notes = midi_notes(path) if path.endswith(('.mid', '.midi')) else musicxml_notes(path)
for part, start, length, pitch in sorted(notes):
    print(part, start, length, pitch)
