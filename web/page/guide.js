// The line under the picture that says what to do where the game is: the
// keys, or on a touch screen its buttons, and on the title that it takes no
// button while it builds up. The keys' names are the game's (bk_key_help);
// where the game is comes with its reports (their status, web/module.md).
// And the "about" box, which lists every key.
import { call, focusGame } from './game.js';

const $ = (id) => document.getElementById(id);
const TouchNames = {
  up: '▲', down: '▼', left: '◀', right: '▶', select: 'Select', use: 'Use', pause: 'pause', title: 'title', fastForward: 'fast',
};
let help = [];      // the game's help: [{keys, does, role}]
let status = null;  // where the game is, as its last report said

export const watching = () => Boolean(status && status.watching);

// A key by its first name in the help ("Space" of "Space or X"), or its button.
function keyName(role, touch) {
  if (touch) return TouchNames[role];
  const line = help.find((l) => l.role === role);
  return line ? line.keys.split(' or ')[0] : role;
}

// The line as text and keys, each key as [its role]. The touch buttons name
// themselves: pause and title need no word on a touch screen.
function pieces(touch) {
  if (!status) return ['loading the game…'];
  if (status.paused) return ['paused · ', ['pause'], ' goes on'];
  if (status.screen === 'title' && status.quiet) return ['the title builds up… buttons wait till it is whole'];
  if (status.demo) return ['the demonstration · ', ['title'], ' back to the title'];
  if (status.watching) return ['watching a run · hold ', ['fastForward'], ' for four times the speed'];
  if (status.screen === 'title') return ['hold ', ['select'], ' or ', ['use'], ' to open the setup and start'];
  if (status.screen === 'ending') return [['select'], ' or ', ['use'], ' back to the title'];
  const play = [['left'], ' ', ['right'], ' walk · ', ['up'], ' jump · ', ['down'], ' down · ',
    ['select'], ' next item · ', ['use'], ' use it'];
  return touch ? play : play.concat([' · ', ['pause'], ' pause · ', ['title'], ' title']);
}

function show() {
  const touch = !$('touch').hidden;
  const parts = pieces(touch).map((p) => (Array.isArray(p) ? { key: keyName(p[0], touch) } : p));
  const text = parts.map((p) => (p.key ? `[${p.key}]` : p)).join('');
  const hint = $('hint');
  if (hint.dataset.text === text) return;
  hint.dataset.text = text;
  hint.replaceChildren(...parts.map((p) => {
    if (!p.key) return p;
    const key = document.createElement('kbd');
    key.textContent = p.key;
    return key;
  }));
}

// A report's status: the game moved on.
export function update(next) {
  status = next;
  document.body.classList.toggle('watching', status.watching);
  // The whole title, where the keys form opens.
  document.body.classList.toggle('title-whole', status.screen === 'title' && !status.quiet && !status.watching);
  document.querySelector('#touch .pause').setAttribute('aria-pressed', String(status.paused));
  show();
}

export function init() {
  $('about-link').addEventListener('click', (event) => {
    event.preventDefault();
    $('about').showModal();
  });
  $('about').addEventListener('close', focusGame);
  new MutationObserver(show).observe($('touch'), { attributes: true, attributeFilter: ['hidden'] });
}

// The game's help, at the start and again whenever the player's keys change.
export function start() {
  help = call('bk_key_help');
  const table = $('about-keys');
  table.replaceChildren();
  for (const line of help) {
    const row = table.insertRow();
    row.insertCell().textContent = line.keys;
    row.insertCell().textContent = line.does;
  }
  $('hint').title = help.map((line) => `${line.keys}: ${line.does}`).join('\n');
  // Buttons that name their key, "(F11)", name the player's.
  for (const button of document.querySelectorAll('[data-keys]')) {
    const line = help.find((l) => l.role === button.dataset.keys);
    if (!line) continue;
    for (const name of ['title', 'aria-label']) {
      const said = button.getAttribute(name);
      if (said) button.setAttribute(name, said.replace(/\([^()]*\)$/, `(${line.keys.split(' or ')[0]})`));
    }
  }
  show();
}
