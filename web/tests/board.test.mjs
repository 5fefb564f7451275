// The daily board on the page: the browser edition served by a real
// burrowkin-board at the same address, in Debian's Chromium.
//
//   BURROWKIN_PAGE=build-web/page-test BURROWKIN_NATIVE_BIN=build/bin node --test web/tests/board.test.mjs
//
// The board takes 2026-03-16 as today, and so does the browser's clock: its
// cave is one the automatic player solves at once, and that is the par.
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

const Day = '2026-03-16', Seed = 20260316;
const Clock = new Date(`${Day}T10:00:00Z`);
const Minute = 60_000;
const Wait = { timeout: 20_000 };
let board, address, browser, scratch, parRun;

// burrowkin-board on a free port with a fresh data folder; its address is
// the one line it prints.
function startBoard(data) {
  const server = spawn(join(native, 'burrowkin-board'), ['--listen', '127.0.0.1:0', '--data', data, '--page', page_dir,
    '--today', Day, '--submissions-per-minute', '0', '--par-seconds', '10'], { stdio: ['ignore', 'pipe', 'inherit'] });
  return new Promise((resolve, reject) => {
    const late = setTimeout(() => reject(new Error('burrowkin-board printed no address within 10 s')), 10_000);
    let out = '';
    server.on('error', reject);
    server.on('exit', (code) => reject(new Error(`burrowkin-board exited with ${code}`)));
    server.stdout.on('data', (chunk) => {
      out += chunk;
      if (!out.includes('\n')) return;
      clearTimeout(late);
      resolve({ server, address: out.split('\n')[0] });
    });
  });
}

function sim(...args) {
  const r = spawnSync(join(native, 'burrowkin-sim'), args, { encoding: 'utf8' });
  assert.equal(r.status, 0, `burrowkin-sim ${args.join(' ')}: ${r.stderr}`);
  return r.stdout;
}

before(async () => {
  scratch = mkdtempSync(join(tmpdir(), 'burrowkin-board-page-'));
  parRun = join(scratch, 'par.burrowkin-run');
  assert.match(sim('solve', '--seed', String(Seed), '--out', parRun, '--max-seconds', '60'), /"solved":true,"ticks":1394,/);
  ({ server: board, address } = await startBoard(join(scratch, 'data')));
  browser = await chromium.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync'],
  });
});

after(async () => {
  await browser?.close();
  if (board && board.exitCode === null) {
    const gone = new Promise((resolve) => board.once('exit', resolve));
    board.kill('SIGTERM');
    await Promise.race([gone, new Promise((resolve) => setTimeout(resolve, 5000))]);
    board.kill('SIGKILL');
  }
  if (scratch) rmSync(scratch, { recursive: true, force: true });
});

// The browser's note of a board's answer that is a refusal: the page tells it.
const refusal = (m) => m.text().startsWith('Failed to load resource') && m.location().url.startsWith(`${address}api/`);

// A page of the game on the board's day, with the console's errors and the
// runs it sends collected.
async function open(context, query = '?manual&daily') {
  await context.clock.setSystemTime(Clock);
  const page = await context.newPage();
  const errors = [], sent = [];
  page.on('pageerror', (e) => errors.push(String(e)));
  page.on('console', (m) => {
    if (m.type() === 'error' && !m.text().startsWith('burrowkin:') && !refusal(m)) errors.push(m.text());
  });
  page.on('request', (r) => { if (r.method() === 'POST') sent.push(r.url()); });
  await page.goto(address + query);
  await page.evaluate(() => window.Burrowkin.loaded);
  return { page, errors, sent };
}

const state = (page) => page.evaluate(() => window.Burrowkin.test.state());
const ticks = (page, n) => page.evaluate((count) => window.Burrowkin.test.tick(count), n);
const answer = (page) => page.locator('#board-answer');

