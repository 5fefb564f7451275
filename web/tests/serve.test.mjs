// The page's static server (web/serve.mjs) on 127.0.0.1: regular files inside
// its folder only, clear answers to what it will not serve, and a bad start
// said in one line.
//
//   node --test web/tests/serve.test.mjs
import assert from 'node:assert/strict';
import { execFileSync, spawn, spawnSync } from 'node:child_process';
import { mkdirSync, mkdtempSync, rmSync, symlinkSync, writeFileSync } from 'node:fs';
import { request } from 'node:http';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { brotliDecompressSync, gunzipSync } from 'node:zlib';
import { fileURLToPath } from 'node:url';
import { after, before, test } from 'node:test';
import { serve } from '../serve.mjs';

const script = fileURLToPath(new URL('../serve.mjs', import.meta.url));
const Bound = { timeout: 20_000 };
let scratch, folder, server, port;

before(async () => {
  scratch = mkdtempSync(join(tmpdir(), 'burrowkin-serve-'));
  folder = join(scratch, 'page');
  mkdirSync(join(folder, 'runs'), { recursive: true });
  writeFileSync(join(folder, 'index.html'), '<title>cave</title>');
  writeFileSync(join(folder, 'runs', 'index.html'), 'runs');
  writeFileSync(join(folder, 'burrowkin.js'), 'tick();');
  writeFileSync(join(folder, 'game.wasm'), Buffer.alloc(100_000, 7));
  writeFileSync(join(folder, 'picture.png'), Buffer.alloc(3000, 9));
  writeFileSync(join(scratch, 'secret'), 'not for the page');
  execFileSync('mkfifo', [join(folder, 'pipe')]);
  symlinkSync(join(scratch, 'secret'), join(folder, 'out'));
  symlinkSync(scratch, join(folder, 'up'));
  symlinkSync('burrowkin.js', join(folder, 'same.js'));
  server = await serve(folder, 0);
  port = server.address().port;
});

after(() => {
  server?.close();
  if (scratch) rmSync(scratch, { recursive: true, force: true });
});

// The target is sent as written, dots and escapes untouched.
function ask(method, target, at = port, headers = {}) {
  return new Promise((done, fail) => {
    const r = request({ host: '127.0.0.1', port: at, method, path: target, headers, timeout: 5000 }, (response) => {
      const chunks = [];
      response.on('data', (c) => chunks.push(c));
      response.on('end', () => {
        const bytes = Buffer.concat(chunks);
        done({ status: response.statusCode, headers: response.headers, bytes, body: bytes.toString() });
      });
    });
    r.on('timeout', () => r.destroy(new Error(`${method} ${target}: no answer`)));
    r.on('error', fail);
    r.end();
  });
}

test('regular files inside the folder are served, HEAD without a body', Bound, async () => {
  const home = await ask('GET', '/?manual');
  assert.equal(home.status, 200);
  assert.equal(home.body, '<title>cave</title>');
  assert.match(home.headers['content-type'], /^text\/html/);
  assert.equal((await ask('GET', '/runs/')).body, 'runs');
  const linked = await ask('GET', '/same.js');
  assert.deepEqual([linked.status, linked.body], [200, 'tick();']);
  assert.match(linked.headers['content-type'], /^text\/javascript/);
  const head = await ask('HEAD', '/burrowkin.js');
  assert.deepEqual([head.status, head.headers['content-length'], head.body], [200, '7', '']);
});

test('pipes, links out of the folder and what is not there are not found', Bound, async () => {
  // More pipes at once than Node has threads for files: none may hold one.
  const pipes = await Promise.all(Array.from({ length: 8 }, () => ask('GET', '/pipe')));
  assert.deepEqual(pipes.map((p) => p.status), Array(8).fill(404));
  for (const target of ['/out', '/up/secret', '/../secret', '/%2e%2e/secret', '//secret', '/index.html/', '/nothing'])
    assert.equal((await ask('GET', target)).status, 404, target);
  assert.equal((await ask('GET', '/')).status, 200);
});

test('targets that do not decode to a path are bad requests', Bound, async () => {
  for (const target of ['/%zz', '/%00', '/index.html%00', '/%ff%fe', '*'])
    assert.equal((await ask('GET', target)).status, 400, target);
});

