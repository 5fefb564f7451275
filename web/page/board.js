// The daily board, where burrowkin-board serves the page at its own address
// (docs/board.md): today's boards beside the picture, each run on them to
// watch or race, and a game of the day's cave that reached the goal sent to
// the board when the player asks. A page that finds no board there shows
// none of this, and sends nothing.
import { focusGame, game } from './game.js';
import * as runs from './runs.js';

const $ = (id) => document.getElementById(id);
const NameKept = 'burrowkin-board-name';
const NameCharacters = 20;     // the board's bound; it checks the rest
const ReasonCharacters = 300;  // the longest refusal shown
const AnswerWait = 30_000;     // milliseconds a board may take to answer
const Today = '/api/boards/today?limit=10';  // the first places of each board; the board's own page has them all
const RunAddress = /^\/runs\/[0-9]{1,15}\.burrowkin-run$/;
const DayText = /^([0-9]{4})-([0-9]{2})-([0-9]{2})$/;

let today = null;    // the day's boards, as the board last told them
let shown = 0;       // the board of the day the panel shows
let atHand = null;   // the run offered: {name, bytes, header}
let waiting = null;  // a run offered before the board was found

// The board's answer: its status and its JSON, or null where it sent none.
async function ask(path, options = {}) {
  const response = await fetch(path, { cache: 'no-store', ...options, signal: AbortSignal.timeout(AnswerWait) });
  let json = null;
  try {
    json = await response.json();
  } catch (e) {
    // Not JSON: no board's answer.
  }
  return { status: response.status, json };
}

const unreachable = (e) => `cannot reach the board at ${location.origin}: ${
  e.name === 'TimeoutError' ? `no answer within ${AnswerWait / 1000} s` : e.message}`;

const whole = (v, least = 0) => Number.isSafeInteger(v) && v >= least;

class NotUnderstood extends Error {
  constructor() { super('its answer is not a board\'s'); }
}

function check(fits) {
  if (!fits) throw new NotUnderstood();
}

function settingsOf(s) {
  check(s && whole(s.width, 1) && whole(s.height, 1) && whole(s.variant) && typeof s.beginner === 'boolean'
    && whole(s.speed_to_death));
  return { width: s.width, height: s.height, variant: s.variant, beginner: s.beginner, speedToDeath: s.speed_to_death };
}

function entryOf(e) {
  check(e && whole(e.place, 1) && typeof e.name === 'string' && whole(e.ticks) && whole(e.misses)
    && Number.isSafeInteger(e.score) && RunAddress.test(e.run));
  return { place: e.place, name: e.name, ticks: e.ticks, misses: e.misses, score: e.score, run: e.run };
}

function parOf(p) {
  if (p === undefined) return { state: 'off' };
  check(p && ['found', 'searching', 'none', 'off'].includes(p.state));
  const note = typeof p.note === 'string' ? p.note : '';
  if (p.state !== 'found') return { state: p.state, note };
  check(whole(p.ticks) && whole(p.misses) && Number.isSafeInteger(p.score) && RunAddress.test(p.run));
  return { state: 'found', ticks: p.ticks, misses: p.misses, score: p.score, run: p.run, note };
}

// A day's boards as the board's JSON has them, checked: the main board first.
function dayOf(json) {
  check(json && DayText.test(json.day) && whole(json.seed, 1) && Array.isArray(json.boards));
  const boards = json.boards.map((b) => {
    check(b && Array.isArray(b.entries) && whole(b.entries_total));
    return { settings: settingsOf(b.settings), main: b.main === true, par: parOf(b.par),
      total: b.entries_total, entries: b.entries.map(entryOf) };
  });
  check(boards.length > 0 && boards[0].main);
  return { day: json.day, seed: json.seed, boards };
}

// A daily cave's seed is its day in UTC: 20260316.
const seedOf = (date) => date.getUTCFullYear() * 10000 + (date.getUTCMonth() + 1) * 100 + date.getUTCDate();

function yesterdaySeed() {
  const [, year, month, day] = DayText.exec(today.day).map(Number);
  return seedOf(new Date(Date.UTC(year, month - 1, day - 1)));
}

const misses = (n) => `${n} ${n === 1 ? 'miss' : 'misses'}`;
const seconds = (ticks) => `${Math.floor(ticks / 20)}.${String(ticks % 20 * 5).padStart(2, '0')}`;

function ordinal(n) {
  const tens = n % 100, units = n % 10;
  return `${n}${tens >= 11 && tens <= 13 ? 'th' : ['th', 'st', 'nd', 'rd'][units] || 'th'}`;
}

