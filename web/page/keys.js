// The keys form: the window's dialog "キー設定" as HTML. Its captions and
// English help are the game's (bk_keys_form), and so is every rule of which
// key may do what: each change goes to the game's draft (bk_keys_bind and the
// rest), which answers the keys as they are now or why it refused.
import { act, call, focusGame, game, say, step } from './game.js';
import * as guide from './guide.js';
import * as input from './input.js';
import { captionInto, glossInto } from './setup.js';
import * as schedule from './schedule.js';

const $ = (id) => document.getElementById(id);
const dialog = $('keys');
const form = $('keys-form');
const line = $('keys-line');
const Kept = 'burrowkin-keys';  // the keys file's words, kept in this browser only when the player asks
const PadButtons = 4;
const pressedHere = new Set();
const accelerators = {};  // a letter or digit to the control it clicks or focuses
let texts = null;         // the form's captions, from the game
let rows = [];            // [{element, keys, add, pad?, toggles?}]: the controls' rows, then the pad's two
let draft = null;         // the game's draft, as its last answer said
let waiting = null;       // the row waiting for the next key or pad button
let padHeld = 0;          // the pad's buttons held at the last look
let padTimer = 0;

function stored() {
  try {
    return localStorage.getItem(Kept);
  } catch {
    return null;  // storage the browser refuses is storage that keeps nothing
  }
}

const mask = (buttons) => buttons.reduce((m, b) => m | (1 << (b - 1)), 0);

function tell(text, problem = false) {
  line.textContent = text;
  line.classList.toggle('problem', problem);
}

function keyButton(text, label, pressed) {
  const button = document.createElement('button');
  button.type = 'button';
  button.className = 'key';
  button.lang = 'en';
  button.textContent = text;
  button.setAttribute('aria-label', label);
  if (pressed !== undefined) button.setAttribute('aria-pressed', String(pressed));
  return button;
}

// The draft as the game answered it; a refusal is said and changed nothing.
function show(answer) {
  draft = answer;
  if (answer.problem) tell(answer.problem, true);
  else if (!waiting) tell('');
  rows.forEach((row, index) => {
    if (row.pad) {
      const on = answer[row.pad === 'select' ? 'padSelect' : 'padUse'];
      row.toggles.forEach((button, b) => button.setAttribute('aria-pressed', String(on.includes(b + 1))));
      return;
    }
    const bound = answer.rows[index].keys.map((key) => {
      const button = keyButton(key.name, `remove ${key.name}`);
      button.title = `${key.name}: click to remove it`;
      button.addEventListener('click', () => {
        const focused = document.activeElement === button;
        show(call('bk_keys_unbind', index, key.code));
        if (focused && !button.isConnected) row.add.focus();
      });
      return button;
    });
    row.keys.replaceChildren(...bound, row.add);
  });
}

function stopWaiting() {
  if (!waiting) return;
  waiting.add.setAttribute('aria-pressed', 'false');
  waiting.element.classList.remove('waiting');
  waiting = null;
  tell('');
}

function wait(row) {
  const again = waiting === row;
  stopWaiting();
  if (again) return;
  waiting = row;
  padHeld = padButtons();  // a button held already is no press
  row.add.setAttribute('aria-pressed', 'true');
  row.element.classList.add('waiting');
  line.classList.remove('problem');
  line.replaceChildren(texts.waiting);
  glossInto(line, texts.waitingGloss);
}

// A pad row's buttons, as masks of buttons 1 to 4: the game says whether they may be.
function setPad(row, buttons) {
  const select = row.pad === 'select' ? buttons : mask(draft.padSelect);
  const use = row.pad === 'use' ? buttons : mask(draft.padUse);
  show(call('bk_keys_pad', select, use));
}

// The pad's buttons held now, bit 0 its first.
function padButtons() {
  const pads = navigator.getGamepads ? Array.from(navigator.getGamepads()) : [];
  const pad = pads.find((p) => p && p.connected);
  let held = 0;
  if (pad) pad.buttons.forEach((button, b) => { if (button.pressed && b < 31) held |= 1 << b; });
  return held;
}

// The pad is looked at while the form is open: a button newly pressed goes
// to the row that waits for one.
function lookAtPad() {
  const held = padButtons();
  const pressed = held & ~padHeld;
  padHeld = held;
  if (!pressed || !waiting || !waiting.pad) return;
  const row = waiting;
  stopWaiting();
  // The game refuses buttons past the fourth.
  setPad(row, mask(draft[row.pad === 'select' ? 'padSelect' : 'padUse']) | (pressed & -pressed));
}

function answer(ok) {
  if (!dialog.open) return;
  stopWaiting();
  clearInterval(padTimer);
  const keep = ok && $('keys-keep').checked;
  dialog.close();
  schedule.release();
  focusGame();
  step('bk_keys_answered', ok ? 1 : 0);
  if (!ok) return;
  if (keep) {
    try {
      localStorage.setItem(Kept, draft.text);
    } catch {
      say('this browser keeps nothing: the keys last until the page closes');
    }
  }
  changed();
}

// The game's keys changed: the line under the picture, "about" and the touch
// buttons follow them.
function changed() {
  input.touchKeys(call('bk_keys').rows);
  guide.start();
}

