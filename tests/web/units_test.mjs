// The page's pieces that need no browser, under node: the composition's
// cells read and written, error places, bytes, links, compressed scores.
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { relative } from 'node:path';
import test from 'node:test';
import { deflateRawSync } from 'node:zlib';
import { decode1252, encode1252 } from '../../web/js/bytes.js';
import { errorPlaces, readTables, writeCell } from '../../web/js/composition.js';
import { findFile, mountsOf } from '../../web/serve.mjs';
import { fragmentToWork, workToFragment } from '../../web/js/share.js';
import { createHistory } from '../../web/js/history.js';
import { programsOf } from '../../web/js/song.js';

const here = new URL('.', import.meta.url).pathname;
const rows = (name) => readFileSync(`${here}cases/${name}`, 'utf8').split('\n')
  .filter((line) => line && !line.startsWith('#'))
  .map((line) => line.split(' => ').map((field) => field.replace(/\\n/g, '\n').replace(/\\t/g, '\t')));
const demo = decode1252(readFileSync(`${here}../../examples/demo/incom.htm`));

test('cells: text shown and text written keep the markup around it', () => {
  for (const [inner, text, written] of rows('cells.txt')) {
    const source = `<p>x</p><table border=1><tr><td>${inner}</td></tr></table>`;
    const tables = readTables(source);
    assert.equal(tables[0].rows[0][0].text, text, inner);
    const after = writeCell(source, tables, 0, 0, 0, 'X<1 & Y>2');
    assert.equal(after, `<p>x</p><table border=1><tr><td>${written}</td></tr></table>`, inner);
    assert.equal(readTables(after)[0].rows[0][0].text, 'X<1 & Y>2');
  }
});

test('the demo: its tables read, one edit changes only its cell', () => {
  const tables = readTables(demo);
  assert.deepEqual(tables.map((t) => `${t.label}:${t.rows.length}`), ['TCONF:2', 'TCAL:6', 'TGENC:7', 'TGENS:6', 'TSAL:10']);
  assert.equal(tables[1].rows[4][1].text, '70+nrand(30)');
  const after = writeCell(demo, tables, 1, 4, 1, '60+nrand(40)');
  assert.equal(after, demo.replace('<td>70+nrand(30)</td>', '<td>60+nrand(40)</td>'));
  assert.throws(() => writeCell(demo, tables, 1, 99, 1, ''), RangeError);
});

test('error places name the right table', () => {
  const at = demo.indexOf('<table', demo.lastIndexOf('<td>TSAL</td>') - 200);
  const twoOutputs = demo.slice(0, at) + '<table><tr><td>TSAL</td><td>channel</td></tr><tr><td></td><td>2</td></tr></table>\n' + demo.slice(at);
  const tables = readTables(twoOutputs);
  for (const [text, expected] of rows('places.txt')) {
    const places = errorPlaces(text, tables).map((p) => `${tables[p.table].label}:${p.row}:${p.column}`);
    assert.deepEqual(places, expected ? [expected] : [], text);
  }
});

test('Windows-1252 both ways, every byte', () => {
  const all = Uint8Array.from({ length: 256 }, (_, i) => i);
  assert.deepEqual(encode1252(decode1252(all)), all);
  assert.equal(decode1252(Uint8Array.of(0x80, 0x93, 0xe9)), '€“é');
  assert.deepEqual(encode1252('€ ☃'), Uint8Array.of(0x80, 0x20, 0x3f));
});

test('a shared link carries the work; damaged links say what is wrong', async () => {
  const work = { 'incom.htm': encode1252(demo), 'conar.txt': Uint8Array.of(65, 10), 'inmus.mxl': Uint8Array.of(0, 255) };
  const fragment = await workToFragment(work);
  assert.deepEqual(await fragmentToWork(fragment), work);
  const deflated = (bytes) => 'work=1.' + Buffer.from(deflateRawSync(bytes)).toString('base64url');
  const links = { cut: (n) => fragment.slice(0, fragment.length - Number(n)), packed: (text) => deflated(Buffer.from(text)),
    zeros: (n) => deflated(Buffer.alloc(Number(n))), long: (n) => 'work=1.' + 'A'.repeat(Number(n)) };
  for (const [how, problem] of rows('links.txt')) {
    const make = links[how.slice(0, how.indexOf(' '))];
    const link = make ? make(how.slice(how.indexOf(' ') + 1)) : how;
    await assert.rejects(fragmentToWork(link), new RegExp(problem), link.slice(0, 30));
  }
});


test('the server answers only for files inside its folders', async () => {
  const mounts = mountsOf([`js=${here}`, `${here}../../web`]);
  for (const [url, file] of rows('server.txt')) {
    const found = await findFile(mounts, url);
    assert.equal(found ? relative(`${here}../..`, found) : '-', file, url);
  }
});

test('undo and redo step through versions', () => {
  const history = createHistory('a');
  history.push('b');
  history.push('c');
  const steps = [[history.undo, true, 'b'], [history.undo, true, 'a'], [history.undo, false, 'a'], [history.redo, true, 'b']];
  for (const [step, moved, current] of steps) assert.deepEqual([step(), history.current()], [moved, current]);
  history.push('d');
  assert.deepEqual([history.redo(), history.current()], [false, 'd']);
});

test('programs: the first program change of each channel, past meta events and sysex', () => {
  const midi = Buffer.from(readFileSync(`${here}cases/programs.hex`, 'utf8').replace(/#.*|\s/g, ''), 'hex');
  const expected = new Array(16).fill(0);
  Object.assign(expected, { 1: 0x18, 2: 0x4a, 9: 5 });
  assert.deepEqual(programsOf(new Uint8Array(midi)), expected);
});
