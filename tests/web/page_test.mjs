// The page in headless Chromium, against a server the test starts itself,
// with the built module (WEB, default build/web) and the native program
// (ZELVO, default build/zelvo) to compare consoles with.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { cpSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { after, before, test } from 'node:test';
import { startBrowser } from './browser.mjs';
import { zip } from './zip.mjs';

const root = resolve(new URL('.', import.meta.url).pathname, '../..');
const web = process.env.WEB ?? join(root, 'build/web');
const zelvo = process.env.ZELVO ?? join(root, 'build/zelvo');
const scratch = mkdtempSync(join(tmpdir(), 'zelvo-page-test-'));
let chromium;

// The native program's console and files for `command` on a copy of `example`, with `score` as inmus.xml.
function native(example, command, score) {
  const work = mkdtempSync(join(scratch, 'work-'));
  cpSync(join(root, 'examples', example), work, { recursive: true });
  if (score) writeFileSync(join(work, 'inmus.xml'), score);
  let console;
  try {
    console = execFileSync(zelvo, ['--work', work, command], { encoding: 'utf8' });
  } catch (failed) {
    console = failed.stdout;
  }
  return { console, file: (name) => readFileSync(join(work, name)) };
}

const text = (page, selector) => page.$eval(selector, (e) => e.textContent);
const rollOf = (page) => page.$eval('#roll', (c) => ({ notes: Number(c.dataset.notes), file: c.dataset.file }));
// The roll the page would draw of `bytes` (the native program's outar.mid): its notes, and the file shown.
const rollOfNative = (page, bytes) => page.evaluate(async (data) => {
  const { loadEngine } = await import('./js/engine.js');
  return { notes: (await loadEngine()).roll(new Uint8Array(data)).notes.length, file: 'outar.mid' };
}, [...bytes]);
const consoleDone = (page, status) => page.waitForSelector(`#console[data-status="${status}"]`, { timeout: 20000 });

// Types `value` into cell row:column of the table whose tab reads `tab`, as a user does, and leaves the cell.
async function editCell(page, tab, row, column, value) {
  const [button] = await page.$$(`xpath/.//div[@class="tabs"]/button[text()="${tab}"]`);
  await button.click();
  const field = await page.waitForSelector(`.sheet input[data-row="${row}"][data-column="${column}"]`);
  await field.click({ clickCount: 3 });
  await field.type(value);
  await field.press('Tab');
}

before(async () => {
  chromium = await startBrowser([web, `examples=${join(root, 'examples')}`]);
});
after(async () => {
  await chromium?.close();
  rmSync(scratch, { recursive: true, force: true });
});

test('All on the demo: the console ends as the native one, the roll draws every note', async () => {
  const page = await chromium.open('index.html?example=demo&run=all', { ran: true });
  const expected = native('demo', 'all');
  assert.equal(await page.$eval('#console', (e) => e.dataset.status), '0');
  assert.equal(await text(page, '#console'), expected.console);
  assert.deepEqual(await rollOf(page), await rollOfNative(page, expected.file('outar.mid')));
  await page.close();
});

test('Live: an edited cell changes the roll; a bad expression marks its cell and the last result stays', async () => {
  const page = await chromium.open('index.html?example=demo&run=all', { ran: true });
  const whole = await rollOf(page);
  await page.click('#live');
  await editCell(page, 'TCONF', 1, 1, '8');
  await page.waitForFunction((n) => Number(document.querySelector('#roll').dataset.notes) !== n, { timeout: 10000 }, whole.notes);
  const half = await rollOf(page);
  assert.ok(half.notes > 0 && half.notes < whole.notes, `${half.notes} of ${whole.notes}`);
  await editCell(page, 'TCAL', 4, 1, '70+nrand(30');
  await consoleDone(page, 1);
  assert.match(await text(page, '#console'), /table TCAL, row 4, column 1/);
  assert.equal(await page.$eval('.sheet td.error input', (e) => `${e.dataset.row}:${e.dataset.column}:${e.value}`), '4:1:70+nrand(30');
  assert.deepEqual(await rollOf(page), half);
  const cell = async (tab, row, column) => {
    await page.click(`.tabs button:nth-child(${tab})`);
    return page.$eval(`.sheet input[data-row="${row}"][data-column="${column}"]`, (e) => e.value);
  };
  for (const [button, expected] of [['#undo', '8 70+nrand(30)'], ['#undo', '16 70+nrand(30)'], ['#redo', '8 70+nrand(30)']]) {
    await page.click(button);
    assert.equal(`${await cell(1, 1, 1)} ${await cell(2, 4, 1)}`, expected, button);
  }
  assert.deepEqual(page.problems.filter((p) => !p.includes('404')), []);
  await page.close();
});

