// Runs: the games that end, kept in the browser and offered to download when
// the player asks; run files watched or raced, from a file, a drop or an
// address.
import { act, focusGame, game, paint, say } from './game.js';
import * as messages from './messages.js';
import * as setup from './setup.js';

const $ = (id) => document.getElementById(id);
const KeptRuns = 20;              // the newest runs the browser keeps
const RunFileBytes = 131074;      // a run file's size: a larger file is no run file
let db = null;

function openStore() {
  if (db) return Promise.resolve(db);
  return new Promise((resolve, reject) => {
    const request = indexedDB.open('burrowkin', 1);
    request.onupgradeneeded = () => request.result.createObjectStore('runs', { keyPath: 'name' });
    request.onsuccess = () => { db = request.result; resolve(db); };
    request.onerror = () => reject(request.error);
  });
}

async function all() {
  const store = await openStore();
  return new Promise((resolve, reject) => {
    const request = store.transaction('runs').objectStore('runs').getAll();
    request.onsuccess = () => resolve(request.result.sort((a, b) => b.when - a.when));
    request.onerror = () => reject(request.error);
  });
}

async function change(work) {
  const store = await openStore();
  return new Promise((resolve, reject) => {
    const transaction = store.transaction('runs', 'readwrite');
    work(transaction.objectStore('runs'));
    transaction.oncomplete = resolve;
    transaction.onerror = () => reject(transaction.error);
  });
}

function link(name, bytes) {
  const a = document.createElement('a');
  a.href = URL.createObjectURL(new Blob([bytes], { type: 'application/x-burrowkin-run' }));
  a.download = name;
  a.textContent = name;
  return a;
}

// A game that ended, offered to download.
function offer(name, bytes) {
  const line = $('line');
  for (const old of line.querySelectorAll('a')) URL.revokeObjectURL(old.href);
  line.textContent = 'run kept: ';
  line.append(link(name, bytes));
}

async function keep(name, bytes) {
  offer(name, bytes);
  try {
    const older = (await all()).slice(KeptRuns - 1);
    await change((store) => {
      store.put({ name, bytes, when: Date.now() });
      for (const run of older) store.delete(run.name);
    });
  } catch (e) {
    messages.report(`the run could not be kept in this browser: ${e}`);
  }
}

const listeners = [];

// A game of the player's ended; kept when the player asked.
export function ended(name, bytes) {
  if ($('keep').checked) keep(name, bytes);
  for (const listener of listeners.splice(0)) listener({ name, bytes });
}

// The next run that ends, for whoever waits for it.
export const nextEnded = () => new Promise((resolve) => listeners.push(resolve));

async function show() {
  const list = $('runs-list');
  for (const old of list.querySelectorAll('a')) URL.revokeObjectURL(old.href);
  list.textContent = '';
  let kept = [];
  try {
    kept = await all();
  } catch (e) {
    messages.report(`the runs kept in this browser cannot be read: ${e}`);
  }
  $('runs-empty').hidden = kept.length > 0;
  for (const run of kept) {
    const item = document.createElement('li');
    const button = (text, work) => {
      const b = document.createElement('button');
      b.type = 'button';
      b.textContent = text;
      b.addEventListener('click', work);
      return b;
    };
    const closing = (work) => () => { $('runs').close(); work(); };
    item.append(link(run.name, run.bytes),
      button('watch', closing(() => watch(run.bytes, run.name))),
      button('race', closing(() => race(run.bytes, run.name))),
      button('delete', async () => { await change((store) => store.delete(run.name)); show(); }));
    list.append(item);
  }
  if (!$('runs').open) $('runs').showModal();
}

// Hands a run file's bytes to the game, to watch or to race; a file that is
// no run file is refused with the window's message and changes nothing.
function hand(bytes, name, racing) {
  if (!game || setup.isOpen()) return false;
  const at = game._malloc(bytes.length);
  game.HEAPU8.set(bytes, at);
  const report = JSON.parse(game.ccall('bk_run', 'string', ['number', 'number', 'string', 'number'],
    [at, bytes.length, name, racing ? 1 : 0]));
  game._free(at);
  if (report.problem) messages.report(report.problem);
  else act(report);
  paint();
  focusGame();
  return !report.problem;
}

// Plays the run; the line under the picture offers to race it.
export function watch(bytes, name) {
  if (!hand(bytes, name, false)) return;
  const line = $('line');
  line.textContent = `watching ${name} `;
  const raceIt = document.createElement('button');
  raceIt.type = 'button';
  raceIt.textContent = 'race it';
  raceIt.addEventListener('click', () => race(bytes, name));
  line.append(raceIt);
}

// Every game the title starts from now on races the run, until the race is stopped.
export function race(bytes, name) {
  if (!hand(bytes, name, true)) return;
  const line = $('line');
  line.textContent = `racing ${name}: hold a button on the title to start `;
  const stop = document.createElement('button');
  stop.type = 'button';
  stop.textContent = 'stop racing';
  stop.addEventListener('click', () => {
    act(JSON.parse(game.ccall('bk_stop_race', 'string', [], [])));
    say('no race: games start from the setup again');
    focusGame();
  });
  line.append(stop);
}

// The bytes a run file can have at most, read from a file or an answer.
async function readRun(reader) {
  const chunks = [];
  let size = 0;
  for (;;) {
    const { done, value } = await reader.read();
    if (done) break;
    chunks.push(value);
    size += value.length;
    if (size > RunFileBytes) {
      reader.cancel().catch(() => {});
      break;
    }
  }
  const bytes = new Uint8Array(Math.min(size, RunFileBytes + 1));
  let at = 0;
  for (const chunk of chunks) {
    const part = chunk.subarray(0, bytes.length - at);
    bytes.set(part, at);
    at += part.length;
  }
  return bytes;
}

async function watchFile(file) {
  watch(new Uint8Array(await file.slice(0, RunFileBytes + 1).arrayBuffer()), file.name);
}

export async function atAddress(address, racing) {
  try {
    const response = await fetch(address);
    if (!response.ok) throw new Error(`the server answered ${response.status} ${response.statusText}`);
    const bytes = await readRun(response.body.getReader());
    if (racing) race(bytes, address);
    else watch(bytes, address);
  } catch (e) {
    messages.report(`cannot ${racing ? 'race' : 'watch'} ${address}: ${e.message}`);
  }
}

export function start() {
  $('watch').addEventListener('click', () => $('watch-file').click());
  $('watch-file').addEventListener('change', (event) => {
    const [file] = event.target.files;
    event.target.value = '';
    if (file) watchFile(file);
  });
  $('runs-button').addEventListener('click', () => show());
  $('runs').addEventListener('close', focusGame);
  document.addEventListener('dragover', (event) => event.preventDefault());
  document.addEventListener('drop', (event) => {
    event.preventDefault();
    const [file] = event.dataTransfer.files;
    if (file) watchFile(file);
  });
  // A game in play when the page goes is kept as the window keeps it when it closes.
  window.addEventListener('pagehide', () => {
    if (game) act(JSON.parse(game.ccall('bk_closing', 'string', [], [])));
  });
}
