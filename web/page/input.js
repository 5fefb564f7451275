// Keys, pads and touches: each key event goes to the game as it comes, by
// the key's place on the keyboard whatever its layout; the game's own table
// says which keys are its own. The pad is read once a tick.
import { call, game, startAudio, step } from './game.js';
import { watching } from './guide.js';
import * as schedule from './schedule.js';

let codes = {};  // the game's keys: a browser's key code to the game's

// A control of the page's has the focus: its keys are its own.
function onControl() {
  const focused = document.activeElement;
  return Boolean(focused && focused !== document.body && focused.id !== 'screen' && !focused.closest('#touch'));
}

function keyDown(event) {
  startAudio();
  touch.hide();
  if (!game || schedule.held() || onControl()) return;  // an open dialog or a focused control takes its keys
  const key = codes[event.code];
  if (!key) return;
  // Tab is the game's only while a run is watched; else it goes between the page's controls.
  if (event.code === 'Tab' && !watching()) return;
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
// Each finger holds the button it is on: one sliding from a button of the
// d-pad to another presses the new one and lets go of the old, and one
// sliding off its button lets go of it.
const touch = {
  shown: false,
  fingers: new Map(),  // a pointer to the button it holds
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
  send(button, down) {
    button.classList.toggle('held', down);
    if (!game || (down && schedule.held())) return;
    step('bk_key', codes[button.dataset.code], down ? 1 : 0, 'shift' in button.dataset ? 1 : 0, 0);
  },
  hold(pointer, button) {
    const held = this.fingers.get(pointer);
    if (held === button) return;
    if (held) this.send(held, false);
    if (button) this.fingers.set(pointer, button);
    else this.fingers.delete(pointer);
    if (button) this.send(button, true);
  },
  init() {
    if (window.matchMedia('(pointer: coarse)').matches) this.show();
    window.addEventListener('touchstart', () => { startAudio(); this.show(); }, { passive: true });
    const area = document.getElementById('touch');
    for (const group of area.querySelectorAll('.pad, .buttons')) {
      group.addEventListener('pointerdown', (event) => {
        const button = event.target.closest('button');
        if (!button) return;
        event.preventDefault();
        startAudio();
        // A touch is held by its button until it ends; let go, the finger
        // is seen over whatever it slides to.
        if (button.hasPointerCapture(event.pointerId)) button.releasePointerCapture(event.pointerId);
        this.hold(event.pointerId, button);
      });
    }
    window.addEventListener('pointermove', (event) => {
      const held = this.fingers.get(event.pointerId);
      if (!held) return;
      const over = document.elementFromPoint(event.clientX, event.clientY);
      const button = over && over.closest('#touch button');
      const pad = held.closest('.pad');
      if (pad && pad.contains(over)) {
        if (button) this.hold(event.pointerId, button);  // between its buttons the d-pad keeps what it holds
      } else if (button !== held) {
        this.hold(event.pointerId, null);
      }
    });
    for (const end of ['pointerup', 'pointercancel']) {
      window.addEventListener(end, (event) => this.hold(event.pointerId, null));
    }
  },
};

// The game's code of a key by its place on the keyboard, 0 for a key the game does not know.
export const gameKey = (code) => codes[code] || 0;

// The controls of the touch buttons, by their class.
const TouchControls = { fast: 'fast-forward', 'choose-keys': 'keys' };

// The player's keys changed ([{name, keys: [{code}]}], a row a control): each
// touch button presses the first key of its control from now on.
export function touchKeys(rows) {
  for (const button of document.querySelectorAll('#touch button')) {
    const name = TouchControls[button.classList[0]] || button.classList[0];
    const row = rows.find((r) => r.name === name);
    const code = row && Object.keys(codes).find((c) => codes[c] === row.keys[0].code);
    if (code) button.dataset.code = code;
  }
}

export function start() {
  codes = call('bk_key_codes');
  touch.init();
  document.addEventListener('keydown', keyDown);
  document.addEventListener('keyup', keyUp);
  window.addEventListener('blur', releaseAll);
}