test('a shared link reopens the same work', async () => {
  const page = await chromium.open('index.html?example=first-piece');
  await editCell(page, 'TCONF', 1, 1, '3');
  await page.click('#share');
  await page.waitForFunction(() => location.hash.length > 10);
  const link = await page.evaluate(() => location.hash);
  await page.close();
  const elsewhere = await chromium.browser.createBrowserContext();
  const other = await elsewhere.newPage();
  await other.goto(`${chromium.base}index.html${link}`);
  await other.waitForSelector('body[data-ready]');
  await other.click('#compose');
  await consoleDone(other, 0);
  const bars = await other.$eval('.sheet input[data-row="1"][data-column="1"]', (e) => e.value);
  assert.equal(bars, '3');
  await other.goto(`${chromium.base}index.html?lang=en${link.slice(0, -12)}`);
  await other.waitForSelector('body[data-ready]');
  assert.match(await text(other, '#status'), /damaged/);
  await elsewhere.close();
});

test('the built-in synthesizer renders the song offline: not silent, as long as the song', async () => {
  const page = await chromium.open('index.html');
  const heard = await page.evaluate(async () => {
    const { loadEngine } = await import('./js/engine.js');
    const { loadExample } = await import('./js/work.js');
    const { songOf } = await import('./js/song.js');
    const { renderSong } = await import('./js/synth.js');
    const engine = await loadEngine();
    const result = engine.run({ files: await loadExample('demo', 'en'), command: 'all', lang: 'en', options: {} });
    const song = songOf(engine.roll(result.files['outar.mid'], result.files['outar.tones']), result.files['outar.mid']);
    const buffer = await renderSong(song.notes, song.length + 1);
    const samples = buffer.getChannelData(0);
    let peak = 0;
    let last = 0;
    for (let i = 0; i < samples.length; ++i) if (Math.abs(samples[i]) > 0.001) (peak = Math.max(peak, Math.abs(samples[i]))), (last = i);
    return { length: song.length, seconds: buffer.duration, peak, lastSound: last / buffer.sampleRate };
  });
  assert.ok(heard.peak > 0.05 && heard.peak <= 1, JSON.stringify(heard));
  assert.ok(heard.length > 10 && heard.lastSound > heard.length - 2 && heard.lastSound <= heard.seconds, JSON.stringify(heard));
  await page.close();
});

test('a MusicXML score and an .mxl open and harmonize', async () => {
  const score = readFileSync(join(root, 'examples/four-voices/inmus.xml'));
  const expected = native('four-voices', 'harmonize', score);
  const container = Buffer.from('<container><rootfiles><rootfile full-path="chorale.xml"/></rootfiles></container>');
  const files = [['chorale.musicxml', score], ['chorale.mxl', zip([['META-INF/container.xml', container], ['chorale.xml', score]])]];
  const page = await chromium.open('index.html?example=four-voices');
  for (const [name, bytes] of files) {
    writeFileSync(join(scratch, name), bytes);
    await page.$eval('#status', (e) => (e.textContent = ''));
    const [chooser] = await Promise.all([page.waitForFileChooser(), page.click('#open')]);
    await chooser.accept([join(scratch, name)]);
    await page.waitForFunction((n) => document.querySelector('#status').textContent.includes(n), {}, 'inmus');
    await page.$eval('#console', (e) => delete e.dataset.status);
    await page.click('#harmonize');
    await page.waitForSelector('#console[data-status]');
    assert.equal(await page.$eval('#console', (e) => e.dataset.status), '0', await text(page, '#console'));
    assert.equal(await text(page, '#console'), expected.console, name);
    assert.deepEqual(await rollOf(page), await rollOfNative(page, expected.file('outar.mid')), name);
  }
  await page.close();
});

test('column help in Spanish for every column the engines explain in English', async () => {
  const page = await chromium.open('index.html');
  const mismatched = await page.evaluate(async () => {
    const { loadEngine } = await import('./js/engine.js');
    const engine = await loadEngine();
    const wrong = [];
    for (const kind of ['TCONF', 'TCAL', 'TGENC', 'TGENS', 'TSAL']) {
      for (let column = 0; column < 20; ++column) {
        // The same lines, the first naming the same column.
        const shape = (text) => `${text.split('\n').length} ${text.match(/^columna? (\d+)/)?.[1]}`;
        const english = engine.columnHelp(kind, column, 'en');
        const spanish = engine.columnHelp(kind, column, 'es');
        if ((english === '') !== (spanish === '') || shape(english) !== shape(spanish) || (english !== '' && english === spanish)) wrong.push(`${kind} ${column}`);
      }
    }
    return wrong;
  });
  assert.deepEqual(mismatched, []);
  await page.close();
});