// "100x100", and what sets a board apart from the main one: "50x50, beginner".
function describe(s) {
  const main = today.boards[0].settings;
  let text = `${s.width}x${s.height}`;
  if (s.variant !== main.variant) text += `, character ${s.variant}`;
  if (s.beginner) text += ', beginner';
  if (s.speedToDeath !== main.speedToDeath) text += `, fatal speed ${s.speedToDeath}`;
  return text;
}

function boardOfRun(header) {
  const when = header.seed === today.seed ? 'today\'s' : 'yesterday\'s';
  const [size, ...rest] = describe(header).split(', ');
  return [`${when} ${size} board`, ...rest].join(', ');
}

const sameBoard = (a, b) => a.width === b.width && a.height === b.height && a.variant === b.variant
  && a.beginner === b.beginner && a.speedToDeath === b.speedToDeath;

// A line the board wrote, as one line of printable text.
function oneLine(text) {
  return Array.from(text.replace(/[\p{Cc}\p{Cf}\p{Zl}\p{Zp}]/gu, ' ')).slice(0, ReasonCharacters).join('');
}

function tell(line) {
  $('board-answer').textContent = line;
  if (line) console.log(`burrowkin: board: ${line}`);
}

// What the game reads in a run's header; null for no run file.
function headerOf(bytes) {
  if (!game) return null;
  const at = game._malloc(bytes.length);
  game.HEAPU8.set(bytes, at);
  const header = JSON.parse(game.ccall('bk_run_header', 'string', ['number', 'number'], [at, bytes.length]));
  game._free(at);
  return header.problem ? null : header;
}

// The header of a run the board takes: a game of today's or yesterday's
// daily cave that reached the goal.
function sendable(bytes) {
  if (!today) return null;
  const header = headerOf(bytes);
  return header && header.goal && (header.seed === today.seed || header.seed === yesterdaySeed()) ? header : null;
}

export const canOffer = (bytes) => Boolean(sendable(bytes));

// A run the player may send, in place of the one offered before.
export function offer(name, bytes) {
  if (!today) {
    waiting = { name, bytes };
    return;
  }
  const header = sendable(bytes);
  if (!header) return;
  atHand = { name, bytes, header };
  $('board-run').textContent = `your ${seconds(header.ticks)} s on ${boardOfRun(header)}`;
  $('board-run').title = name;
  $('board-send').hidden = false;
  $('board').scrollTop = 0;
  tell('');
}

function remember() {
  try {
    const name = $('board-name').value.trim();
    if ($('board-remember').checked && name) localStorage.setItem(NameKept, name);
    else if (!$('board-remember').checked) localStorage.removeItem(NameKept);
  } catch (e) {
    // No storage here: the name is for this visit.
  }
}

// Where the run stands: its place, of how many on its board. The panel is
// read again, and turns to that board when it is today's.
async function standing(entry, header) {
  let total = '';
  try {
    let day = await refresh();
    if (!day || day.day !== entry.day) day = dayOf((await ask(`/api/boards/${entry.day}?limit=1`)).json);
    const board = day.boards.find((b) => sameBoard(b.settings, header));
    if (board) total = ` of ${board.total}`;
    if (board && day === today) shown = today.boards.indexOf(board);
  } catch (e) {
    // The place alone, then.
  }
  draw();
  return `${ordinal(entry.place)}${total} on ${boardOfRun(header)}`;
}

async function send(event) {
  event.preventDefault();
  focusGame();
  if (!atHand) return;
  const run = atHand;
  const name = $('board-name').value.trim();
  const length = Array.from(name).length;
  if (length < 1 || length > NameCharacters) {
    tell(`a name on the board has 1 to ${NameCharacters} characters${length ? `, not ${length}` : ''}`);
    return;
  }
  remember();
  const button = $('board-send-button');
  button.disabled = true;
  tell('sending…');
  try {
    const { status, json } = await ask(`/api/runs?name=${encodeURIComponent(name)}`, {
      method: 'POST', body: run.bytes, headers: { 'Content-Type': 'application/octet-stream' },
    });
    if ((status === 200 || status === 201) && json && whole(json.place, 1) && DayText.test(json.day)) {
      if (atHand === run) {
        atHand = null;
        $('board-send').hidden = true;
      }
      const where = await standing(json, run.header);
      tell(json.on_board === false ? `your earlier run stays ${where}: this one is no better` : where);
    } else if (json && typeof json.error === 'string') {
      tell(`refused: ${oneLine(json.error)}`);
    } else {
      tell(`what answers at ${location.origin} is no board (HTTP ${status})`);
    }
  } catch (e) {
    tell(unreachable(e));
  } finally {
    button.disabled = false;
  }
}

