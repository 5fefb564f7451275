// The README's pictures of the page, taken in headless Chromium: the title
// on a computer (docs/page-desktop.png), a game in play on an upright phone,
// by touch (docs/page-phone.png), and the keys form, A added to left and the
// row of up waiting for a key (docs/page-keys.png).
//
//   node web/page_pictures.mjs [build-web/page] [docs]
//
// Needs playwright-core (npm ci --prefix web/tests) and Debian's Chromium.
import { createRequire } from 'node:module';
import { join } from 'node:path';
import { serve } from './serve.mjs';

const require = createRequire(new URL('./tests/package.json', import.meta.url));
const { chromium } = require('playwright-core');

const [folder = 'build-web/page', out = 'docs'] = process.argv.slice(2);
const TitleBuilt = 3500;  // ms: the title's picture is whole after 61 ticks

const server = await serve(folder, 0);
const browser = await chromium.launch({ executablePath: process.env.CHROMIUM || '/usr/bin/chromium', args: ['--no-sandbox'] });
try {
  const address = `http://127.0.0.1:${server.address().port}/`;

  const computer = await browser.newContext({ viewport: { width: 960, height: 720 } });
  const page = await computer.newPage();
  await page.goto(address);
  await page.evaluate(() => window.Burrowkin.loaded);
  await page.waitForTimeout(TitleBuilt);
  await page.screenshot({ path: join(out, 'page-desktop.png') });
  await page.keyboard.press('KeyK');
  const rows = page.locator('#keys-rows .row');
  await rows.nth(2).locator('.add').click();
  await page.keyboard.press('KeyA');
  await rows.nth(0).locator('.add').click();
  await page.mouse.move(0, 0);
  await page.locator('#keys').screenshot({ path: join(out, 'page-keys.png') });
  await computer.close();

  const phone = await browser.newContext({ viewport: { width: 390, height: 844 }, deviceScaleFactor: 2, isMobile: true, hasTouch: true });
  const held = await phone.newPage();
  await held.goto(`${address}?seed=12`);
  await held.evaluate(() => window.Burrowkin.loaded);
  await held.waitForTimeout(TitleBuilt);
  await held.locator('#touch .select').tap();
  await held.locator('#setup[open]').waitFor();
  await held.locator('#rbtCaveSmall').tap();
  await held.locator('#btnStart').tap();
  await held.waitForTimeout(2500);
  await held.screenshot({ path: join(out, 'page-phone.png') });
  await phone.close();
} finally {
  await browser.close();
  server.close();
}
