// Runs: the games that end, kept in the browser and offered to download when
// the player asks; run files watched or raced, from a file, a drop or an
// address.
import * as board from './board.js';
import * as files from './files.js';
import { act, focusGame, game, paint, say } from './game.js';
import * as keys from './keys.js';
import * as messages from './messages.js';
import * as setup from './setup.js';

const $ = (id) => document.getElementById(id);
const KeptRuns = 20;              // the newest runs the browser keeps
const RunFileBytes = 131074;      // a run file's size: a larger file is no run file
const KeepChoice = 'burrowkin-keep-runs';
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

// The run and the pruning of the oldest go in one transaction, begun at
// once: a page that is going away still keeps its last run.
function keep(name, bytes) {
  offer(name, bytes);
  const failed = (e) => messages.report(`the run could not be kept in this browser: ${e}`);
  const write = (store) => {
    const transaction = store.transaction('runs', 'readwrite');
    const kept = transaction.objectStore('runs');
    kept.put({ name, bytes, when: Date.now() });
    const every = kept.getAll();
    every.onsuccess = () => {
      for (const run of every.result.sort((a, b) => b.when - a.when).slice(KeptRuns)) kept.delete(run.name);
    };
    transaction.onerror = () => failed(transaction.error);
  };
  if (db) write(db);
  else openStore().then(write, failed);
}

// A page that is going away cannot count on the browser's database to finish
// a write: the last run waits in the synchronous storage until the next visit.
const LeftBehind = 'burrowkin-run-left-behind';
let leaving = false;

function leaveBehind(name, bytes) {
  let text = '';
  for (let i = 0; i < bytes.length; i += 8192) text += String.fromCharCode(...bytes.subarray(i, i + 8192));
  try {
    localStorage.setItem(LeftBehind, JSON.stringify({ name, data: btoa(text) }));
  } catch (e) {
    // No room: the database's write may still get through.
  }
}

function keepLeftBehind() {
  const left = localStorage.getItem(LeftBehind);
  if (!left) return;
  localStorage.removeItem(LeftBehind);
  try {
    const { name, data } = JSON.parse(left);
    keep(name, Uint8Array.from(atob(data), (c) => c.charCodeAt(0)));
  } catch (e) {
    messages.report(`a run left behind in this browser cannot be read: ${e}`);
  }
}

const listeners = [];

// A game of the player's ended; kept when the player asked.
export function ended(name, bytes) {
  if ($('keep').checked) {
    if (leaving) leaveBehind(name, bytes);
    keep(name, bytes);
  }
  board.offer(name, bytes);
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
      button('race', closing(() => race(run.bytes, run.name))));
    if (board.canOffer(run.bytes)) item.append(button('to the board', closing(() => board.offer(run.name, run.bytes))));
    item.append(button('delete', async () => { await change((store) => store.delete(run.name)); show(); }));
    list.append(item);
  }
  if (!$('runs').open) $('runs').showModal();
}

// Hands a run file's bytes to the game, to watch or to race; a file that is
// no run file is refused with the window's message and changes nothing.
function hand(bytes, name, racing) {
  if (!game || setup.isOpen() || keys.isOpen()) return false;
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

// Plays the run; the line under the picture offers to race it. False for a
// run the game refused.
export async function watch(bytes, name) {
  await files.endings;
  if (!hand(bytes, name, false)) return false;
  const line = $('line');
  line.textContent = `watching ${name} `;
  const raceIt = document.createElement('button');
  raceIt.type = 'button';
  raceIt.textContent = 'race it';
  raceIt.addEventListener('click', () => race(bytes, name));
  line.append(raceIt);
  return true;
}

// Every game the title starts from now on races the run, until the race is stopped.
export async function race(bytes, name) {
  await files.endings;
  if (!hand(bytes, name, true)) return;
  say(`racing ${name}: hold a button on the title to start`);
  $('stop-race').hidden = false;
}

function stopRace() {
  act(JSON.parse(game.ccall('bk_stop_race', 'string', [], [])));
  focusGame();
}

// The race was stopped, by the button or by its key.
export function stopped() { $('stop-race').hidden = true; }

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

// A run of the player's own, opened or dropped: the board may take it.
async function watchFile(file) {
  const bytes = new Uint8Array(await file.slice(0, RunFileBytes + 1).arrayBuffer());
  if (await watch(bytes, file.name)) board.offer(file.name, bytes);
}

// The run at the address, named `name` on the page.
export async function atAddress(address, racing, name = address) {
  try {
    const response = await fetch(address);
    if (!response.ok) throw new Error(`the server answered ${response.status} ${response.statusText}`);
    const bytes = await readRun(response.body.getReader());
    if (racing) await race(bytes, name);
    else await watch(bytes, name);
  } catch (e) {
    messages.report(`cannot ${racing ? 'race' : 'watch'} ${name}: ${e.message}`);
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
  $('stop-race').addEventListener('click', stopRace);
  // The player's choice to keep runs is kept too, until it is taken back.
  try {
    if (localStorage.getItem(KeepChoice)) $('keep').checked = true;
  } catch (e) {
    // No storage here: the choice is for this visit.
  }
  if ($('keep').checked) openStore().catch(() => {});
  $('keep').addEventListener('change', () => {
    try {
      if ($('keep').checked) localStorage.setItem(KeepChoice, 'yes');
      else localStorage.removeItem(KeepChoice);
    } catch (e) {
      // As above.
    }
    if ($('keep').checked) openStore().catch(() => {});
  });
  $('runs').addEventListener('close', focusGame);
  document.addEventListener('dragover', (event) => event.preventDefault());
  document.addEventListener('drop', (event) => {
    event.preventDefault();
    const [file] = event.dataTransfer.files;
    if (file) watchFile(file);
  });
  // A game in play when the page goes is kept as the window keeps it when it closes.
  window.addEventListener('pagehide', () => {
    leaving = true;
    if (game) act(JSON.parse(game.ccall('bk_closing', 'string', [], [])));
  });
  keepLeftBehind();
}
