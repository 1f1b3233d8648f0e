#!/usr/bin/env python3
"""Writes random work folders for bench/compare_compose.sh: variables that
read each other and themselves, list lookups spread over variables, outputs
and generator cells, random draws, computed orders and modes, and sometimes
the demo's sequence file. Usage: random_compositions.py OUT_DIR COUNT [SEED]"""
import os
import random
import shutil
import sys

out_dir, count = sys.argv[1], int(sys.argv[2])
rng = random.Random(int(sys.argv[3]) if len(sys.argv) > 3 else 1)
here = os.path.dirname(os.path.abspath(__file__))
sequence_file = os.path.join(here, '..', 'examples', 'demo', 'insec.xml')


def table(rows):
    text = '<table>\n'
    for row in rows:
        text += '<tr>\n' + ''.join('<td>%s</td>\n' % cell for cell in row) + '</tr>\n'
    return text + '</table>\n'


def expression(names, depth=0, commas=True):
    """A random expression; a function's arguments hold no commas of their
    own (the compiler counts a function's arguments by every comma inside)."""
    leaf = [lambda: str(rng.choice([0, 1, 2, 3, 7, 12, 60, 0.5, 0.25])),
            lambda: rng.choice(names) if names else '1']
    if depth > 2 or rng.random() < 0.3:
        return rng.choice(leaf)()
    e = lambda: expression(names, depth + 1, commas)
    a = lambda: expression(names, depth + 1, False)
    forms = [lambda: '%s+%s' % (e(), e()), lambda: '%s-%s' % (e(), e()), lambda: '%s*%s' % (e(), e()),
             lambda: '%s/%s' % (e(), e()), lambda: '(%s)' % e(), lambda: 'int(%s)' % a(),
             lambda: 'frac(%s)' % a(), lambda: 'sin(%s)' % a(), lambda: 'abs(%s)' % a(),
             lambda: 'nrand(%s)' % a(), lambda: '(%s&gt;%s?%s:%s)' % (e(), e(), e(), e())]
    if commas:
        forms += [lambda: 'pow(%s,2)' % a(), lambda: 'itp(0,%s,10,%s,%s)' % (a(), a(), a()),
                  lambda: 'li(%s,1)+lv(0,%s)+lv(1,%s)+lr(2,5,%s)' % (a(), a(), a(), a()),
                  lambda: 'lv(%s,%s)' % (a(), a()), lambda: 'lr(0,%s,%s)' % (a(), a())]
    return rng.choice(forms)()


def composition():
    gens = ['G%d' % i for i in range(rng.randint(1, 8))]
    seqs = ['S%d' % i for i in range(rng.randint(0, 3))]
    variables = ['V%d' % i for i in range(rng.randint(0, 8))]
    readable = [g + s for g in gens + seqs for s in ['', 'u', 'i', 'k']]
    text = '<html>\n'
    bars = rng.randint(1, 6)
    text += table([['TCONF', 'a', 'b', 'c', 'd', 'e', 'f'],
                   ['v', str(bars), str(rng.choice([60, 120])), str(rng.choice([3, 4])), '4',
                    str(rng.choice([0, 0, 12, 24])), str(rng.randint(1, 99999))]])
    if variables:
        rows = [['TCAL', 'e']]
        for i, v in enumerate(variables):
            # Any variable, the later ones and itself included.
            rows.append([v, expression(readable + variables)])
        text += table(rows)

    def order():
        r = rng.random()
        if r < 0.15:
            return expression(readable + variables)
        if r < 0.25:
            return str(rng.choice([0, -1, 65001, 2.5]))
        return str(rng.randint(1, 6))

    def cell(number):
        return expression(readable + variables) if rng.random() < 0.25 else str(number)

    rows = [['TGENC'] + [str(i) for i in range(1, 15)] + ['x'],
            ['d', '0', '1', '0', '1', '0', '12', '100', '0', '12', '1', '72', '60', '0', '1', '']]
    for g in gens:
        rows.append([g, str(rng.randint(0, 2)), cell(1), cell(rng.randint(0, 10)), cell(rng.randint(0, 2)),
                     cell(rng.randint(0, 48)), cell(rng.randint(1, 24)), '100', '0', cell(rng.randint(1, 48)),
                     cell(rng.randint(1, 6)), cell(rng.randint(60, 90)), cell(rng.randint(30, 60)),
                     cell(rng.choice([0, 0, 1, 2])), order(), ''])
    text += table(rows)
    if seqs:
        rows = [['TGENS'] + [str(i) for i in range(1, 16)] + ['x'],
                ['d', '0', '0', '1', '0', '0', '1', '0', '0', '100', '0', '1', '0', '0', '0', '20', '']]
        for s in seqs:
            rows.append([s, str(rng.randint(0, 2)), cell(rng.randint(0, 1)), '1', cell(rng.randint(0, 5)),
                         cell(rng.randint(0, 2)), '1', '0', cell(rng.randint(0, 4)), '100', '0',
                         cell(rng.randint(1, 4)), cell(rng.randint(0, 5)), '0', cell(rng.randint(0, 1)), order(), ''])
        text += table(rows)
    rows = [['TSAL', 'c', 'n', 'd', 'g', 'v']]
    for _ in range(rng.randint(1, 8)):
        source = rng.choice(gens + seqs)
        rows.append(['', str(rng.randint(1, 16)), expression(readable + variables) if rng.random() < 0.5 else source,
                     source + 'u', source + 'i', expression(readable + variables)])
    text += table(rows)
    return text + '</html>\n', bool(seqs)


os.makedirs(out_dir, exist_ok=True)
for n in range(count):
    folder = os.path.join(out_dir, 'c%04d' % n)
    os.makedirs(folder, exist_ok=True)
    text, sequences = composition()
    with open(os.path.join(folder, 'incom.htm'), 'w', encoding='cp1252') as f:
        f.write(text)
    if sequences:
        shutil.copy(sequence_file, os.path.join(folder, 'insec.xml'))
