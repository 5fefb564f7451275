// The browser edition in a real browser: Debian's Chromium driven by
// playwright-core against the page served on 127.0.0.1.
//
//   BURROWKIN_PAGE=build-web/page BURROWKIN_NATIVE_BIN=build/bin node --test web/tests/page.test.mjs
//
// Most tests open the page with ?manual, where the game ticks only when the
// test says so, and compare it with the native programs on the same input.
import assert from 'node:assert/strict';
import { execFileSync, spawnSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync, truncateSync, writeFileSync } from 'node:fs';
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

// A phone held upright or on its side, as a touch screen.
async function phone(viewport) {
  const context = await browser.newContext({ viewport, deviceScaleFactor: 3, isMobile: true, hasTouch: true });
  const page = await context.newPage();
  const errors = [];
  page.on('pageerror', (e) => errors.push(String(e)));
  await page.goto(address + '?manual');
  await page.evaluate(() => window.Burrowkin.loaded);
  return { context, page, errors, cdp: await context.newCDPSession(page) };
}

// A finger down, moved or up at the centres of the named elements, in turn;
// each step is one touch event, as a touch screen sends them.
async function finger(page, cdp, type, selector) {
  let touchPoints = [];
  if (selector) {
    const box = await page.locator(selector).boundingBox();
    touchPoints = [{ x: box.x + box.width / 2, y: box.y + box.height / 2, id: 1 }];
  }
  await cdp.send('Input.dispatchTouchEvent', { type, touchPoints });
  // A moving finger is seen at the next frame.
  await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve))));
}

const Up = 1, Right = 8;  // bits of the game's input word

// A run file dropped on the page.
function dropRun(page, bytes, name) {
  return page.evaluate(({ data, fileName }) => {
    const transfer = new DataTransfer();
    transfer.items.add(new File([new Uint8Array(data)], fileName));
    document.dispatchEvent(new DragEvent('drop', { dataTransfer: transfer, bubbles: true, cancelable: true }));
  }, { data: Array.from(bytes), fileName: name });
}

test('on a phone upright and on its side, the picture, its line, the touch buttons and the bar all fit, none over the picture, each on one line and readable', { timeout: Minute }, async () => {
  for (const viewport of [{ width: 390, height: 844 }, { width: 844, height: 390 }]) {
    const { context, page, errors } = await phone(viewport);
    await ticks(page, 70);
    const at = `${viewport.width}x${viewport.height}`;
    assert.match(await page.locator('#hint').textContent(), /^hold Select or Use to open the setup/, at);
    // The line under the picture as it is when a kept run is offered.
    await page.evaluate(() => new Promise((resolve) => {
      const line = document.getElementById('line');
      line.textContent = 'run kept: ';
      line.append(Object.assign(document.createElement('a'), { href: '#', textContent: '20261210-093000_100x100_character0_seed12345.burrowkin-run' }));
      requestAnimationFrame(() => requestAnimationFrame(resolve));
    }));
    const layout = await page.evaluate(() => {
      const box = (e) => { const r = e.getBoundingClientRect(); return { left: r.left, top: r.top, right: r.right, bottom: r.bottom, width: r.width, height: r.height }; };
      // The lines a box's text takes: a piece that starts below the line
      // before it starts a new one.
      const lines = (e) => {
        const range = document.createRange();
        range.selectNodeContents(e);
        const pieces = Array.from(range.getClientRects()).filter((r) => r.width > 0).sort((a, b) => a.top - b.top);
        let count = 0, bottom = -Infinity;
        for (const r of pieces) {
          if (r.top >= bottom - 1) count += 1;
          bottom = Math.max(r.top >= bottom - 1 ? r.bottom : bottom, r.bottom);
        }
        return count;
      };
      const luminance = (colour) => {
        const [r, g, b] = colour.match(/\d+(\.\d+)?/g).slice(0, 3).map((v) => {
          const c = Number(v) / 255;
          return c <= 0.03928 ? c / 12.92 : ((c + 0.055) / 1.055) ** 2.4;
        });
        return 0.2126 * r + 0.7152 * g + 0.0722 * b;
      };
      const contrast = (e, ground) => {
        const [a, b] = [luminance(getComputedStyle(e).color), luminance(getComputedStyle(ground).backgroundColor)];
        return (Math.max(a, b) + 0.05) / (Math.min(a, b) + 0.05);
      };
      const controls = Array.from(document.querySelectorAll('#touch button, #bar button, #bar input, #bar label, #bar a, #line, #hint'))
        .filter((e) => e.getClientRects().length > 0 && getComputedStyle(e).visibility !== 'hidden' && e.type !== 'file');
      return {
        screen: box(document.getElementById('screen')),
        controls: controls.map((e) => ({ name: e.id || e.className || e.textContent.trim(), ...box(e), lines: e.textContent.trim() ? lines(e) : 1 })),
        contrast: ['#line', '#line a', '#about-link'].map((s) => [s, contrast(document.querySelector(s), document.getElementById('bar'))])
          .concat([['#hint', contrast(document.getElementById('hint'), document.body)]]),
        round: ['.select', '.use', '.up'].map((s) => {
          const button = document.querySelector(`#touch ${s}`);
          const range = document.createRange();
          range.selectNodeContents(button);
          return { button: box(button), label: box(range) };
        }),
      };
    });
    const inside = (r) => r.left >= 0 && r.top >= 0 && r.right <= viewport.width && r.bottom <= viewport.height;
    const overlaps = (a, b) => a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
    assert.ok(inside(layout.screen) && layout.screen.width >= 272, `${at}: the picture ${JSON.stringify(layout.screen)}`);
    assert.ok(layout.controls.length >= 18, `${at}: ${layout.controls.length} controls`);
    for (const c of layout.controls) {
      assert.ok(inside(c), `${at}: ${c.name} lies outside the screen: ${JSON.stringify(c)}`);
      assert.ok(!overlaps(c, layout.screen), `${at}: ${c.name} lies over the picture`);
      assert.equal(c.lines, 1, `${at}: ${c.name} takes ${c.lines} lines`);
    }
    for (const [what, ratio] of layout.contrast) assert.ok(ratio >= 4.5, `${at}: ${what} has a contrast of ${ratio.toFixed(2)}`);
    const [select, use, pad] = layout.round;
    for (const { button, label } of [select, use]) {
      assert.ok(button.width >= 48 && button.width === pad.button.width && button.height === pad.button.height, `${at}: ${JSON.stringify(button)}`);
      // The label's corners inside the circle.
      const [cx, cy, radius] = [button.left + button.width / 2, button.top + button.height / 2, button.width / 2];
      for (const [x, y] of [[label.left, label.top], [label.right, label.bottom]]) assert.ok(Math.hypot(x - cx, y - cy) <= radius, `${at}: a label outside its circle`);
    }
    assert.deepEqual(errors, []);
    await context.close();
  }
});

