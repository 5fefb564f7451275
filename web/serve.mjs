// A static web server for the browser edition on 127.0.0.1, for trying the
// page and for its tests: node serve.mjs FOLDER [PORT]. Port 0 takes a free one.
// It prints the address to open and serves until it is stopped.
//
// It serves the regular files inside FOLDER only, links followed to where
// they really lead, and answers GET and HEAD alone. The page's own kinds of
// file (the game's WebAssembly, the scripts, replay.dat) go compressed with
// brotli or gzip to a browser that takes them, each compressed once.
import { constants } from 'node:fs';
import { open, readdir, realpath, stat } from 'node:fs/promises';
import { createServer } from 'node:http';
import { extname, join, resolve, sep } from 'node:path';
import { pipeline } from 'node:stream/promises';
import { pathToFileURL } from 'node:url';
import { promisify } from 'node:util';
import { brotliCompress, constants as zlib, gzip } from 'node:zlib';

const Types = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.wasm': 'application/wasm',
  '.png': 'image/png',
  '.dat': 'application/octet-stream',
  '.txt': 'text/plain; charset=utf-8',
  '.webmanifest': 'application/manifest+json',
  '.burrowkin-run': 'application/x-burrowkin-run',
};

// The kinds of file that shrink when compressed; pictures already are, and
// run files are read only as far as a run goes.
const Compressible = new Set(['.html', '.js', '.mjs', '.css', '.wasm', '.dat', '.txt', '.webmanifest']);
const LargestCompressed = 16 << 20;  // a larger file goes as it is
const KeptCompressed = 64;           // compressed files kept at once

const Methods = 'GET, HEAD';