function dropRun(page, bytes, name) {
  return page.evaluate(({ data, fileName }) => {
    const transfer = new DataTransfer();
    transfer.items.add(new File([new Uint8Array(data)], fileName));
    document.dispatchEvent(new DragEvent('drop', { dataTransfer: transfer, bubbles: true, cancelable: true }));
  }, { data: Array.from(bytes), fileName: name });
}

// A run file's inputs, a word a tick, as far as the ticks its header counts.
function inputsOf(file) {
  const bytes = readFileSync(file);
  const word = (i) => bytes.readUInt16LE(2 * i);
  return Array.from({ length: word(14) | word(15) << 16 }, (_, k) => word(16 + k));
}

// The keys of a tick's input word, held from one tick to the next as a
// player holds them.
async function play(page, inputs) {
  await page.evaluate((words) => {
    const keys = ['ArrowUp', 'ArrowDown', 'ArrowLeft', 'ArrowRight', 'Space', 'Enter'];
    let held = 0;
    for (const word of words) {
      keys.forEach((code, bit) => {
        const down = (word >> bit & 1) === 1;
        if (down !== ((held >> bit & 1) === 1)) document.dispatchEvent(new KeyboardEvent(down ? 'keydown' : 'keyup', { code, bubbles: true }));
      });
      held = word;
      window.Burrowkin.test.tick(1);
    }
    keys.forEach((code) => document.dispatchEvent(new KeyboardEvent('keyup', { code, bubbles: true })));
  }, inputs);
}

// Through the title and the setup form, as it stands, to a game.
async function startGame(page) {
  await ticks(page, 61);
  await page.keyboard.down('Space');
  await ticks(page, 1);
  await page.keyboard.up('Space');
  await page.keyboard.press('Enter');
  assert.equal(await page.locator('#setup').evaluate((d) => d.open), false);
}

async function send(page, name) {
  await page.locator('#board-name').fill(name);
  await page.locator('#board-send-button').click();
  await page.waitForFunction(() => !['', 'sending…'].includes(document.getElementById('board-answer').textContent), null, Wait);
  return answer(page).textContent();
}

