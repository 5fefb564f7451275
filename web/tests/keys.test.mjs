// The keys form in Debian's Chromium, driven by playwright-core against the
// page served on 127.0.0.1.
//
//   BURROWKIN_PAGE=build-web/page-test node --test web/tests/keys.test.mjs
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';
import { chromium } from 'playwright-core';
import { serve } from '../serve.mjs';

const Minute = 60_000;  // for any one test: a page that hangs fails
const Seed = 77;
const Up = 0, Left = 2, FullScreen = 9, PadSelect = 13, PadUse = 14;  // the form's rows
let server, browser, address;

before(async () => {
  assert.ok(process.env.BURROWKIN_PAGE, 'BURROWKIN_PAGE names the test page');
  server = await serve(process.env.BURROWKIN_PAGE, 0);
  address = `http://127.0.0.1:${server.address().port}/`;
  browser = await chromium.launch({ executablePath: process.env.CHROMIUM || '/usr/bin/chromium', args: ['--no-sandbox', '--disable-gpu'] });
});

after(async () => {
  await browser?.close();
  server?.close();
});

// A page of the game with storage of its own, and the errors it shows.
async function open() {
  const context = await browser.newContext({ viewport: { width: 800, height: 700 } });
  const page = await context.newPage();
  const errors = [];
  page.on('pageerror', (e) => errors.push(String(e)));
  await page.goto(`${address}?manual&seed=${Seed}`);
  await page.evaluate(() => window.Burrowkin.loaded);
  return { context, page, errors };
}

const state = (page) => page.evaluate(() => window.Burrowkin.test.state());
const ticks = (page, n) => page.evaluate((count) => window.Burrowkin.test.tick(count), n);
const isOpen = (page, id) => page.locator(`#${id}`).evaluate((d) => d.open);
const kept = (page) => page.evaluate(() => localStorage.getItem('burrowkin-keys'));
const line = (page) => page.locator('#keys-line').textContent();
const row = (page, index) => page.locator('#keys-rows .row').nth(index);
const keysOf = (page, index) => row(page, index).locator('button.key:not(.add)').allTextContents();

// K on the whole title.
async function openForm(page) {
  await ticks(page, 61);
  await page.keyboard.press('KeyK');
  assert.ok(await isOpen(page, 'keys'));
}

async function bind(page, index, key) {
  await row(page, index).locator('.add').click();
  await page.keyboard.press(key);
}

// A new game from the setup form, the key held for ten ticks: where the character went.
async function walk(page, key) {
  await ticks(page, 61);
  await page.keyboard.down('Space');
  await ticks(page, 1);
  await page.keyboard.up('Space');
  await page.keyboard.press('Enter');
  await ticks(page, 3);
  const from = (await state(page)).x;
  await page.keyboard.down(key);
  await ticks(page, 10);
  await page.keyboard.up(key);
  await ticks(page, 2);
  return { from, to: (await state(page)).x };
}

// The same walk with the game's own keys.
let arrowWalk = null;
async function walkedByArrow() {
  if (!arrowWalk) {
    const { context, page } = await open();
    arrowWalk = await walk(page, 'ArrowLeft');
    await context.close();
    assert.ok(arrowWalk.to < arrowWalk.from, `the character walks left in cave ${Seed}`);
  }
  return arrowWalk;
}

test('K on the title opens the form and stops the title\'s clock; A bound to left walks as Left did; the game\'s refusals are shown and change nothing; the help and the touch buttons follow; nothing is kept', { timeout: Minute }, async () => {
  const { context, page, errors } = await open();
  await openForm(page);
  const clock = (await state(page)).titleTicks;
  await ticks(page, 5);
  assert.equal((await state(page)).titleTicks, clock, 'the title\'s clock stands still');
  assert.match(await row(page, Left).textContent(), /^左\(L\)\s*left/);

  await bind(page, Left, 'KeyA');
  await bind(page, Up, 'ArrowLeft');
  assert.equal(await line(page), 'Left is already the key of left');
  assert.deepEqual(await keysOf(page, Up), ['Up']);
  await row(page, Left).getByRole('button', { name: 'remove Left' }).click();
  assert.deepEqual(await keysOf(page, Left), ['A']);
  await bind(page, FullScreen, 'F10');
  await row(page, FullScreen).getByRole('button', { name: 'remove F11' }).click();

  await page.locator('#keys-ok').click();
  await ticks(page, 3);
  assert.equal((await state(page)).titleTicks, clock + 3, 'the clock goes on');
  assert.match(await page.locator('#about-keys').textContent(), /Awalk left/);
  assert.equal(await page.locator('#touch .left').getAttribute('data-code'), 'KeyA');
  assert.equal(await page.locator('#full').getAttribute('title'), 'Full screen (F10)');
  assert.equal(await kept(page), null, 'nothing kept without "keep"');

  assert.deepEqual(await walk(page, 'KeyA'), await walkedByArrow());
  assert.match(await page.locator('#hint').textContent(), /A Right walk/);
  assert.deepEqual(errors, []);
  await context.close();
});