test('by touch alone: Select opens the setup form, which fits an upright phone in English too; a tap of Use shorter than a tick uses the item; a finger slides across the d-pad; pause, title and fast forward', { timeout: Minute }, async () => {
  const { context, page, errors, cdp } = await phone({ width: 390, height: 844 });
  const tap = async (selector) => { await finger(page, cdp, 'touchStart', selector); await finger(page, cdp, 'touchEnd'); };
  await ticks(page, 60);
  assert.match(await page.locator('#hint').textContent(), /^the title builds up… buttons wait/);
  await ticks(page, 1);
  assert.match(await page.locator('#hint').textContent(), /^hold Select or Use to open the setup and start$/);
  await tap('#touch .choose-keys');  // the keys form, for a pad's buttons
  assert.ok(await page.locator('#keys').evaluate((d) => d.open));
  await page.locator('#keys-cancel').tap();
  await tap('#touch .select');
  await ticks(page, 1);
  const form = await page.evaluate(() => {
    const dialog = document.getElementById('setup');
    const r = dialog.getBoundingClientRect();
    return { open: dialog.open, left: r.left, top: r.top, right: r.right, bottom: r.bottom, scrolls: dialog.scrollHeight > dialog.clientHeight || dialog.scrollWidth > dialog.clientWidth,
      glosses: Array.from(dialog.querySelectorAll('.gloss'), (g) => g.textContent) };
  });
  assert.ok(form.open, 'a tap of Select held for a tick opens the form');
  assert.ok(form.left >= 0 && form.top >= 0 && form.right <= 390 && form.bottom <= 844 && !form.scrolls, JSON.stringify(form));
  assert.deepEqual(form.glosses.slice(0, 3), ['cave size', 'large', 'medium']);
  assert.ok(form.glosses.includes('I am a beginner') && form.glosses.includes('start exploring'));
  await page.locator('#chkBeginner').tap();
  await page.locator('#btnStart').tap();
  await ticks(page, 5);
  let s = await state(page);
  assert.deepEqual([s.screen, s.beginner, s.slot, s.inventory0], [1, true, 0, 9]);
  assert.match(await page.locator('#hint').textContent(), /^◀ ▶ walk · ▲ jump · ▼ down · Select next item · Use use it$/);
  assert.ok(await page.locator('#hint').evaluate((e) => e.offsetHeight < 24), 'the line under the picture takes one line');

  await tap('#touch .use');  // down and up before the next tick
  await ticks(page, 1);
  assert.equal((await state(page)).inventory0, 8, 'the tap used a bomb');

  await finger(page, cdp, 'touchStart', '#touch .right');
  await ticks(page, 1);
  assert.equal((await state(page)).input, Right);
  await finger(page, cdp, 'touchMove', '#touch .pad');  // between the buttons: still right
  await ticks(page, 1);
  assert.equal((await state(page)).input, Right);
  await finger(page, cdp, 'touchMove', '#touch .up');
  await ticks(page, 1);
  assert.equal((await state(page)).input, Up, 'the finger on Up lets go of Right');
  await finger(page, cdp, 'touchMove', '#screen');
  await ticks(page, 1);
  assert.equal((await state(page)).input, 0, 'a finger off the d-pad holds nothing');
  await finger(page, cdp, 'touchEnd');

  await tap('#touch .pause');
  assert.ok(await page.evaluate(() => window.Burrowkin.test.paused()));
  assert.equal(await caption(page), 'こるべに（一時停止）');
  assert.equal(await page.locator('#touch .pause').getAttribute('aria-pressed'), 'true');
  await tap('#touch .pause');
  assert.equal(await page.evaluate(() => window.Burrowkin.test.paused()), false);
  assert.equal(await page.locator('#touch .fast').isVisible(), false, 'no fast forward but while watching');
  await tap('#touch .title');
  s = await state(page);
  assert.deepEqual([s.screen, s.titleTicks], [0, 0]);

  // A run watched: held, fast forward plays four ticks a tick.
  const file = join(scratch, 'touch.burrowkin-run');
  sim('solve', '--width', '24', '--height', '20', '--seed', '5', '--out', file, '--force');
  await dropRun(page, readFileSync(file), 'touch.burrowkin-run');
  await page.waitForFunction(() => window.Burrowkin.test.state().watching);
  assert.ok(await page.locator('#touch .fast').isVisible());
  assert.match(await page.locator('#hint').textContent(), /^watching a run · hold fast for four times the speed/);
  const frame = (await state(page)).frame;
  await finger(page, cdp, 'touchStart', '#touch .fast');
  await ticks(page, 2);
  await finger(page, cdp, 'touchEnd');
  await ticks(page, 1);
  assert.equal((await state(page)).frame, frame + 4 + 4 + 1);
  assert.deepEqual(errors, []);
  await context.close();
});

