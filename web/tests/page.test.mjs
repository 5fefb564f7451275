// The browser edition in a real browser: Debian's Chromium driven by
// playwright-core against the page served on 127.0.0.1.
//
//   BURROWKIN_PAGE=build-web/page BURROWKIN_NATIVE_BIN=build/bin node --test web/tests/page.test.mjs
//
// Most tests open the page with ?manual, where the game ticks only when the
// test says so, and compare it with the native programs on the same input.
import assert from 'node:assert/strict';
import { execFileSync, spawnSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { after, before, test } from 'node:test';
import { chromium } from 'playwright-core';
import { serve } from '../serve.mjs';

const page_dir = process.env.BURROWKIN_PAGE;
const native = process.env.BURROWKIN_NATIVE_BIN;
assert.ok(page_dir && native, 'BURROWKIN_PAGE and BURROWKIN_NATIVE_BIN name the page and the native programs');

const Width = 272, Height = 304;
const Minute = 60_000;  // for any one test: a page that hangs fails
let server, browser, address, scratch;

before(async () => {
  server = await serve(page_dir, 0);
  address = `http://127.0.0.1:${server.address().port}/`;
  browser = await chromium.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync'],
  });
  scratch = mkdtempSync(join(tmpdir(), 'burrowkin-page-'));
});

after(async () => {
  await browser?.close();
  server?.close();
  if (scratch) rmSync(scratch, { recursive: true, force: true });
});

// A page of the game, with the console's errors collected.
async function open(query = '?manual') {
  const page = await browser.newPage({ viewport: { width: 800, height: 700 } });
  const errors = [];
  page.on('pageerror', (e) => errors.push(String(e)));
  page.on('console', (m) => { if (m.type() === 'error' && !m.text().startsWith('burrowkin:')) errors.push(m.text()); });
  await page.goto(address + query);
  await page.evaluate(() => window.Burrowkin.ready);
  await page.evaluate(() => window.Burrowkin.loaded);  // the endings, the demonstration and the sounds too
  return { page, errors };
}

// The game's caption, before the game's English name that the tab adds.
async function caption(page) {
  const [japanese, english] = (await page.title()).split(' — ');
  assert.equal(english, 'Korvane Burrowkin');
  return japanese;
}

const state = (page) => page.evaluate(() => window.Burrowkin.test.state());
const ticks = (page, n) => page.evaluate((count) => window.Burrowkin.test.tick(count), n);
const picture = (page) => page.evaluate(() => window.Burrowkin.test.picture());

// The pixels of a PNG file as the browser decodes it, red, green, blue, alpha.
async function decoded(page, file) {
  const data = readFileSync(file).toString('base64');
  return page.evaluate(async (base64) => {
    const image = new Image();
    image.src = `data:image/png;base64,${base64}`;
    await image.decode();
    const canvas = new OffscreenCanvas(image.width, image.height);
    const context = canvas.getContext('2d');
    context.drawImage(image, 0, 0);
    return { width: image.width, height: image.height, pixels: Array.from(context.getImageData(0, 0, image.width, image.height).data) };
  }, data);
}

// Through the title to the setup form, and from it to a game.
async function startGame(page, choose = async () => {}) {
  await ticks(page, 61);  // the title's picture builds up, and only then takes keys
  await page.keyboard.down('Space');
  await ticks(page, 1);
  assert.ok(await page.locator('#setup').evaluate((d) => d.open), 'a held button opens the setup form');
  await choose();
  await page.keyboard.up('Space');
  await page.keyboard.press('Enter');
  assert.equal(await page.locator('#setup').evaluate((d) => d.open), false);
}

// The native simulator's standard output; a run that did not reach the goal
// exits with 1, which is an answer too.
function sim(...args) {
  const r = spawnSync(join(native, 'burrowkin-sim'), args, { encoding: 'utf8' });
  assert.ok(r.status === 0 || r.status === 1, `burrowkin-sim ${args.join(' ')}: ${r.stderr}`);
  return r.stdout;
}

test('the title is the window\'s title, pixel for pixel, and the page says nothing amiss', { timeout: Minute }, async () => {
  const { page, errors } = await open();
  await ticks(page, 61);
  const shot = join(scratch, 'title.png');
  execFileSync(join(native, 'windowshot'), ['title', shot], { env: { ...process.env, QT_QPA_PLATFORM: 'offscreen' } });
  const window = await decoded(page, shot);
  assert.equal(window.width, Width);
  assert.equal(window.height, Height);
  const mine = await picture(page);
  const differing = mine.findIndex((v, i) => v !== window.pixels[i]);
  assert.equal(differing, -1, `the first differing pixel is (${(differing >> 2) % Width}, ${Math.floor((differing >> 2) / Width)})`);
  assert.equal(await caption(page), 'こるべに');
  assert.deepEqual(errors, []);
  await page.close();
});

