// The setup form: the window's dialog "下準備" as HTML. Its captions, its
// English help, the size presets and the boxes' ranges are the game's
// (bk_setup_form); the page only lays them out.
import { call, focusGame, game, paint, step } from './game.js';
import * as schedule from './schedule.js';

const $ = (id) => document.getElementById(id);
const dialog = $('setup');
const form = $('setup-form');
const boxes = ['speCaveWidth', 'speCaveHeight', 'speSpeedToDeath'];
const pressedHere = new Set();
const accelerators = {};  // a letter to the control it clicks or focuses

// The number a box's text reads as, as the window reads its spin boxes; the
// box shows that number from then on.
function read(box) {
  const value = game.ccall('bk_read_spin', 'number', ['string', 'number', 'number'],
    [box.value, Number(box.dataset.min), Number(box.dataset.max)]);
  box.value = String(value);
  return value;
}

export function open() {
  schedule.hold();
  pressedHere.clear();
  dialog.showModal();
  // Every opening starts on the chosen size, so that Enter starts at once.
  const chosen = form.querySelector('input[name=size]:checked');
  if (chosen) chosen.focus();
}

function answer(ok) {
  if (!dialog.open) return;
  const [width, height, speed] = boxes.map((id) => read($(id)));
  dialog.close();
  schedule.release();
  focusGame();
  step('bk_setup_answered', ok ? 1 : 0, width, height, speed, $('chkBeginner').checked ? 1 : 0);
  paint();
}

// "広い(&L)" as text with its letter underlined.
export function captionInto(element, caption) {
  element.textContent = '';
  const at = caption.indexOf('&');
  if (at < 0) {
    element.append(caption);
    return;
  }
  const letter = document.createElement('u');
  letter.textContent = caption[at + 1];
  element.append(caption.slice(0, at), letter, caption.slice(at + 2));
}

// A caption's English gloss, small beside it.
export function glossInto(element, gloss) {
  const small = document.createElement('span');
  small.className = 'gloss';
  small.lang = 'en';
  small.textContent = gloss;
  element.append(small);
}

// Each control of the game's table: its caption where the form marks it
// (data-caption) with its gloss, its help as its title, its range or preset.
function build() {
  const defined = call('bk_setup_form');
  dialog.setAttribute('aria-label', defined.caption);
  form.querySelector('h1').textContent = defined.caption;
  for (const control of defined.controls) {
    const element = $(control.name);
    const captionPlace = form.querySelector(`[data-caption="${control.name}"]`) || element;
    // A frame's own caption lies under the radio that heads it.
    if (control.caption && (captionPlace !== element || element.children.length === 0)) captionInto(captionPlace, control.caption);
    for (const place of new Set([element, captionPlace])) place.title = control.help;
    if (control.max !== undefined) {
      Object.assign(element.dataset, { min: control.min, max: control.max });
      element.value = String(control.value);
    }
    if (control.preset) element.dataset.preset = control.preset;
    const letter = /&(.)/.exec(control.caption);
    if (letter) {
      const target = element.htmlFor ? $(element.htmlFor) : element;
      accelerators[letter[1].toLowerCase()] = target;
      (element.htmlFor ? element : target).setAttribute('aria-keyshortcuts', `Alt+${letter[1]}`);
    }
    // The custom frame's caption is its radio's, glossed there.
    if (control.caption && control.name !== 'GroupBox2') glossInto(captionPlace, control.gloss);
  }
}

export function start() {
  build();
  for (const radio of form.querySelectorAll('[data-preset]')) {
    const choose = () => {
      $('speCaveWidth').value = radio.dataset.preset;
      $('speCaveHeight').value = radio.dataset.preset;
    };
    radio.addEventListener('click', choose);
    radio.addEventListener('change', choose);
  }
  // The accelerators, Alt and the underlined letter: a choice is clicked,
  // a label's box takes the focus.
  dialog.addEventListener('keydown', (event) => {
    if (!event.altKey || event.ctrlKey || event.metaKey || !event.code.startsWith('Key')) return;
    const control = accelerators[event.code.slice(3).toLowerCase()];
    if (!control) return;
    event.preventDefault();
    if (control.disabled) return;
    control.focus();
    if (control.type === 'radio' || control.type === 'checkbox') control.click();
    else control.select();
  });
  // A click into a size box chooses the custom size.
  for (const id of boxes.slice(0, 2)) $(id).addEventListener('mousedown', () => { $('rbtCaveCustom').checked = true; });
  // The arrows step a box as a spin box steps.
  for (const box of boxes.map($)) {
    box.addEventListener('keydown', (event) => {
      if (event.key !== 'ArrowUp' && event.key !== 'ArrowDown') return;
      event.preventDefault();
      const stepBy = event.key === 'ArrowUp' ? 1 : -1;
      box.value = String(Math.max(Number(box.dataset.min), Math.min(Number(box.dataset.max), read(box) + stepBy)));
    });
  }
  form.addEventListener('submit', (event) => { event.preventDefault(); answer(true); });
  $('btnQuit').addEventListener('click', () => answer(false));
  dialog.addEventListener('cancel', (event) => { event.preventDefault(); answer(false); });
  // The title opens the form while a button key is held: its auto-repeat
  // must neither start at once nor type into a box.
  dialog.addEventListener('keydown', (event) => {
    if (!event.repeat) pressedHere.add(event.code);
    else if (!pressedHere.has(event.code)) {
      event.preventDefault();
      event.stopPropagation();
    }
  }, true);
}

export const isOpen = () => dialog.open;
