// How soon the page paints the title's first frame from a cold cache, as
// the page's own clock sees it (Burrowkin.test.firstFrameAt, the test page
// only), unthrottled and on Chromium's "Fast 3G", and how many bytes crossed
// the line, compressed: up to the first frame, and for the whole page.
//
//   node web/measure_load.mjs [build-web/page-test] [runs]
//
// Needs playwright-core (npm ci --prefix web/tests) and Debian's Chromium.
import { createRequire } from 'node:module';
import { serve } from './serve.mjs';

const require = createRequire(new URL('./tests/package.json', import.meta.url));
const { chromium } = require('playwright-core');

const [folder = 'build-web/page-test', runsText = '5'] = process.argv.slice(2);
const FastThreeG = { offline: false, latency: 562.5, downloadThroughput: 180_000, uploadThroughput: 84_375 };

async function once(browser, address, throttled) {
  const context = await browser.newContext();
  const page = await context.newPage();
  const cdp = await context.newCDPSession(page);
  await cdp.send('Network.enable');
  const finished = [];
  cdp.on('Network.loadingFinished', (e) => finished.push({ at: performance.now(), bytes: e.encodedDataLength }));
  if (throttled) await cdp.send('Network.emulateNetworkConditions', FastThreeG);
  await page.goto(address);
  await page.waitForFunction(() => window.Burrowkin?.test?.firstFrameAt() > 0, null, { timeout: 60_000, polling: 10 });
  const firstAt = performance.now();
  const first = await page.evaluate(() => window.Burrowkin.test.firstFrameAt());
  await page.evaluate(() => window.Burrowkin.loaded);
  const sum = (list) => list.reduce((total, f) => total + f.bytes, 0);
  const result = { first, toFirst: sum(finished.filter((f) => f.at <= firstAt)), whole: sum(finished) };
  await context.close();
  return result;
}

const median = (values) => values.slice().sort((a, b) => a - b)[Math.floor(values.length / 2)];

const server = await serve(folder, 0);
await server.compressedAhead;
const browser = await chromium.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
    '--disable-component-update', '--disable-sync'],
});
try {
  const address = `http://127.0.0.1:${server.address().port}/`;
  for (const [name, throttled] of [['unthrottled', false], ['Fast 3G', true]]) {
    const results = [];
    for (let i = 0; i < Number(runsText); ++i) results.push(await once(browser, address, throttled));
    const firsts = results.map((r) => Math.round(r.first));
    console.log(`${name}: first frame ${median(firsts)} ms (median of ${firsts.join(', ')}); `
      + `${Math.round(median(results.map((r) => r.toFirst)) / 1000)} kB to it, ${Math.round(median(results.map((r) => r.whole)) / 1000)} kB the whole page`);
  }
} finally {
  await browser.close();
  server.close();
}
