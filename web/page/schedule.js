// The schedule: one tick every 50 ms of the browser's clock, never a burst,
// and none while the game holds its timer, a dialog holds the page, or the
// tab is hidden. With ?manual the page ticks only when a test asks.
import { game, step } from './game.js';
import { readPad } from './input.js';

const TickMilliseconds = 50;  // at full speed; a slower game waits longer between ticks
const manual = new URLSearchParams(location.search).has('manual');

let timerRunning = true;  // the game's own timer: held while paused or while the setup form is open
let holding = 0;          // open dialogs that hold the ticks
let next = 0;             // when the next tick is due, on the page's clock
let firstFrameAt = 0;     // when the first tick was painted

export function mayTick() {
  return game && timerRunning && holding === 0 && !document.hidden;
}

// The pace the player chose, percent of 20 ticks a second.
const speed = () => Number(document.getElementById('speed').value);
const interval = () => TickMilliseconds * 100 / speed();

export function tick() {
  readPad();
  step('bk_tick', speed());
  if (!firstFrameAt) firstFrameAt = performance.now();
}

function loop() {
  const now = performance.now();
  if (!mayTick() || manual) {
    next = now + interval();
  } else if (now >= next) {
    tick();
    next += interval();
    // A tab that slept or a slow tick: start the schedule again from now.
    if (now - next > interval()) next = now + interval();
  }
  setTimeout(loop, Math.max(0, next - performance.now()));
}

function resume() { next = performance.now() + interval(); }

export function holdTimer() { timerRunning = false; }

export function releaseTimer() {
  if (!timerRunning) resume();
  timerRunning = true;
}

// A dialog of the page's opens or closes over the game.
export function hold() { holding += 1; }
export function release() {
  holding -= 1;
  if (holding === 0) resume();
}

export const held = () => holding > 0;
export const holdingCount = () => holding;
export const firstFrame = () => firstFrameAt;

export function start() {
  document.addEventListener('visibilitychange', () => { if (!document.hidden) resume(); });
  resume();
  loop();
}