test('"keep these keys" keeps them for a reload; unticked, the kept keys stay until forgotten; kept keys the game refuses leave its own and say so', { timeout: Minute }, async () => {
  const { context, page, errors } = await open();
  await openForm(page);
  await bind(page, Left, 'KeyA');
  await row(page, Left).getByRole('button', { name: 'remove Left' }).click();
  await page.locator('#keys-keep').check();
  await page.locator('#keys-ok').click();
  const text = await kept(page);
  assert.match(text, /^left = A$/m);

  await page.reload();
  await page.evaluate(() => window.Burrowkin.loaded);
  assert.deepEqual(await walk(page, 'KeyA'), await walkedByArrow(), 'the kept keys after a reload');

  await page.keyboard.press('Shift+F2');
  await openForm(page);
  await bind(page, Left, 'KeyB');
  await page.locator('#keys-keep').focus();
  await page.keyboard.press('Enter');
  assert.equal(await isOpen(page, 'keys'), false, 'Enter off the buttons is OK');
  assert.equal(await kept(page), text, 'unticked, the kept keys stay as they were');
  await ticks(page, 1);
  assert.equal(await isOpen(page, 'setup'), false, 'the game saw no Enter');
  await page.keyboard.press('KeyK');
  await page.locator('#keys-forget').click();
  assert.equal(await kept(page), null);
  await page.keyboard.press('Escape');

  await page.evaluate(() => localStorage.setItem('burrowkin-keys', 'left = Nothing\n'));
  await page.reload();
  await page.evaluate(() => window.Burrowkin.loaded);
  assert.equal(await page.locator('#line').textContent(), 'the keys kept in this browser are not used: line 1: no key is called \'Nothing\'');
  await openForm(page);
  assert.deepEqual(await keysOf(page, Left), ['Left'], 'the game\'s own keys');
  assert.deepEqual(errors, []);
  await context.close();
});

test('Escape cancels the whole form, a row that waits too; a waiting row takes Tab; the pad\'s rows take a press of the pad or a toggle', { timeout: Minute }, async () => {
  const { context, page, errors } = await open();
  await openForm(page);
  await bind(page, Left, 'KeyA');
  await bind(page, Up, 'Tab');
  assert.equal(await line(page), 'Tab is already the key of fast-forward');
  assert.equal(await page.evaluate(() => document.activeElement.getAttribute('aria-label')), 'add a key', 'the focus stays');
  await row(page, Up).locator('.add').click();
  assert.match(await line(page), /^キーを押してください…/);
  await page.keyboard.press('Escape');
  assert.equal(await isOpen(page, 'keys'), false);
  await ticks(page, 1);
  await page.keyboard.press('KeyK');
  assert.deepEqual(await keysOf(page, Left), ['Left'], 'the cancelled keys are gone');

  // The game's own pad: 1 and 4 select, 2 and 3 use.
  const pad = (held) => page.evaluate((pressed) => {
    const buttons = Array.from({ length: 17 }, (_, i) => ({ pressed: pressed.includes(i), value: 0 }));
    navigator.getGamepads = () => [{ connected: true, mapping: 'standard', axes: [0, 0, 0, 0], buttons }];
  }, held);
  const toggled = (index) => row(page, index).locator('button[aria-pressed="true"]:not(.add)').allTextContents();
  const press = async (index, button) => {
    await pad([]);
    await row(page, index).locator('.add').click();
    await pad([button]);
    await page.waitForFunction(() => !document.querySelector('#keys .waiting'), null, { timeout: 2000 });
  };
  await press(PadSelect, 2);  // the pad's button 3
  assert.equal(await line(page), 'a button of the pad cannot both select and use');
  await row(page, PadUse).getByRole('button', { name: 'button 3' }).click();
  await press(PadSelect, 2);
  assert.deepEqual([await toggled(PadSelect), await toggled(PadUse)], [['1', '3', '4'], ['2']]);
  await page.locator('#keys-ok').click();
  await ticks(page, 1);
  assert.equal((await state(page)).input, 16, 'the pad\'s button 3 selects');
  assert.deepEqual(errors, []);
  await context.close();
});