test('on a slow line ("Fast 3G", from a cold cache) the page says it is loading and paints the title\'s first frame within 3 s; the rest follows', { timeout: Minute }, async () => {
  await server.compressedAhead;
  const context = await browser.newContext();
  const page = await context.newPage();
  const cdp = await context.newCDPSession(page);
  await cdp.send('Network.enable');
  await cdp.send('Network.emulateNetworkConditions', { offline: false, latency: 562.5, downloadThroughput: 180_000, uploadThroughput: 84_375 });
  await page.goto(address, { waitUntil: 'commit' });
  await page.locator('#hint').waitFor({ state: 'attached' });
  assert.equal(await page.locator('#hint').textContent(), 'loading the game…');
  await page.waitForFunction(() => window.Burrowkin?.test?.firstFrameAt() > 0, null, { timeout: 20_000, polling: 10 });
  const first = await page.evaluate(() => window.Burrowkin.test.firstFrameAt());
  await page.evaluate(() => window.Burrowkin.loaded);
  const files = await page.evaluate(() => Object.fromEntries(performance.getEntriesByType('resource').map((e) =>
    [e.name.split('/').pop(), { start: e.startTime, end: e.responseEnd, sent: e.encodedBodySize, size: e.decodedBodySize }])));
  assert.ok(first <= 3000, `the first frame came ${Math.round(first)} ms after the page was asked for`);
  for (const later of ['ending0.png', 'replay.dat', 'sounds.txt']) {
    assert.ok(files[later].start >= files['sprites.png'].end, `${later} is asked for after the title's files came`);
  }
  assert.ok(files['burrowkin.wasm'].sent * 2 < files['burrowkin.wasm'].size, 'the game came compressed');
  await context.close();
});

