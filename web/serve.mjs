// A static web server for the browser edition on 127.0.0.1, for trying the
// page and for its tests: node serve.mjs FOLDER [PORT]. Port 0 takes a free one.
// It prints the address to open and serves until it is stopped.
import { createServer } from 'node:http';
import { readFile, stat } from 'node:fs/promises';
import { extname, join, normalize, resolve, sep } from 'node:path';

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

export function serve(folder, port = 0) {
  const root = resolve(folder);
  const server = createServer(async (request, response) => {
    try {
      const path = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
      let file = normalize(join(root, path));
      if (file !== root && !file.startsWith(root + sep)) throw Object.assign(new Error('outside'), { code: 'ENOENT' });
      if ((await stat(file)).isDirectory()) file = join(file, 'index.html');
      const body = await readFile(file);
      response.writeHead(200, { 'Content-Type': Types[extname(file)] || 'application/octet-stream', 'Cache-Control': 'no-cache' });
      response.end(body);
    } catch (e) {
      response.writeHead(e.code === 'ENOENT' || e.code === 'EISDIR' ? 404 : 500, { 'Content-Type': 'text/plain' });
      response.end(e.code === 'ENOENT' ? 'not found\n' : 'cannot be read\n');
    }
  });
  return new Promise((done, fail) => {
    server.once('error', fail);
    server.listen(port, '127.0.0.1', () => done(server));
  });
}

if (import.meta.url === `file://${process.argv[1]}`) {
  const [folder = '.', port = '8216'] = process.argv.slice(2);
  const server = await serve(folder, Number(port));
  console.log(`Korvane Burrowkin is served at http://127.0.0.1:${server.address().port}/ (Ctrl+C stops it)`);
}