test('the form starts a game of the chosen size, and its keys move the character as the simulator says', { timeout: Minute }, async () => {
  const { page, errors } = await open('?manual&seed=77');
  await page.locator('#keep').check();
  await startGame(page, async () => { await page.keyboard.press('Alt+s'); });  // 狭い(S): 50 by 50
  let s = await state(page);
  assert.deepEqual([s.screen, s.width, s.height, s.seed], [1, 50, 50, 77]);

  // Walk right, jump, walk left, then leave with Shift+F2: the run the page
  // keeps is played by the native simulator to the same place.
  const ended = page.evaluate(() => window.Burrowkin.test.nextEnded());
  const hold = async (key, n) => { await page.keyboard.down(key); await ticks(page, n); await page.keyboard.up(key); };
  await hold('ArrowRight', 12);
  await hold('ArrowUp', 3);
  await ticks(page, 10);
  await hold('ArrowLeft', 7);
  await ticks(page, 5);
  s = await state(page);
  await page.keyboard.press('Shift+F2');
  const run = await ended;
  assert.match(run.name, /_50x50_character0_seed77\.burrowkin-run$/);
  const file = join(scratch, run.name);
  writeFileSync(file, Buffer.from(run.bytes));
  const trace = sim('play', '--run', file).trim().split('\n');
  const last = trace[trace.length - 1].split(' ').map(Number);
  assert.equal(trace.length - 1, s.frame - 16, 'a trace line for every tick played');
  assert.deepEqual([last[1], last[2]], [s.x, s.y]);
  assert.ok(s.x !== 0 && last[0] === s.frame);
  const verified = JSON.parse(sim('verify', file) || '{}');
  assert.equal(verified.seed, 77);
  assert.deepEqual(errors, []);
  await page.close();
});

test('a dropped run plays to its ending picture; a damaged one shows its message and changes nothing', { timeout: Minute }, async () => {
  const file = join(scratch, 'solved.burrowkin-run');
  sim('solve', '--width', '24', '--height', '20', '--seed', '5', '--out', file, '--force');
  const { page, errors } = await open();
  const drop = (bytes, name) => page.evaluate(({ data, fileName }) => {
    const transfer = new DataTransfer();
    transfer.items.add(new File([new Uint8Array(data)], fileName));
    document.dispatchEvent(new DragEvent('drop', { dataTransfer: transfer, bubbles: true, cancelable: true }));
  }, { data: Array.from(bytes), fileName: name });

  await ticks(page, 5);
  const damaged = readFileSync(file);
  damaged[2 * 9] = 0;  // the width 0: out of range
  const before = await state(page);
  await drop(damaged, 'damaged.burrowkin-run');
  await page.locator('#message[open]').waitFor();
  assert.match(await page.locator('#message-text').textContent(), /^cannot watch damaged\.burrowkin-run: a value out of range: width 0/);
  assert.deepEqual(await state(page), before);
  await page.locator('#message-ok').click();

  await drop(readFileSync(file), 'solved.burrowkin-run');
  await page.waitForFunction(() => window.Burrowkin.test.state().watching);
  for (let i = 0; i < 400 && (await state(page)).screen !== 2; ++i) await ticks(page, 25);
  assert.equal((await state(page)).screen, 2, 'the run reaches its ending');
  const ending = await decoded(page, join(page_dir, 'ending0.png'));
  const mine = await picture(page);
  const view = Width * Height * 4 - Width * 32 * 4;  // the view, above the status bar
  const differing = mine.slice(0, view).findIndex((v, i) => v !== ending.pixels[i]);
  assert.equal(differing, -1, `the ending picture shows; the first differing pixel is (${(differing >> 2) % Width}, ${Math.floor((differing >> 2) / Width)})`);
  assert.deepEqual(errors, []);
  await page.close();
});

