// engine.js over the built module (WEB, default build/web) against the
// native program (ZELVO, default build/zelvo): the roll of every recorded
// file of tests/data/roll written as roll_dump_test writes it, to the byte;
// a job's console, status and written files; notate and chords; the column
// help. Run by CTest (web_engine) and by node --test.
import assert from 'node:assert/strict';
import { execFileSync, spawnSync } from 'node:child_process';
import { cpSync, existsSync, mkdtempSync, readFileSync, readdirSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { pathToFileURL } from 'node:url';
import test from 'node:test';

const root = resolve(new URL('.', import.meta.url).pathname, '../..');
const web = process.env.WEB ?? join(root, 'build/web');
const zelvo = process.env.ZELVO ?? join(root, 'build/zelvo');
const rollData = join(root, 'tests/data/roll');
const { loadEngine } = await import(pathToFileURL(join(web, 'js/engine.js')).href);
const engine = await loadEngine();

const bytesOf = (path) => new Uint8Array(readFileSync(path));
const folderFiles = (folder) => Object.fromEntries(readdirSync(folder).map((name) => [name, bytesOf(join(folder, name))]));
const scratch = () => mkdtempSync(join(tmpdir(), 'zelvo-engine-'));

// The roll as tests/media/roll_dump_test.cpp writes it.
function dump(roll) {
  if (roll.error) return `error: ${roll.error}\n`;
  const hex = roll.channels.reduce((bits, channel) => bits | (1 << channel), 0).toString(16).padStart(4, '0');
  let out = `division ${roll.division}, end ${roll.endTick} = ${roll.endSeconds.toFixed(6)} s, ${roll.events} events, ` +
    `channels ${hex}, pitches ${roll.lowest}-${roll.highest}\nbars:`;
  for (const bar of roll.bars) out += ` ${bar.number}@${bar.tick}` + (bar.numerator ? `(${bar.numerator}/${bar.denominator})` : '');
  out += '\n';
  for (const n of roll.notes) {
    out += `${n.start}-${n.end} ch${n.channel + 1} p${n.pitch} v${n.velocity} given ${n.given} ${n.tone}\n`;
  }
  for (const h of roll.held) out += `held ${h.tick} ch${h.channel + 1} p${h.pitch} ${h.tone}\n`;
  return out;
}

test('roll: every recorded file reads as the native roll does', () => {
  const records = readdirSync(rollData).filter((name) => name.endsWith('.roll.txt'));
  assert.ok(records.length >= 10);
  for (const record of records) {
    const file = join(rollData, record.slice(0, -'.roll.txt'.length));
    const tones = file.replace(/\.[^.]*$/, '.tones');
    const roll = engine.roll(bytesOf(file), existsSync(tones) ? bytesOf(tones) : undefined);
    assert.equal(dump(roll), readFileSync(join(rollData, record), 'utf8'), record);
  }
});

test('run: the demo in both languages gives the native console, status and files', () => {
  for (const lang of ['en', 'es']) {
    const folder = scratch();
    cpSync(join(root, 'examples/demo'), folder, { recursive: true });
    const given = folderFiles(folder);
    const native = spawnSync(zelvo, ['--work', folder, '--lang', lang, '--notation', 'all']);
    const result = engine.run({ files: given, command: 'all', lang, options: { notation: true } });
    assert.equal(result.console, native.stdout.toString().replaceAll(folder, '/work'));
    assert.equal(result.status, native.status);
    const after = folderFiles(folder);
    const written = Object.keys(after).filter((name) => !given[name] || !Buffer.from(given[name]).equals(after[name]));
    assert.deepEqual(Object.keys(result.files).sort(), written.sort());
    for (const name of written) assert.ok(Buffer.from(result.files[name]).equals(after[name]), name);
    rmSync(folder, { recursive: true });
  }
});

test('run: a check, and a job that fails, end as natively', () => {
  const demo = folderFiles(join(root, 'examples/demo'));
  const check = engine.run({ files: demo, command: 'check', lang: 'es' });
  const folder = scratch();
  cpSync(join(root, 'examples/demo'), folder, { recursive: true });
  const native = spawnSync(zelvo, ['--lang', 'es', 'check', '--work', folder]);
  assert.equal(check.console, native.stdout.toString());
  assert.equal(check.status, native.status);
  rmSync(folder, { recursive: true });
  const empty = engine.run({ files: {}, command: 'harmonize', lang: 'en' });
  assert.equal(empty.status, 1);
  assert.deepEqual(empty.files, {});
  assert.throws(() => engine.run({ files: {}, command: 'render' }), /unknown command/);
});

test('notate and chords write what the native commands write', () => {
  const folder = scratch();
  const midi = join(rollData, 'demo_outar.mid');
  execFileSync(zelvo, ['notate', midi, '-o', join(folder, 'out.musicxml')]);
  const notated = engine.notate(bytesOf(midi));
  assert.equal(notated.status, 0);
  assert.ok(Buffer.from(notated.xml).equals(readFileSync(join(folder, 'out.musicxml'))));
  const native = spawnSync(zelvo, ['chords', join(folder, 'out.musicxml'), '-o', join(folder, 'harmony.out')]);
  const chords = engine.chords('out.musicxml', notated.xml);
  assert.equal(chords.status, native.status);
  assert.equal(chords.console, native.stdout.toString().replaceAll(folder, '/scratch'));
  if (native.status === 0) assert.ok(Buffer.from(chords.harmony).equals(readFileSync(join(folder, 'harmony.out'))));
  rmSync(folder, { recursive: true });
});

test('column help: the manual\'s words for a known column, nothing for an unknown kind', () => {
  assert.match(engine.columnHelp('TGENC', 1, 'en'), /\S/);
  assert.match(engine.columnHelp('TGENC', 1, 'es'), /^columna 1: /);
  assert.equal(engine.columnHelp('NOSUCH', 1, 'en'), '');
});
