// What the page's tests share: a server of their own on a free port, and
// Debian's Chromium, headless, with a fresh profile, driven by puppeteer-core.
import { mkdtempSync, rmSync } from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { mountsOf, serve } from '../../web/serve.mjs';

const require = createRequire(import.meta.url);
const puppeteer = require('puppeteer-core');
const kFlags = ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync'];

/** The browser and server for a run over the mounts ("[PREFIX=]DIR"); close() ends both. */
export async function startBrowser(mounts) {
  const server = await serve(mountsOf(mounts), 0);
  const profile = mkdtempSync(join(tmpdir(), 'zelvo-page-'));
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium', headless: true, args: [...kFlags, `--user-data-dir=${profile}`],
  });
  return {
    base: `http://127.0.0.1:${server.address().port}/`,
    browser,
    /** A new tab at `path`, waiting until the page says it is ready (and has run what it was asked to). */
    async open(path, { ran = false } = {}) {
      const page = await browser.newPage();
      page.problems = [];
      page.on('pageerror', (error) => page.problems.push(error.message));
      page.on('console', (message) => message.type() === 'error' && page.problems.push(message.text()));
      await page.goto(this.base + path);
      await page.waitForSelector(ran ? 'body[data-ran]' : 'body[data-ready]', { timeout: 20000 });
      return page;
    },
    async close() {
      await browser.close();
      server.close();
      rmSync(profile, { recursive: true, force: true });
    },
  };
}