test('a daily game that reached the goal goes to the board when the player asks, under a name shown as text; the panel races it; copies are refused with the board\'s reason', { timeout: 3 * Minute }, async () => {
  const context = await browser.newContext({ viewport: { width: 1000, height: 700 } });
  const { page, errors, sent } = await open(context);
  await page.locator('#board').waitFor(Wait);
  assert.equal(await page.locator('#board-day').textContent(), Day);
  assert.equal(await page.locator('#board-which').textContent(), '100x100, the main board');
  assert.equal(await page.locator('#board-more').textContent(), 'no runs yet');
  assert.equal(await page.locator('#board-send').isVisible(), false, 'nothing to send yet');
  // The par is searched for as the board starts.
  for (let i = 0; i < 60 && !/^par: \d/.test(await page.locator('#board-par').textContent()); ++i) {
    await page.locator('#board-refresh').click();
    await page.waitForTimeout(500);
  }
  assert.match(await page.locator('#board-par').textContent(), /^par: 69\.70 s, 1 miss, score 550 · watch · race$/);
  assert.equal(await page.evaluate(() => document.activeElement.id), 'screen', 'a click on the panel leaves the keys to the game');

  // The automatic player's way, three ticks later: a run of the player's own.
  await page.locator('#keep').check();
  const ended = page.evaluate(() => window.Burrowkin.test.nextEnded());
  await startGame(page);
  const s = await state(page);
  assert.deepEqual([s.screen, s.width, s.height, s.seed], [1, 100, 100, Seed]);
  await play(page, [0, 0, 0, ...inputsOf(parRun)]);
  const run = await ended;
  assert.equal((await state(page)).screen, 2, 'the game reached the goal');
  assert.equal(await page.locator('#board-run').textContent(), 'your 69.85 s on today\'s 100x100 board');

  // The name is checked here loosely, and nothing is sent for a bad one.
  assert.equal(await send(page, '   '), 'a name on the board has 1 to 20 characters');
  assert.equal(await send(page, 'x'.repeat(21)), 'a name on the board has 1 to 20 characters, not 21');
  assert.deepEqual(sent, []);

  assert.equal(await send(page, ' <b>ada</b> '), '1st of 1 on today\'s 100x100 board');
  assert.equal(sent.length, 1);
  assert.ok(sent[0].startsWith(`${address}api/runs?name=`));
  assert.equal(await page.locator('#board-send').isVisible(), false, 'a run sent is not offered again');
  assert.equal(await page.evaluate(() => localStorage.getItem('burrowkin-board-name')), null, 'no name kept unless asked');
  assert.equal(await page.evaluate(() => document.activeElement.id), 'screen');
  const row = page.locator('#board-entries tbody tr');
  assert.equal(await row.count(), 1);
  assert.deepEqual(await row.locator('td').allTextContents(), ['1', '<b>ada</b>', '69.85', '1', '550', 'watch race']);
  assert.equal(await row.locator('.name').innerHTML(), '&lt;b&gt;ada&lt;/b&gt;');
  assert.equal(await page.locator('#board-entries b').count(), 0);

  // The panel's race: the run is fetched from the board and every game the
  // title starts races it, at once.
  await row.getByRole('link', { name: 'race' }).click();
  await page.waitForFunction(() => window.Burrowkin.test.state().racing, null, Wait);
  assert.match(await page.locator('#line').textContent(), /^racing <b>ada<\/b>'s run: hold a button on the title to start/);
  assert.equal(await page.evaluate(() => document.activeElement.id), 'screen');
  await page.keyboard.press('Shift+F2');
  await ticks(page, 61);
  await page.keyboard.down('Space');
  await ticks(page, 1);
  await page.keyboard.up('Space');
  const raced = await state(page);
  assert.deepEqual([raced.screen, raced.seed, raced.racing], [1, Seed, true]);
  assert.equal(await page.locator('#setup').evaluate((d) => d.open), false, 'a race needs no setup form');
  await page.locator('#stop-race').click();

  // The same run again, from the kept runs, under the name remembered this time.
  await page.locator('#runs-button').click();
  const item = page.locator('#runs-list li').filter({ hasText: run.name });
  await item.getByRole('button', { name: 'to the board' }).click();
  assert.equal(await page.locator('#board-run').textContent(), 'your 69.85 s on today\'s 100x100 board');
  await page.locator('#board-remember').check();
  assert.equal(await send(page, '<b>ada</b>'),
    'refused: a copy: the run of <b>ada</b> (place 1) played the same inputs');
  assert.equal(await page.locator('#board-send').isVisible(), true, 'a refused run stays offered');
  assert.equal(await page.evaluate(() => localStorage.getItem('burrowkin-board-name')), '<b>ada</b>');

  // The automatic player's own run, dropped on the page: the par's copy.
  await dropRun(page, readFileSync(parRun), 'par.burrowkin-run');
  await page.waitForFunction(() => window.Burrowkin.test.state().watching, null, Wait);
  assert.equal(await page.locator('#board-run').textContent(), 'your 69.70 s on today\'s 100x100 board');
  assert.equal(await send(page, 'bob'), 'refused: a copy of the par, the automatic player\'s run');
  assert.equal(sent.length, 3);
  assert.deepEqual(errors, []);

  // The name remembered is the next visit's, until "remember" is unticked.
  const again = await open(context);
  await again.page.locator('#board').waitFor(Wait);
  await dropRun(again.page, run.bytes, run.name);
  await again.page.locator('#board-send').waitFor(Wait);
  assert.equal(await again.page.locator('#board-name').inputValue(), 'bob');
  await again.page.locator('#board-remember').uncheck();
  assert.equal(await again.page.evaluate(() => localStorage.getItem('burrowkin-board-name')), null);
  await context.close();
});
