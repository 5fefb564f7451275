// A tick with its view in the browser against the native one: the same loop
// (bench/tick_loop.cpp) run by the desktop's tick_cost and by the page in
// Chromium, one after the other on this machine; then the page's own frame.
//
//   node web/measure_tick.mjs build-web/page-test build/bin/tick_cost [TICKS]
//
// playwright-core comes from web/tests (npm ci --prefix web/tests).
import { execFileSync } from 'node:child_process';
import { createRequire } from 'node:module';
import { serve } from './serve.mjs';

const [page_dir, native, ticks = '20000'] = process.argv.slice(2);
if (!native) {
  console.error('usage: node web/measure_tick.mjs PAGE_FOLDER TICK_COST [TICKS]');
  process.exit(2);
}
const { chromium } = createRequire(new URL('./tests/', import.meta.url))('playwright-core');
const server = await serve(page_dir, 0);
const browser = await chromium.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking', '--disable-component-update', '--disable-sync'],
});
const page = await browser.newPage();
await page.goto(`http://127.0.0.1:${server.address().port}/?manual`);
await page.evaluate(() => window.Burrowkin.ready);
const runs = [];
for (let i = 0; i < 3; ++i) {
  const desktop = Number(execFileSync(native, [ticks], { encoding: 'utf8' }));
  const browserNs = await page.evaluate((n) => window.Burrowkin.test.tickCost(n), Number(ticks));
  runs.push({ desktop, browser: browserNs });
}
// The page's own frames, the tick and the painting of the picture, as the
// title and then its demonstration play.
const frames = 300;
let frameUs = Infinity;
for (let i = 0; i < 5; ++i) {
  frameUs = Math.min(frameUs, await page.evaluate((n) => {
    const start = performance.now();
    window.Burrowkin.test.tick(n);
    return (performance.now() - start) * 1000 / n;
  }, frames));
}
await browser.close();
server.close();
const best = (key) => Math.min(...runs.map((r) => r[key]));
console.log(`a tick with its view: ${(best('desktop') / 1000).toFixed(2)} µs on the desktop, ` +
  `${(best('browser') / 1000).toFixed(2)} µs in Chromium, ${(best('browser') / best('desktop')).toFixed(2)} times as long ` +
  `(the best of ${runs.length} runs of ${ticks} ticks each)`);
console.log(`a frame of the page, its tick and its painting: ${frameUs.toFixed(1)} µs (the best of 5 runs of ${frames} frames)`);