test('once opened, the page starts again with no network, at its bare address too, the demonstration and the endings too', { timeout: Minute }, async () => {
  const context = await browser.newContext();
  const page = await context.newPage();
  await page.goto(address + '?manual');
  await page.evaluate(() => window.Burrowkin.loaded);
  await page.evaluate(() => navigator.serviceWorker.ready);
  await context.setOffline(true);
  await page.reload();
  await page.evaluate(() => window.Burrowkin.loaded);
  assert.ok(await page.evaluate(() => Boolean(navigator.serviceWorker.controller)));
  await ticks(page, 401);
  const s = await state(page);
  assert.deepEqual([s.screen, s.demo], [1, true], 'the demonstration plays from the kept replay.dat');
  assert.equal(await page.locator('#message').evaluate((d) => d.open), false, 'nothing is missing');
  await page.goto(address);  // the bare address asks the network first
  await page.evaluate(() => window.Burrowkin.loaded);
  await context.close();
});

test('Tab goes between the bar\'s controls, which work from the keyboard, unless a run is watched; "keep my runs" is remembered until unticked', { timeout: Minute }, async () => {
  const { page, errors } = await open();
  await ticks(page, 61);
  await page.locator('#screen').focus();
  const reached = [];
  for (let i = 0; i < 10; ++i) {
    await page.keyboard.press('Tab');
    reached.push(await page.evaluate(() => document.activeElement.id));
  }
  assert.deepEqual(reached, ['keep', 'watch', 'runs-button', 'full', 'speed', 'sound', 'volume', 'music', 'about-link', reached[9]]);
  assert.equal((await state(page)).titleTicks, 61, 'no key reached the game');

  await page.locator('#sound').focus();
  await page.keyboard.press('Space');
  assert.equal((await page.evaluate(() => window.Burrowkin.test.sound())).on, false);
  assert.equal(await page.evaluate(() => document.activeElement.id), 'sound', 'the focus stays for the next key');
  await page.keyboard.press('Enter');
  assert.equal((await page.evaluate(() => window.Burrowkin.test.sound())).on, true);
  await ticks(page, 1);
  assert.equal(await page.locator('#setup').evaluate((d) => d.open), false, 'Space and Enter were the button\'s, not the game\'s');

  await page.locator('#keep').focus();
  await page.keyboard.press('Space');
  const remembered = () => page.evaluate(() => localStorage.getItem('burrowkin-keep-runs'));
  assert.ok(await page.locator('#keep').isChecked());
  assert.ok(await remembered());
  await page.reload();
  await page.evaluate(() => window.Burrowkin.ready);
  assert.ok(await page.locator('#keep').isChecked(), 'ticked at the next visit');
  await page.locator('#keep').focus();
  await page.keyboard.press('Space');
  assert.equal(await remembered(), null);

  await page.locator('#about-link').focus();
  await page.keyboard.press('Enter');
  assert.ok(await page.locator('#about').evaluate((d) => d.open));
  assert.match(await page.locator('#about').textContent(), /\.\/setup\.sh play/);
  assert.match(await page.locator('#about-keys').textContent(), /Shift\+F2back to the title screen/);
  await page.keyboard.press('Escape');
  // The dialog's close event comes in a task of its own, after Escape.
  await page.waitForFunction(() => document.activeElement.id === 'screen', null, { timeout: 5000 });

  // Watching, Tab is the game's fast forward, and the focus stays.
  const file = join(scratch, 'tab.burrowkin-run');
  sim('solve', '--width', '24', '--height', '20', '--seed', '5', '--out', file, '--force');
  await dropRun(page, readFileSync(file), 'tab.burrowkin-run');
  await page.waitForFunction(() => window.Burrowkin.test.state().watching);
  const frame = (await state(page)).frame;
  await page.keyboard.down('Tab');
  await ticks(page, 1);
  await page.keyboard.up('Tab');
  assert.equal((await state(page)).frame, frame + 4);
  assert.equal(await page.evaluate(() => document.activeElement.id), 'screen');
  assert.deepEqual(errors, []);
  await page.close();
});

test('?watch= of a file far larger than a run is refused, and the server sees its sending cut short', { timeout: Minute }, async () => {
  const huge = join(page_dir, 'huge.burrowkin-run');
  writeFileSync(huge, '');
  truncateSync(huge, 64 << 20);
  const cut = new Promise((resolve) => {
    const seen = (request, response) => {
      if (!request.url.startsWith('/huge.')) return;
      server.off('request', seen);
      response.on('close', () => resolve(!response.writableFinished));
    };
    server.on('request', seen);
  });
  try {
    const { page } = await open('?manual&watch=huge.burrowkin-run');
    await page.locator('#message[open]').waitFor();
    assert.match(await page.locator('#message-text').textContent(), /^cannot watch huge\.burrowkin-run: .*not a run file/);
    assert.equal(await cut, true, 'the server stopped before the end of the file');
    await page.close();
  } finally {
    rmSync(huge, { force: true });
  }
});
