// The WebAssembly module under node (WEB, default build/web): the size of
// the module and engine.js, raw and after gzip; the time to load the engine;
// and compose plus harmonize of the demo (the All job) through engine.run.
// Each time is the median of 20 runs.
//   node bench/web_module_bench.mjs
import { readFileSync, readdirSync } from 'node:fs';
import { join, resolve } from 'node:path';
import { pathToFileURL } from 'node:url';
import { gzipSync } from 'node:zlib';

const root = resolve(new URL('.', import.meta.url).pathname, '..');
const web = process.env.WEB ?? join(root, 'build/web');
const kRuns = 20;
const median = (values) => values.sort((a, b) => a - b)[Math.floor(values.length / 2)];

const sizes = ['js/zelvo-engine.js', 'js/engine.js'].map((name) => {
  const bytes = readFileSync(join(web, name));
  return { name, raw: bytes.length, gzip: gzipSync(bytes, { level: 9 }).length };
});
for (const { name, raw, gzip } of sizes) {
  console.log(`${name.padEnd(20)} ${(raw / 1024).toFixed(0).padStart(6)} KiB, ${(gzip / 1024).toFixed(0).padStart(5)} KiB gzip`);
}

const { loadEngine } = await import(pathToFileURL(join(web, 'js/engine.js')).href);
const loads = [];
let engine;
for (let i = 0; i < kRuns; i++) {
  const start = performance.now();
  engine = await loadEngine();
  loads.push(performance.now() - start);
}
console.log(`load the engine       ${median(loads).toFixed(1).padStart(8)} ms (median of ${kRuns})`);

const demo = join(root, 'examples/demo');
const files = Object.fromEntries(readdirSync(demo).map((name) => [name, new Uint8Array(readFileSync(join(demo, name)))]));
const jobs = [];
for (let i = 0; i < kRuns; i++) {
  const start = performance.now();
  const result = engine.run({ files, command: 'all', lang: 'en' });
  jobs.push(performance.now() - start);
  if (result.status !== 0) throw new Error(`the demo's All job ended with ${result.status}:\n${result.console}`);
}
console.log(`demo compose+harmonize ${median(jobs).toFixed(1).padStart(7)} ms (median of ${kRuns})`);