export function open() {
  schedule.hold();
  pressedHere.clear();
  $('keys-keep').checked = false;
  $('keys-forget').hidden = stored() === null;
  show(call('bk_keys_open'));
  tell('');
  padTimer = setInterval(lookAtPad, 50);
  dialog.showModal();
  $('keys-ok').focus({ preventScroll: true });
  $('keys-rows').scrollTop = 0;
}

// A row for each control, its caption and gloss beside its keys, and the
// pad's two rows with their buttons 1 to 4.
function build() {
  texts = call('bk_keys_form');
  dialog.setAttribute('aria-label', texts.caption);
  form.querySelector('h1').textContent = texts.caption;
  rows = texts.rows.map((defined) => {
    const element = document.createElement('div');
    element.className = 'row';
    element.title = defined.help;
    element.setAttribute('role', 'group');
    const caption = document.createElement('span');
    caption.className = 'caption';
    caption.id = `keys-${defined.name}`;
    captionInto(caption, defined.caption);
    glossInto(caption, defined.gloss);
    element.setAttribute('aria-labelledby', caption.id);
    const bound = document.createElement('span');
    bound.className = 'bound';
    const pad = defined.name.startsWith('pad-') ? defined.name.slice(4) : undefined;
    const what = pad ? 'a button of the pad' : 'a key';
    const add = keyButton('+', `add ${what}`, false);
    add.classList.add('add');
    add.title = `Add ${what}: press it next`;
    bound.append(add);
    element.append(caption, bound);
    $('keys-rows').append(element);
    const row = { element, keys: bound, add, pad };
    if (pad) {
      row.toggles = Array.from({ length: PadButtons }, (_, b) => {
        const toggle = keyButton(String(b + 1), `button ${b + 1}`, false);
        toggle.addEventListener('click', () => setPad(row, mask(draft[pad === 'select' ? 'padSelect' : 'padUse']) ^ (1 << b)));
        return toggle;
      });
      bound.prepend(...row.toggles);
    }
    add.addEventListener('click', () => wait(row));
    const letter = /&(.)/.exec(defined.caption);
    if (letter) {
      accelerators[letter[1].toLowerCase()] = add;
      add.setAttribute('aria-keyshortcuts', `Alt+${letter[1]}`);
    }
    return row;
  });
  for (const button of texts.buttons) {
    const element = $(`keys-${button.name}`);
    const captionPlace = form.querySelector(`[data-caption="${button.name}"]`) || element;
    captionInto(captionPlace, button.caption);
    glossInto(captionPlace, button.gloss);
    (captionPlace.closest('label') || element).title = button.help;
    const letter = /&(.)/.exec(button.caption);
    if (letter) {
      accelerators[letter[1].toLowerCase()] = element;
      element.setAttribute('aria-keyshortcuts', `Alt+${letter[1]}`);
    }
  }
}

// The keys kept in this browser, if the player asked to keep some; keys the
// game does not take leave its own, and a line that says why.
function useKept() {
  const text = stored();
  if (text === null) return;
  const report = JSON.parse(game.ccall('bk_keys_use', 'string', ['string'], [text]));
  if (report.problem) {
    say(report.problem);
    return;
  }
  act(report);
  changed();
}

function keyDown(event) {
  // Escape cancels the whole form, a row that waits too.
  if (event.key === 'Escape') {
    event.preventDefault();
    event.stopPropagation();
    answer(false);
    return;
  }
  // The title opens the form while its key is held: the auto-repeat must
  // not reach the form.
  if (!event.repeat) pressedHere.add(event.code);
  else if (!pressedHere.has(event.code)) {
    event.preventDefault();
    event.stopPropagation();
    return;
  }
  if (waiting && !waiting.pad) {
    // Shift and the like alone are no keys: the key that comes with them is.
    if (/^(Shift|Control|Alt|Meta|OS)/.test(event.code)) return;
    event.preventDefault();
    event.stopPropagation();
    const row = waiting;
    stopWaiting();
    show(call('bk_keys_bind', rows.indexOf(row), input.gameKey(event.code)));
    row.add.focus();
    return;
  }
  // The accelerators, Alt and the underlined letter: a row's "+" takes the
  // focus, a button or the box is clicked.
  if (event.altKey && !event.ctrlKey && !event.metaKey && /^(Key|Digit)/.test(event.code)) {
    const control = accelerators[event.code.replace(/^(Key|Digit)/, '').toLowerCase()];
    if (!control) return;
    event.preventDefault();
    control.focus();
    if (!control.classList.contains('add')) control.click();
    return;
  }
  // Enter is OK but on a button, which it clicks; the game does not see it.
  if (event.key === 'Enter' && event.target.tagName !== 'BUTTON') {
    event.preventDefault();
    event.stopPropagation();
    answer(true);
  }
}

export function start() {
  build();
  dialog.addEventListener('keydown', keyDown, true);
  form.addEventListener('submit', (event) => { event.preventDefault(); answer(true); });
  $('keys-cancel').addEventListener('click', () => answer(false));
  dialog.addEventListener('cancel', (event) => { event.preventDefault(); answer(false); });
  $('keys-defaults').addEventListener('click', () => {
    stopWaiting();
    show(call('bk_keys_defaults'));
  });
  $('keys-forget').addEventListener('click', () => {
    try {
      localStorage.removeItem(Kept);
    } catch {
      // nothing was kept, then
    }
    $('keys-forget').hidden = true;
    $('keys-ok').focus();
    tell('the kept keys are forgotten: the next visit starts with the game\'s own');
  });
  useKept();
}

export const isOpen = () => dialog.open;
