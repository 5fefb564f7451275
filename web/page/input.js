// Keys, pads and touches: each key event goes to the game as it comes, by
// the key's place on the keyboard whatever its layout; the game's own table
// says which keys are its own. The pad is read once a tick.
import { call, game, startAudio, step } from './game.js';
import * as schedule from './schedule.js';

let codes = {};  // the game's keys: a browser's key code to the game's

function keyDown(event) {
  startAudio();
  touch.hide();
  if (!game || schedule.held()) return;  // an open dialog takes its keys
  const key = codes[event.code];
  if (!key) return;
  const report = step('bk_key', key, 1, event.shiftKey ? 1 : 0, event.repeat ? 1 : 0);
  if (report.keyTaken) event.preventDefault();
}

function keyUp(event) {
  const key = codes[event.code];
  if (game && key) step('bk_key', key, 0, 0, 0);
}

// Keys let go of while the page had no focus are let go of here.
function releaseAll() {
  if (!game) return;
  for (const key of new Set(Object.values(codes))) step('bk_key', key, 0, 0, 0);
}

function axis(value) {
  return Math.max(-32768, Math.min(32767, Math.round(value * 32767)));
}

// The first pad the browser shows us, for the next tick.
export function readPad() {
  const pads = navigator.getGamepads ? Array.from(navigator.getGamepads()) : [];
  const pad = pads.find((p) => p && p.connected);
  if (!pad) {
    game._bk_pad(0, 0, 0, 0, 0);
    return;
  }
  const held = (i) => (pad.buttons[i] && pad.buttons[i].pressed ? 1 : 0);
  const at = (i) => (pad.axes.length > i ? axis(pad.axes[i]) : 0);
  let buttons = 0;
  if (pad.mapping === 'standard') {
    // The d-pad (12 up, 13 down, 14 left, 15 right), then A, B, X, Y.
    [12, 13, 14, 15, 0, 1, 2, 3].forEach((b, bit) => { buttons |= held(b) << bit; });
    game._bk_pad(1, at(0), at(1), 0, buttons);
  } else {
    [0, 1, 2, 3].forEach((b) => { buttons |= held(b) << b; });
    game._bk_pad(2, at(0), at(1), pad.axes.length > 2 ? at(2) : -32768, buttons);
  }
  if (buttons !== 0 || Math.abs(pad.axes[0] || 0) > 0.5 || Math.abs(pad.axes[1] || 0) > 0.5) touch.hide();
}

// The buttons on a touch screen, each pressing a key of the game's table.
const touch = {
  shown: false,
  show() {
    if (this.shown) return;
    this.shown = true;
    document.getElementById('touch').hidden = false;
  },
  hide() {
    if (!this.shown) return;
    this.shown = false;
    document.getElementById('touch').hidden = true;
  },
  init() {
    if (window.matchMedia('(pointer: coarse)').matches) this.show();
    window.addEventListener('touchstart', () => { startAudio(); this.show(); }, { passive: true });
    for (const button of document.getElementById('touch').querySelectorAll('button')) {
      const key = codes[button.dataset.code];
      const up = (event) => { event.preventDefault(); if (game) step('bk_key', key, 0, 0, 0); };
      button.addEventListener('pointerdown', (event) => {
        event.preventDefault();
        startAudio();
        if (game && !schedule.held()) step('bk_key', key, 1, 0, 0);
      });
      button.addEventListener('pointerup', up);
      button.addEventListener('pointercancel', up);
      button.addEventListener('pointerleave', up);
    }
  },
};

export function start() {
  codes = call('bk_key_codes');
  touch.init();
  document.addEventListener('keydown', keyDown);
  document.addEventListener('keyup', keyUp);
  window.addEventListener('blur', releaseAll);
}