test('twenty idle seconds on the title play the demonstration to its end; a cave that cannot be made says so', { timeout: Minute }, async () => {
  const { page, errors } = await open('?manual&seed=197');
  await ticks(page, 401);
  let s = await state(page);
  assert.deepEqual([s.screen, s.demo, s.width, s.seed], [1, true, 100, 1]);
  for (let i = 0; i < 80 && (await state(page)).screen === 1; ++i) await ticks(page, 50);
  s = await state(page);
  assert.deepEqual([s.screen, s.titleTicks < 50], [0, true], 'the demonstration ends on the title');

  // Seed 197 makes no 1 by 1 cave: the game's own message holds the game
  // until it is answered, as the window's box does.
  await startGame(page, async () => { await page.keyboard.press('Alt+n'); });
  await page.locator('#message[open]').waitFor();
  assert.equal(await page.locator('#message-text').textContent(), 'いい洞窟が生成できないようです');
  assert.equal(await page.locator('#message-caption').textContent(), 'ｴﾗｰ');
  const held = (await state(page)).titleTicks;
  await ticks(page, 5);
  assert.equal((await state(page)).titleTicks, held);
  await page.locator('#message-ok').click();
  await page.waitForFunction(() => window.Burrowkin.test.holding() === 0);
  await ticks(page, 5);
  s = await state(page);
  assert.deepEqual([s.screen, s.titleTicks], [0, held + 5]);
  assert.deepEqual(errors, []);
  await page.close();
});

test('F3 pauses the ticks and says so in the title; F3 again goes on', { timeout: Minute }, async () => {
  const { page } = await open('');
  await page.waitForFunction(() => window.Burrowkin.test.state().titleTicks > 2);
  await page.keyboard.press('F3');
  assert.ok(await page.evaluate(() => window.Burrowkin.test.paused()));
  assert.equal(await caption(page), 'こるべに（一時停止）');
  const held = (await state(page)).titleTicks;
  await page.waitForTimeout(300);
  assert.equal((await state(page)).titleTicks, held);
  await page.keyboard.press('F3');
  assert.equal(await caption(page), 'こるべに');
  await page.waitForFunction((t) => window.Burrowkin.test.state().titleTicks > t + 3, held);
  await page.close();
});

test('?daily makes today\'s cave, and a bad ?seed is named and ignored', { timeout: Minute }, async () => {
  const now = new Date();
  const today = now.getUTCFullYear() * 10000 + (now.getUTCMonth() + 1) * 100 + now.getUTCDate();
  const { page } = await open('?manual&daily');
  await startGame(page);
  const s = await state(page);
  assert.equal(s.seed, today);
  assert.match(sim('generate', '--seed', String(today)), /"ok":/);
  await page.close();

  const bad = await open('?manual&seed=12x');
  await bad.page.locator('#message[open]').waitFor();
  assert.match(await bad.page.locator('#message-text').textContent(), /\?seed takes a whole number from 0 to 4294967295, not '12x'/);
  await bad.page.locator('#message-ok').click();
  await startGame(bad.page);
  const clock = Date.now() % 86400000;
  const seeded = (await state(bad.page)).seed;
  assert.ok(Math.abs(seeded - clock) < 60_000, `the cave's seed ${seeded} is the clock's, near ${clock}`);
  await bad.page.close();
});


test('a link races a run from the title at once, until the race is stopped; ?watch= refuses more than a run', { timeout: Minute }, async () => {
  const run = join(page_dir, 'raced.burrowkin-run'), large = join(page_dir, 'large.burrowkin-run');
  sim('solve', '--width', '24', '--height', '20', '--seed', '5', '--out', run, '--force');
  writeFileSync(large, Buffer.alloc(4 << 20, 1));
  try {
    const { page, errors } = await open('?manual&race=raced.burrowkin-run');
    await page.waitForFunction(() => window.Burrowkin.test.state().racing);
    assert.match(await page.locator('#line').textContent(), /^racing raced\.burrowkin-run/);
    await ticks(page, 61);
    await page.keyboard.down('Space');
    await ticks(page, 1);
    await page.keyboard.up('Space');
    let s = await state(page);
    assert.deepEqual([s.screen, s.width, s.height, s.seed], [1, 24, 20, 5], 'the run\'s game, at once');
    assert.equal(await page.locator('#setup').evaluate((d) => d.open), false, 'no setup form for a race');
    await page.keyboard.press('Shift+F2');
    await page.getByRole('button', { name: 'stop racing' }).click();
    assert.equal((await state(page)).racing, false);
    await startGame(page);  // the setup form again
    assert.deepEqual(errors, []);
    await page.close();

    const watching = await open('?manual&watch=large.burrowkin-run');
    await watching.page.locator('#message[open]').waitFor();
    assert.match(await watching.page.locator('#message-text').textContent(), /^cannot watch large\.burrowkin-run: .*not a run file/);
    await watching.page.close();
  } finally {
    rmSync(run, { force: true });
    rmSync(large, { force: true });
  }
});