// A link to watch or race a run of the board's, which the page takes as its
// ?watch= or ?race= address would, without leaving.
function runLink(text, address, racing, whose) {
  const a = document.createElement('a');
  a.href = `/?${racing ? 'race' : 'watch'}=${address}`;
  a.textContent = text;
  a.addEventListener('click', (event) => {
    event.preventDefault();
    runs.atAddress(address, racing, whose);
  });
  return a;
}

function parLine(par) {
  const line = $('board-par');
  line.textContent = '';
  line.title = '';
  line.hidden = par.state === 'off';
  if (par.state === 'searching') line.textContent = 'par: the automatic player is still searching';
  if (par.state === 'none') line.textContent = `par: none (${oneLine(par.note)})`;
  if (par.state !== 'found') return;
  line.append(`par: ${seconds(par.ticks)} s, ${misses(par.misses)}, score ${par.score} · `,
    runLink('watch', par.run, false, 'the par'), ' · ', runLink('race', par.run, true, 'the par'));
  line.title = `the automatic player's run, apart from the ranking: ${par.note}`;
}

function cell(row, text, name) {
  const td = row.insertCell();
  td.className = name;
  td.textContent = text;
  return td;
}

function draw() {
  const boards = today.boards;
  shown = Math.max(0, Math.min(shown, boards.length - 1));
  const board = boards[shown];
  $('board-day').textContent = today.day;
  $('board-page').href = `/days/${today.day}`;
  const choices = $('board-choices');
  choices.replaceChildren(...(boards.length < 2 ? [] : boards.map((b, i) => {
    const choice = document.createElement('button');
    choice.type = 'button';
    choice.textContent = `${describe(b.settings)} (${b.total})`;
    choice.setAttribute('aria-pressed', String(i === shown));
    choice.addEventListener('click', (event) => {
      shown = i;
      draw();
      if (event.detail > 0) focusGame();
    });
    return choice;
  })));
  $('board-which').textContent = `${describe(board.settings)}${board.main ? ', the main board' : ''}`;
  parLine(board.par);
  const rows = $('board-entries').tBodies[0];
  rows.replaceChildren();
  for (const e of board.entries) {
    const row = rows.insertRow();
    cell(row, String(e.place), 'place');
    cell(row, e.name, 'name').title = e.name;
    cell(row, seconds(e.ticks), 'time');
    cell(row, String(e.misses), 'misses');
    cell(row, String(e.score), 'score');
    const whose = `${e.name}'s run`;
    cell(row, '', 'links').append(runLink('watch', e.run, false, whose), ' ', runLink('race', e.run, true, whose));
  }
  $('board-entries').hidden = board.entries.length === 0;
  const more = board.total - board.entries.length;
  const line = $('board-more');
  line.textContent = board.total === 0 ? 'no runs yet' : '';
  if (more > 0) line.append(Object.assign(document.createElement('a'), { href: `/days/${today.day}`, target: '_blank', rel: 'noopener', textContent: `and ${more} more` }));
}

// Today's boards again; null, and the reason told, where they cannot be had.
async function refresh() {
  try {
    const { status, json } = await ask(Today);
    if (status !== 200) throw new NotUnderstood();
    const was = today.boards[shown].settings;
    today = dayOf(json);
    shown = Math.max(0, today.boards.findIndex((b) => sameBoard(b.settings, was)));
    draw();
    return today;
  } catch (e) {
    tell(e instanceof NotUnderstood ? `the board cannot be read: ${e.message}` : unreachable(e));
    return null;
  }
}

// The board at the page's own address, if there is one.
export async function start() {
  try {
    // Only burrowkin-board says it is there; any other server is not asked.
    const here = await fetch(location.pathname, { method: 'HEAD', cache: 'no-store', signal: AbortSignal.timeout(AnswerWait) });
    if (!here.headers.has('Burrowkin-Board')) return;
    const { status, json } = await ask(Today);
    if (status !== 200) return;
    today = dayOf(json);
  } catch (e) {
    return;  // no board here, or none that answers as one
  }
  try {
    const name = localStorage.getItem(NameKept);
    if (name) {
      $('board-name').value = name;
      $('board-remember').checked = true;
    }
  } catch (e) {
    // No storage: nothing was remembered.
  }
  $('board-send').addEventListener('submit', send);
  $('board-remember').addEventListener('change', remember);
  $('board-refresh').addEventListener('click', (event) => {
    refresh();
    if (event.detail > 0) focusGame();
  });
  $('board-remember').addEventListener('click', (event) => { if (event.detail > 0) focusGame(); });
  $('board').hidden = false;
  draw();
  if (waiting) offer(waiting.name, waiting.bytes);
  waiting = null;
}