test('methods other than GET and HEAD are not allowed', Bound, async () => {
  for (const method of ['POST', 'DELETE', 'PUT', 'OPTIONS']) {
    const r = await ask(method, '/index.html');
    assert.deepEqual([r.status, r.headers.allow], [405, 'GET, HEAD'], method);
  }
});

test('a bad start is one line and status 2', Bound, async () => {
  await assert.rejects(serve(join(scratch, 'nowhere'), 0), { code: 'ENOENT' });
  const start = (...args) => spawnSync(process.execPath, [script, ...args], { encoding: 'utf8', timeout: 10_000 });
  for (const args of [[join(scratch, 'nowhere'), '0'], [join(folder, 'index.html'), '0'], [folder, 'http'],
    [folder, '-1'], [folder, '65536'], [folder, String(port)]]) {
    const r = start(...args);
    assert.equal(r.status, 2, args.join(' '));
    assert.match(r.stderr, /^serve\.mjs: [^\n]+\n$/, args.join(' '));
  }
});

test('a good start says where the page is and serves it', Bound, async () => {
  const child = spawn(process.execPath, [script, folder, '0'], { stdio: ['ignore', 'pipe', 'inherit'] });
  try {
    const line = await new Promise((done) => child.stdout.once('data', (d) => done(String(d))));
    const other = Number(line.match(/http:\/\/127\.0\.0\.1:(\d+)\//)[1]);
    assert.equal((await ask('GET', '/', other)).status, 200);
  } finally {
    child.kill();
  }
});

test('the page\'s own files go compressed to a browser that takes it, pictures as they are', Bound, async () => {
  const wasm = Buffer.alloc(100_000, 7);
  const plain = await ask('GET', '/game.wasm');
  assert.deepEqual([plain.headers['content-encoding'], plain.headers.vary, plain.bytes.length], [undefined, 'Accept-Encoding', 100_000]);
  const both = await ask('GET', '/game.wasm', port, { 'Accept-Encoding': 'gzip, deflate, br, zstd' });
  assert.equal(both.headers['content-encoding'], 'br');
  assert.equal(both.headers.vary, 'Accept-Encoding');
  assert.ok(both.bytes.length < 1000 && Number(both.headers['content-length']) === both.bytes.length);
  assert.deepEqual(brotliDecompressSync(both.bytes), wasm);
  for (const accepted of ['gzip', 'br;q=0, gzip;q=0.5', 'GZIP', 'identity;q=0.5, *;q=0.1, br;q=0']) {
    const r = await ask('GET', '/game.wasm', port, { 'Accept-Encoding': accepted });
    assert.equal(r.headers['content-encoding'], 'gzip', accepted);
    assert.deepEqual(gunzipSync(r.bytes), wasm, accepted);
  }
  for (const accepted of ['identity', 'br;q=0, gzip;q=0', 'deflate']) {
    const r = await ask('GET', '/game.wasm', port, { 'Accept-Encoding': accepted });
    assert.deepEqual([r.headers['content-encoding'], r.bytes.length], [undefined, 100_000], accepted);
  }
  const head = await ask('HEAD', '/game.wasm', port, { 'Accept-Encoding': 'gzip' });
  assert.deepEqual([head.headers['content-encoding'], head.bytes.length], ['gzip', 0]);
  assert.ok(Number(head.headers['content-length']) < 1000);
  const picture = await ask('GET', '/picture.png', port, { 'Accept-Encoding': 'gzip, br' });
  assert.deepEqual([picture.headers['content-encoding'], picture.headers.vary, picture.bytes.length], [undefined, undefined, 3000]);
});

test('a file the browser has is not sent again, and a changed one is', Bound, async () => {
  const first = await ask('GET', '/burrowkin.js', port, { 'Accept-Encoding': 'gzip' });
  assert.match(first.headers.etag, /^W\/"/);
  const again = await ask('GET', '/burrowkin.js', port, { 'Accept-Encoding': 'gzip', 'If-None-Match': first.headers.etag });
  assert.deepEqual([again.status, again.body, again.headers.etag], [304, '', first.headers.etag]);
  writeFileSync(join(folder, 'burrowkin.js'), 'tick(); tick();');
  const changed = await ask('GET', '/burrowkin.js', port, { 'Accept-Encoding': 'gzip', 'If-None-Match': first.headers.etag });
  assert.equal(changed.status, 200);
  assert.equal(gunzipSync(changed.bytes).toString(), 'tick(); tick();');
  writeFileSync(join(folder, 'burrowkin.js'), 'tick();');
});
