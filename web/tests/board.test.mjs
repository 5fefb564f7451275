// The daily board on the page: the browser edition served by a real
// burrowkin-board at the same address, in Debian's Chromium.
//
//   BURROWKIN_PAGE=build-web/page-test BURROWKIN_NATIVE_BIN=build/bin node --test web/tests/board.test.mjs
//
// The board and the browser's clock take 2026-03-16 as today: a cave the
// automatic player solves at once, which makes the par.
import assert from 'node:assert/strict';
import { spawn, spawnSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { after, before, test } from 'node:test';
import { chromium } from 'playwright-core';
import { serve } from '../serve.mjs';

const page_dir = process.env.BURROWKIN_PAGE;
const native = process.env.BURROWKIN_NATIVE_BIN;
assert.ok(page_dir && native, 'BURROWKIN_PAGE and BURROWKIN_NATIVE_BIN name the page and the native programs');

const Day = '2026-03-16', Seed = 20260316, Minute = 60_000, Wait = { timeout: 20_000 };
let board, address, browser, scratch;

// A solved run of the cave the options make, as a file's bytes.
function solved(name, ...options) {
  const file = join(scratch, name);
  const r = spawnSync(join(native, 'burrowkin-sim'), ['solve', ...options, '--out', file, '--force'], { encoding: 'utf8' });
  assert.match(r.stdout, /"solved":true/, r.stderr);
  return readFileSync(file);
}

before(async () => {
  scratch = mkdtempSync(join(tmpdir(), 'burrowkin-board-page-'));
  board = spawn(join(native, 'burrowkin-board'), ['--listen', '127.0.0.1:0', '--data', join(scratch, 'data'), '--page', page_dir,
    '--today', Day, '--submissions-per-minute', '0', '--par-seconds', '10'], { stdio: ['ignore', 'pipe', 'inherit'] });
  // Its address is the one line it prints.
  address = await new Promise((resolve, reject) => {
    setTimeout(() => reject(new Error('burrowkin-board printed no address within 10 s')), 10_000).unref();
    board.on('exit', (code) => reject(new Error(`burrowkin-board exited with ${code}`)));
    let out = '';
    board.stdout.on('data', (chunk) => { out += chunk; if (out.includes('\n')) resolve(out.split('\n')[0]); });
  });
  browser = await chromium.launch({ executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking'] });
});

after(async () => {
  await browser?.close();
  board?.kill('SIGKILL');
  if (scratch) rmSync(scratch, { recursive: true, force: true });
});

// A page on the board's day, with its console's errors (a refusal the board
// answered is no error of the page's), the runs it sent and what it asked
// of the board.
async function open(options = { viewport: { width: 1000, height: 700 } }, at = address) {
  const context = await browser.newContext(options);
  await context.clock.setSystemTime(new Date(`${Day}T10:00:00Z`));
  const page = await context.newPage();
  const errors = [], sent = [], asked = [];
  page.on('pageerror', (e) => errors.push(String(e)));
  page.on('console', (m) => {
    if (m.type() === 'error' && !m.text().startsWith('burrowkin:') && !m.location().url.startsWith(`${at}api/`)) errors.push(m.text());
  });
  page.on('request', (r) => {
    if (r.method() === 'POST') sent.push(r.url());
    else if (r.url().includes('/api/')) asked.push(r.url());
  });
  await page.goto(`${at}?manual&daily`);
  await page.evaluate(() => window.Burrowkin.loaded);
  return { context, page, errors, sent, asked };
}

const state = (page) => page.evaluate(() => window.Burrowkin.test.state());
const ticks = (page, n) => page.evaluate((count) => window.Burrowkin.test.tick(count), n);
const focused = (page) => page.evaluate(() => document.activeElement.id);
const text = (page, selector) => page.locator(selector).textContent();

function drop(page, bytes, name) {
  return page.evaluate(({ data, fileName }) => {
    const transfer = new DataTransfer();
    transfer.items.add(new File([new Uint8Array(data)], fileName));
    document.dispatchEvent(new DragEvent('drop', { dataTransfer: transfer, bubbles: true, cancelable: true }));
  }, { data: Array.from(bytes), fileName: name });
}

// Today's cave played from the title by keys, three ticks idle and then the
// automatic player's way to the goal: a run of the player's own.
async function playToGoal(page) {
  const run = solved('par.burrowkin-run', '--seed', String(Seed));
  const inputs = Array.from({ length: run.readUInt32LE(28) }, (_, k) => run.readUInt16LE(32 + 2 * k));
  const ended = page.evaluate(() => window.Burrowkin.test.nextEnded());
  await ticks(page, 61);
  await page.keyboard.down('Space');
  await ticks(page, 1);
  await page.keyboard.up('Space');
  await page.keyboard.press('Enter');  // the setup form's first choice: the main board
  await page.evaluate((words) => {
    const keys = ['ArrowUp', 'ArrowDown', 'ArrowLeft', 'ArrowRight', 'Space', 'Enter'];
    let held = 0;
    for (const word of [0, 0, 0, ...words, 0]) {
      keys.forEach((code, bit) => {
        if ((word ^ held) >> bit & 1) document.dispatchEvent(new KeyboardEvent(word >> bit & 1 ? 'keydown' : 'keyup', { code }));
      });
      held = word;
      window.Burrowkin.test.tick(1);
    }
  }, inputs);
  assert.equal((await state(page)).screen, 2, 'the game reached the goal');
  return ended;
}

async function send(page, name) {
  await page.locator('#board-name').fill(name);
  await page.locator('#board-send-button').click();
  await page.waitForFunction(() => !['', 'sending…'].includes(document.getElementById('board-answer').textContent), null, Wait);
  return text(page, '#board-answer');
}

test('a daily game that reached the goal is sent when asked, its name shown as text beside the par; the panel races it; a copy is refused with the board\'s reason', { timeout: 2 * Minute }, async () => {
  const { context, page, errors, sent } = await open();
  await page.locator('#board').waitFor(Wait);
  assert.equal(await text(page, '#board-more'), 'no runs yet');
  const [picture, panel] = [await page.locator('#screen').boundingBox(), await page.locator('#board').boundingBox()];
  assert.ok(panel.x >= picture.x + picture.width && picture.width === 544, 'the board beside the picture, at twice its size still');
  for (let i = 0; i < 40 && !/^par: \d/.test(await text(page, '#board-par')); ++i) {
    await page.locator('#board-refresh').click();  // the par is searched for as the board starts
    await page.waitForTimeout(500);
  }
  assert.equal(await text(page, '#board-par'), 'par: 69.70 s, 1 miss, score 550 · watch · race');
  assert.equal(await focused(page), 'screen', 'a click on the panel leaves the keys to the game');

  await page.locator('#keep').check();
  const run = await playToGoal(page);
  assert.equal(await text(page, '#board-run'), 'your 69.85 s on today\'s 100x100 board');
  assert.equal(await send(page, 'x'.repeat(21)), 'a name on the board has 1 to 20 characters, not 21');
  assert.deepEqual(sent, [], 'nothing sent for a name the board would refuse');
  assert.equal(await send(page, ' <b>ada</b> '), '1st of 1 on today\'s 100x100 board');
  assert.equal(sent.length, 1);
  assert.equal(await page.locator('#board-send').isVisible(), false, 'a run sent is offered no more');
  assert.equal(await page.evaluate(() => localStorage.getItem('burrowkin-board-name')), null, 'no name kept unless asked');
  const row = page.locator('#board-entries tbody tr');
  assert.deepEqual(await row.locator('td').allTextContents(), ['1', '<b>ada</b>', '69.85', '1', '550', 'watch race']);
  assert.equal(await row.locator('.name').innerHTML(), '&lt;b&gt;ada&lt;/b&gt;');

  await row.getByRole('link', { name: 'race' }).click();
  await page.waitForFunction(() => window.Burrowkin.test.state().racing, null, Wait);
  assert.match(await text(page, '#line'), /^racing <b>ada<\/b>'s run: hold a button on the title to start/);
  assert.equal(await focused(page), 'screen');
  await page.keyboard.press('Shift+F2');
  await ticks(page, 61);
  await page.keyboard.down('Space');
  await ticks(page, 1);
  const raced = await state(page);
  assert.deepEqual([raced.screen, raced.seed, raced.racing], [1, Seed, true], 'the race starts at once, in today\'s cave');
  await page.keyboard.up('Space');

  await page.locator('#runs-button').click();
  await page.locator('#runs-list li').filter({ hasText: run.name }).getByRole('button', { name: 'to the board' }).click();
  await page.locator('#board-remember').check();
  assert.equal(await send(page, '<b>ada</b>'), 'refused: a copy: the run of <b>ada</b> (place 1) played the same inputs');
  assert.ok(await page.locator('#board-send').isVisible(), 'a refused run stays offered');
  assert.equal(await page.evaluate(() => localStorage.getItem('burrowkin-board-name')), '<b>ada</b>');
  assert.deepEqual(errors, []);

  // The page kept by the browser does not hide the board's own list.
  await page.evaluate(() => navigator.serviceWorker.ready);
  await page.goto(address);
  assert.equal(await page.title(), `Korvane Burrowkin: the daily board of ${Day}`);
  await context.close();
});

test('yesterday\'s runs are named as the game names their board, older ones are not offered, and answers that are no board\'s are told in one line', { timeout: Minute }, async () => {
  const { context, page, errors } = await open();
  await page.locator('#board').waitFor(Wait);
  await drop(page, solved('old.burrowkin-run', '--seed', '20260314', '--width', '30', '--height', '30'), 'old.burrowkin-run');
  await page.waitForFunction(() => window.Burrowkin.test.state().watching, null, Wait);
  assert.equal(await page.locator('#board-send').isVisible(), false, 'the board takes no run of two days ago');
  await drop(page, solved('yesterday.burrowkin-run', '--seed', '20260315', '--beginner'), 'yesterday.burrowkin-run');
  await page.locator('#board-send').waitFor(Wait);

  const origin = address.slice(0, -1);
  for (const [answer, told] of [
    [{ status: 502, contentType: 'text/html', body: '<h1>Bad gateway</h1>' }, `what answers at ${origin} is no board (HTTP 502)`],
    [{ status: 201, contentType: 'application/json', body: '{"on_board":true,"place":"first"}' }, `what answers at ${origin} is no board (HTTP 201)`],
    [{ status: 400, contentType: 'application/json', body: JSON.stringify({ error: `one\ntwo\u2028${'x'.repeat(400)}` }) },
      `refused: one two ${'x'.repeat(292)}`],
    [null, `cannot reach the board at ${origin}: Failed to fetch`],
  ]) {
    await page.route('**/api/runs?*', (route) => (answer ? route.fulfill(answer) : route.abort('connectionrefused')));
    assert.equal(await send(page, 'ada'), told);
    assert.ok(await page.locator('#board-send-button').isEnabled());
    await page.unroute('**/api/runs?*');
  }
  assert.equal(await send(page, 'ada'), '1st of 1 on yesterday\'s 100x100 board, beginner');
  assert.equal(await text(page, '#board-which'), '100x100, the main board', 'the panel shows today');
  assert.deepEqual(errors, []);
  await context.close();
});

test('a page whose server has no board shows none of it, offers nothing and sends nothing', { timeout: Minute }, async () => {
  const server = await serve(page_dir, 0);
  const { context, page, errors, sent, asked } = await open(undefined, `http://127.0.0.1:${server.address().port}/`);
  try {
    await page.locator('#keep').check();
    await playToGoal(page);
    await page.locator('#runs-button').click();
    assert.deepEqual(await page.locator('#runs-list button').allTextContents(), ['watch', 'race', 'delete']);
    assert.equal(await page.locator('#board').isVisible(), false);
    assert.equal((await page.locator('#screen').boundingBox()).width, 544, 'the picture as large as ever');
    assert.deepEqual([errors, sent, asked], [[], [], []], 'not even asked whether a board is there');
  } finally {
    await context.close();
    server.close();
  }
});

test('on a phone upright the board lies between the picture and the touch buttons, nothing over the picture; on its side it waits', { timeout: Minute }, async () => {
  for (const viewport of [{ width: 390, height: 844 }, { width: 844, height: 390 }]) {
    const { context, page, errors } = await open({ viewport, deviceScaleFactor: 3, isMobile: true, hasTouch: true });
    await page.waitForFunction(() => !document.getElementById('board').hidden, null, Wait);
    await drop(page, solved('par.burrowkin-run', '--seed', String(Seed)), 'par.burrowkin-run');
    await page.waitForFunction(() => window.Burrowkin.test.state().watching, null, Wait);
    const boxes = await page.evaluate(() => Array.from(document.querySelectorAll(
      '#screen, #hint, #board, #board-send-button, #board-name, #touch .pad, #touch button, #bar button, #bar label'))
      .filter((e) => e.getClientRects().length > 0 && getComputedStyle(e).visibility !== 'hidden')
      .map((e) => ({ name: e.id || e.className, ...e.getBoundingClientRect().toJSON() })));
    const [picture] = boxes;
    const at = `${viewport.width}x${viewport.height}`;
    assert.ok(picture.width >= 272, `${at}: the picture ${JSON.stringify(picture)}`);
    for (const b of boxes.slice(1)) {
      assert.ok(b.left >= 0 && b.top >= 0 && b.right <= viewport.width && b.bottom <= viewport.height, `${at}: ${b.name} outside the screen`);
      assert.ok(b.bottom <= picture.top || b.top >= picture.bottom || b.right <= picture.left || b.left >= picture.right, `${at}: ${b.name} over the picture`);
    }
    const shown = boxes.find((b) => b.name === 'board');
    if (viewport.width < viewport.height) {
      assert.ok(shown && shown.top >= picture.bottom && shown.bottom <= boxes.find((b) => b.name === 'pad').top, `${at}: the board's place`);
      assert.ok(boxes.some((b) => b.name === 'board-send-button'), `${at}: the run offered`);
    } else {
      assert.equal(shown, undefined, `${at}: no board on a phone on its side`);
    }
    assert.deepEqual(errors, []);
    await context.close();
  }
});
