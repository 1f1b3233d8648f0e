// The web page's budgets, measured in headless Chromium with the
// performance API against a local server (WEB, default build/web):
//   - the page ready (the navigation's start to the page's "zelvo-ready"
//     mark), budget 1 s;
//   - compose plus harmonize of the demo in the page, budget 50 ms;
//   - an edit in Live to the new roll drawn ("zelvo-live-edit"), budget 100 ms;
//   - the module and scripts, budget 3 MB, and their size after gzip.
// Each time is the median of several runs, the best one beside it (on a
// loaded machine the best tells the page's own cost). One line per budget.
import { readdirSync, readFileSync, statSync } from 'node:fs';
import { join, resolve } from 'node:path';
import { gzipSync } from 'node:zlib';
import { startBrowser } from '../tests/web/browser.mjs';

const root = resolve(new URL('.', import.meta.url).pathname, '..');
const web = process.env.WEB ?? join(root, 'build/web');
const kRuns = 9;
const median = (values) => values.sort((a, b) => a - b)[Math.floor(values.length / 2)];
const line = (what, value, unit, budget, best) =>
  console.log(`${what.padEnd(34)} ${value.toFixed(unit === 'ms' ? 1 : 2).padStart(10)} ${unit}  (budget ${budget} ${unit}: ` +
    `${value < budget ? 'within' : 'OVER'})${best === undefined ? '' : `, best ${best.toFixed(1)} ${unit}`}`);
const timed = (what, values, budget) => line(what, median([...values]), 'ms', budget, Math.min(...values));

// Every file the page loads: the page, its styles and scripts, the module.
function pageFiles(dir) {
  return readdirSync(dir).flatMap((name) => {
    const path = join(dir, name);
    if (statSync(path).isDirectory()) return name === 'examples' || name === 'pictures' ? [] : pageFiles(path);
    return /\.(html|css|js|mjs|wasm)$/.test(name) && !['zelvo-cli.js', 'serve.mjs'].includes(name) ? [path] : [];
  });
}

const chromium = await startBrowser([web, `examples=${join(root, 'examples')}`]);
try {
  const ready = [];
  for (let i = 0; i < kRuns; ++i) {
    const page = await chromium.open('index.html?example=demo');
    ready.push(await page.evaluate(() => performance.getEntriesByName('zelvo-ready')[0].startTime));
    await page.close();
  }
  timed('page ready', ready, 1000);

  const page = await chromium.open('index.html?example=demo&run=all', { ran: true });
  const jobs = await page.evaluate(async (runs) => {
    const { loadEngine } = await import('./js/engine.js');
    const { loadExample } = await import('./js/work.js');
    const engine = await loadEngine();
    const files = await loadExample('demo', 'en');
    const times = [];
    for (let i = 0; i < runs; ++i) {
      const start = performance.now();
      const composed = engine.run({ files, command: 'compose', lang: 'en', options: {} });
      engine.run({ files: { ...files, ...composed.files }, command: 'harmonize', lang: 'en', options: {} });
      times.push(performance.now() - start);
    }
    return times;
  }, kRuns);
  timed('compose + harmonize of the demo', jobs, 50);

  await page.click('#live');
  const edits = [];
  for (let i = 0; i < kRuns; ++i) {
    const field = await page.waitForSelector('.sheet input[data-row="1"][data-column="6"]');
    await field.click({ clickCount: 3 });
    await field.type(String(3000 + i));
    await field.press('Tab');
    await page.waitForFunction((n) => performance.getEntriesByName('zelvo-live-edit').length > n, {}, i);
    edits.push(await page.evaluate(() => performance.getEntriesByName('zelvo-live-edit').at(-1).duration));
  }
  timed('edit to new roll in Live', edits, 100);
  await page.close();
} finally {
  await chromium.close();
}

const files = pageFiles(web);
const bytes = files.reduce((sum, file) => sum + statSync(file).size, 0);
const gzipped = files.reduce((sum, file) => sum + gzipSync(readFileSync(file), { level: 9 }).length, 0);
line(`module and scripts (${files.length} files)`, bytes / 1e6, 'MB', 3);
console.log(`${'  the same after gzip -9'.padEnd(34)} ${(gzipped / 1e6).toFixed(2).padStart(10)} MB`);
