// Draws docs/pictures/web-page.png: the page after All on the demo, in
// headless Chromium against the built page (WEB, default build/web).
//   node scripts/web-screenshot.mjs
import { join, resolve } from 'node:path';
import { startBrowser } from '../tests/web/browser.mjs';

const root = resolve(new URL('.', import.meta.url).pathname, '..');
const chromium = await startBrowser([process.env.WEB ?? join(root, 'build/web'), `examples=${join(root, 'examples')}`]);
try {
  const page = await chromium.open('index.html?example=demo&lang=en&run=all', { ran: true });
  await page.setViewport({ width: 1280, height: 820 });
  await page.click('.tabs button:nth-child(2)');
  await page.click('.sheet input[data-row="3"][data-column="1"]');
  await page.evaluate(() => document.querySelector('#console').scrollTo(0, 1e6));
  await page.screenshot({ path: join(root, 'docs/pictures/web-page.png') });
} finally {
  await chromium.close();
}