// What a request's target names below the folder, or null when it does not
// decode to a path.
function decodedPath(target) {
  if (!target.startsWith('/')) return null;
  let path;
  try {
    path = decodeURIComponent(target.split(/[?#]/, 1)[0]);
  } catch {
    return null;
  }
  return path.includes('\0') ? null : path;
}

// The regular file the path names inside root, as an open handle with its
// size, or null. Nothing else is ever opened: a pipe would hold the reader.
async function regularFile(root, path) {
  const inside = (p) => p === root || p.startsWith(root.endsWith(sep) ? root : root + sep);
  let file = await realpath(join(root, path));
  if (!inside(file)) return null;
  let info = await stat(file);
  if (info.isDirectory()) {
    file = await realpath(join(file, 'index.html'));
    if (!inside(file)) return null;
    info = await stat(file);
  }
  if (!info.isFile()) return null;
  const handle = await open(file, constants.O_RDONLY | constants.O_NONBLOCK | constants.O_NOFOLLOW);
  const opened = await handle.stat();
  if (!opened.isFile() || opened.ino !== info.ino || opened.dev !== info.dev) {
    await handle.close();
    return null;
  }
  return { handle, info: opened, extension: extname(file), type: Types[extname(file)] || 'application/octet-stream' };
}

// The encoding to send: brotli, else gzip, when Accept-Encoding takes it.
export function chosenEncoding(accepted = '') {
  const weights = new Map();
  for (const part of accepted.toLowerCase().split(',')) {
    const [name, ...parameters] = part.split(';').map((p) => p.trim());
    const q = parameters.find((p) => p.startsWith('q='));
    if (name) weights.set(name, q === undefined ? 1 : Number(q.slice(2)));
  }
  for (const name of ['br', 'gzip']) {
    const weight = weights.get(name) ?? weights.get('*') ?? 0;
    if (weight > 0) return name;
  }
  return null;
}

const compress = {
  br: (bytes) => promisify(brotliCompress)(bytes, {
    params: { [zlib.BROTLI_PARAM_QUALITY]: zlib.BROTLI_MAX_QUALITY, [zlib.BROTLI_PARAM_SIZE_HINT]: bytes.length },
  }),
  gzip: (bytes) => promisify(gzip)(bytes, { level: 9 }),
};

// The bytes of an open file from its start, however often it was read.
async function contents(handle, size) {
  const bytes = Buffer.alloc(size);
  let at = 0;
  while (at < size) {
    const { bytesRead } = await handle.read(bytes, at, size - at, at);
    if (bytesRead === 0) break;
    at += bytesRead;
  }
  return bytes.subarray(0, at);
}

// The compressed bytes of an open file, by the file's identity and time, so
// that a changed file is compressed anew.
const compressed = new Map();
function compressedBytes(handle, info, encoding) {
  const key = `${info.dev}:${info.ino}:${info.size}:${info.mtimeMs}:${encoding}`;
  if (!compressed.has(key)) {
    const bytes = contents(handle, info.size).then((b) => compress[encoding](b));
    bytes.catch(() => compressed.delete(key));
    compressed.set(key, bytes);
    if (compressed.size > KeptCompressed) compressed.delete(compressed.keys().next().value);
  }
  return compressed.get(key);
}

const tagOf = (info) => `W/"${info.size.toString(16)}-${Math.trunc(info.mtimeMs).toString(16)}"`;

function unchanged(request, tag) {
  const asked = request.headers['if-none-match'];
  if (!asked) return false;
  const bare = (t) => t.trim().replace(/^W\//, '');
  return asked.split(',').some((t) => t.trim() === '*' || bare(t) === bare(tag));
}

// The folder's own compressible files, compressed before they are asked for.
async function compressAhead(root) {
  for (const name of await readdir(root)) {
    if (!Compressible.has(extname(name))) continue;
    const found = await regularFile(root, name).catch(() => null);
    if (!found) continue;
    try {
      if (found.info.size <= LargestCompressed) {
        for (const encoding of ['br', 'gzip']) await compressedBytes(found.handle, found.info, encoding);
      }
    } finally {
      await found.handle.close();
    }
  }
}

const Missing = new Set(['ENOENT', 'ENOTDIR', 'ELOOP', 'ENAMETOOLONG', 'EACCES', 'EPERM', 'EISDIR']);

function answer(response, status, text, headers = {}) {
  response.writeHead(status, { 'Content-Type': 'text/plain; charset=utf-8', ...headers });
  response.end(text + '\n');
}

async function respond(root, request, response) {
  if (request.method !== 'GET' && request.method !== 'HEAD') return answer(response, 405, 'not allowed', { Allow: Methods });
  const path = decodedPath(request.url);
  if (path === null) return answer(response, 400, 'bad request');
  let found = null;
  try {
    found = await regularFile(root, path);
  } catch (e) {
    if (!Missing.has(e.code)) throw e;
  }
  if (!found) return answer(response, 404, 'not found');
  try {
    const { handle, info } = found;
    const headers = { 'Content-Type': found.type, 'Cache-Control': 'no-cache', ETag: tagOf(info) };
    const compressible = Compressible.has(found.extension) && info.size <= LargestCompressed;
    if (compressible) headers.Vary = 'Accept-Encoding';
    if (unchanged(request, headers.ETag)) {
      response.writeHead(304, headers);
      return response.end();
    }
    const encoding = compressible ? chosenEncoding(request.headers['accept-encoding']) : null;
    if (encoding) {
      const body = await compressedBytes(handle, info, encoding);
      response.writeHead(200, { ...headers, 'Content-Encoding': encoding, 'Content-Length': body.length });
      return response.end(request.method === 'HEAD' ? undefined : body);
    }
    response.writeHead(200, { ...headers, 'Content-Length': info.size });
    if (request.method === 'HEAD' || info.size === 0) return response.end();
    // Read as it is sent: a reader that stops early stops the reading too.
    await pipeline(handle.createReadStream({ start: 0, end: info.size - 1, autoClose: false }), response);
  } finally {
    await found.handle.close();
  }
}

// Serves `folder` on 127.0.0.1:port; the promise fails when the folder is
// not there or the port cannot be had.
export async function serve(folder, port = 0) {
  const root = await realpath(resolve(folder));
  if (!(await stat(root)).isDirectory()) throw Object.assign(new Error(`${folder} is not a folder`), { code: 'ENOTDIR' });
  const server = createServer((request, response) => {
    respond(root, request, response).catch(() => {
      if (!response.headersSent) answer(response, 500, 'cannot be read');
      else response.destroy();
    });
  });
  await new Promise((done, fail) => {
    server.once('error', fail);
    server.listen(port, '127.0.0.1', () => {
      server.off('error', fail);
      done();
    });
  });
  // Settled once the folder's own files are compressed.
  server.compressedAhead = compressAhead(root).catch(() => {});
  return server;
}

function refuse(message) {
  console.error(`serve.mjs: ${message}`);
  process.exit(2);
}

if (process.argv[1] && import.meta.url === pathToFileURL(process.argv[1]).href) {
  const [folder = '.', portText = '8216'] = process.argv.slice(2);
  if (!/^\d{1,5}$/.test(portText) || Number(portText) > 65535) refuse(`not a port: ${portText}`);
  let server;
  try {
    server = await serve(folder, Number(portText));
  } catch (e) {
    if (e.code === 'EADDRINUSE') refuse(`port ${portText} is in use`);
    if (e.code === 'EACCES') refuse(`port ${portText} may not be used here`);
    if (e.code === 'ENOENT' || e.code === 'ENOTDIR') refuse(`no folder ${folder}`);
    refuse(`cannot serve ${folder} on port ${portText}: ${e.message}`);
  }
  console.log(`Korvane Burrowkin is served at http://127.0.0.1:${server.address().port}/ (Ctrl+C stops it)`);
}