test('a tap shorter than a tick counts; a pad\'s d-pad and buttons reach the game as its input', { timeout: Minute }, async () => {
  const { page, errors } = await open();
  await ticks(page, 61);
  await page.keyboard.press('Enter');  // down and up before the next tick
  await ticks(page, 1);
  assert.ok(await page.locator('#setup').evaluate((d) => d.open), 'the tap opened the setup form');
  await page.keyboard.press('Escape');

  // A standard pad with the d-pad's right (15), A (0) and B (1) held.
  await page.evaluate(() => {
    const buttons = Array.from({ length: 17 }, (_, i) => ({ pressed: [0, 1, 15].includes(i), value: 0 }));
    navigator.getGamepads = () => [{ connected: true, mapping: 'standard', axes: [0, 0, 0, 0], buttons }];
  });
  await ticks(page, 1);
  const s = await state(page);
  assert.equal(s.joystick, true);
  assert.equal(s.input, 8 | 16 | 32, 'right, select and use');
  assert.deepEqual(errors, []);
  await page.close();
});

test('kept runs: the newest twenty stay, and a game in play when the page goes is kept', { timeout: 3 * Minute }, async () => {
  const context = await browser.newContext();
  const page = await context.newPage();
  await page.goto(address + '?manual&seed=3');
  await page.evaluate(() => window.Burrowkin.ready);
  await page.locator('#keep').check();
  const keptNames = () => page.evaluate(() => new Promise((resolve) => {
    const request = indexedDB.open('burrowkin', 1);
    request.onsuccess = () => {
      const all = request.result.transaction('runs').objectStore('runs').getAllKeys();
      all.onsuccess = () => resolve(all.result);
    };
  }));
  for (let game = 0; game < 21; ++game) {
    await startGame(page);
    await ticks(page, 1 + game);  // each run a tick longer, so that no two share a name's second
    await page.keyboard.press('Shift+F2');
    await page.evaluate(() => new Promise((r) => setTimeout(r, 1100)));  // a new second, a new name
    await ticks(page, 1);
  }
  assert.equal((await keptNames()).length, 20);

  await startGame(page);
  await ticks(page, 5);
  const before = await keptNames();
  await page.goto('about:blank');
  const again = await context.newPage();
  await again.goto(address + '?manual');
  await again.evaluate(() => window.Burrowkin.ready);
  const after = await again.evaluate(() => new Promise((resolve) => {
    const request = indexedDB.open('burrowkin', 1);
    request.onsuccess = () => {
      const all = request.result.transaction('runs').objectStore('runs').getAllKeys();
      all.onsuccess = () => resolve(all.result);
    };
  }));
  assert.equal(after.length, 20);
  assert.ok(after.some((name) => !before.includes(name)), 'the game left by going away is kept');
  await context.close();
});

test('sound starts with a key press or a touch\'s end, plays the game\'s own samples, and M silences it', { timeout: Minute }, async () => {
  const { page, errors } = await open();
  assert.equal((await page.evaluate(() => window.Burrowkin.test.sound())).context, 'none', 'no sound before a gesture');
  await page.keyboard.press('ArrowLeft');
  await page.waitForFunction(() => window.Burrowkin.test.sound().context === 'running');
  await ticks(page, 61);
  assert.equal((await page.evaluate(() => window.Burrowkin.test.sound())).started, 1, 'the title\'s tune');
  await page.keyboard.press('KeyM');
  assert.deepEqual(await page.evaluate(() => window.Burrowkin.test.sound()), { context: 'running', on: false, started: 1 });
  assert.equal(await page.locator('#sound').textContent(), 'sound off');
  await page.locator('#sound').click();
  assert.equal((await page.evaluate(() => window.Burrowkin.test.sound())).on, true);
  assert.deepEqual(errors, []);
  await page.close();

  const context = await browser.newContext({ hasTouch: true, isMobile: true, viewport: { width: 390, height: 844 } });
  const phone = await context.newPage();
  await phone.goto(address + '?manual');
  await phone.evaluate(() => window.Burrowkin.ready);
  await phone.locator('#touch button[data-code="ArrowRight"]').tap();
  await phone.waitForFunction(() => window.Burrowkin.test.sound().context === 'running');
  await context.close();
});
