// A static web server for the browser edition on 127.0.0.1, for trying the
// page and for its tests: node serve.mjs FOLDER [PORT]. Port 0 takes a free one.
// It prints the address to open and serves until it is stopped.
//
// It serves the regular files inside FOLDER only, links followed to where
// they really lead, and answers GET and HEAD alone.
import { constants } from 'node:fs';
import { open, realpath, stat } from 'node:fs/promises';
import { createServer } from 'node:http';
import { extname, join, resolve, sep } from 'node:path';
import { pathToFileURL } from 'node:url';

const Types = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.wasm': 'application/wasm',
  '.png': 'image/png',
  '.dat': 'application/octet-stream',
  '.burrowkin-run': 'application/x-burrowkin-run',
};

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
  return { handle, type: Types[extname(file)] || 'application/octet-stream' };
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
    const body = await found.handle.readFile();
    response.writeHead(200, { 'Content-Type': found.type, 'Content-Length': body.length, 'Cache-Control': 'no-cache' });
    response.end(request.method === 'HEAD' ? undefined : body);
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
  return new Promise((done, fail) => {
    server.once('error', fail);
    server.listen(port, '127.0.0.1', () => {
      server.off('error', fail);
      done(server);
    });
  });
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
