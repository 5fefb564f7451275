// Korvane Burrowkin in the browser: the start of the page. The game comes as
// WebAssembly (burrowkin.js); the modules beside this one each keep a part of
// the page: the game's files, the schedule, the keys and pads, the setup
// form, the keys form, the messages, the runs, the sound, the line that says
// what to do and the daily board.
import * as board from './board.js';
import * as files from './files.js';
import { focusGame, game, say, setModule, startAudio, toggleFullScreen, Width, Height } from './game.js';
import * as guide from './guide.js';
import * as input from './input.js';
import * as keys from './keys.js';
import * as messages from './messages.js';
import * as runs from './runs.js';
import * as schedule from './schedule.js';
import * as setup from './setup.js';
import * as sound from './sound.js';

const $ = (id) => document.getElementById(id);
const params = new URLSearchParams(location.search);

// The largest whole scale that fits beside the line under the picture, in the
// screen's own pixels; below the picture's own size, whatever fits.
function fit() {
  const ratio = window.devicePixelRatio || 1;
  const room = $('view').getBoundingClientRect();
  const hint = $('hint');
  const height = room.height - hint.offsetHeight - parseFloat(getComputedStyle(hint).marginTop);
  const most = Math.min(room.width * ratio / Width, height * ratio / Height);
  const scale = most >= 1 ? Math.floor(most) : Math.max(most, 0.1);
  const canvas = $('screen');
  canvas.style.width = `${Width * scale / ratio}px`;
  canvas.style.height = `${Height * scale / ratio}px`;
}

// ?seed=N, ?daily, ?watch=URL and ?race=URL mean what --seed, --daily,
// --watch and --race mean to the window, by the game's rules.
function addressChoices() {
  return JSON.parse(game.ccall('bk_address_choices', 'string', ['string', 'number', 'number', 'number'],
    [params.has('seed') ? params.get('seed') : null, params.has('daily') ? 1 : 0,
      params.has('watch') ? 1 : 0, params.has('race') ? 1 : 0]));
}

// The game's module, from the WebAssembly that index.html began to compile.
function gameModule() {
  const options = { locateFile: (file) => file };
  if (!window.burrowkinWasm) return createBurrowkin(options);
  return new Promise((resolve, reject) => {
    options.instantiateWasm = (imports, receive) => {
      window.burrowkinWasm.then((compiled) => WebAssembly.instantiate(compiled, imports))
        .then((instance) => receive(instance), reject);
      return {};
    };
    createBurrowkin(options).then(resolve, reject);
  });
}

async function start() {
  setModule(await gameModule());
  await files.forTitle();
  const { seed, problem } = addressChoices();
  const failure = game.ccall('bk_start', 'string', ['number', 'number'], [seed === undefined ? 0 : 1, seed || 0]);
  if (failure) throw new Error(failure);
  setup.start();
  input.start();
  sound.start();
  guide.start();
  if (problem) messages.report(problem);
  if (seed !== undefined) say(`every cave from seed ${seed}`);
  keys.start();
  schedule.start();
  if (!problem && params.has('watch')) runs.atAddress(params.get('watch'), false);
  if (!problem && params.has('race')) runs.atAddress(params.get('race'), true);
  focusGame();
}

// Once the page is whole, its files are kept for the next visit, which then
// needs no network (sw.js).
function keepForNextVisit() {
  if ('serviceWorker' in navigator) navigator.serviceWorker.register('sw.js').catch(() => {});
}

function init() {
  messages.start();
  runs.start();
  guide.init();
  fit();
  new ResizeObserver(fit).observe($('view'));
  window.addEventListener('resize', fit);  // the screen's pixels per CSS pixel may change too
  document.addEventListener('fullscreenchange', () => {
    document.body.classList.toggle('full', Boolean(document.fullscreenElement));
  });
  $('screen').addEventListener('pointerdown', () => { startAudio(); focusGame(); });
  $('full').addEventListener('click', toggleFullScreen);
  // A click's pointer gives the keys back to the game; a key that clicked
  // leaves the focus where it is, for the next key.
  for (const control of $('bar').querySelectorAll('button, input')) {
    control.addEventListener('click', (event) => { if (event.detail > 0) focusGame(); });
  }

  const ready = start();
  const loaded = ready.then(files.later).then(keepForNextVisit);
  loaded.then(board.start, () => {});  // after the game's own files: the board is no part of the title
  loaded.catch(() => {});  // a page that cannot start says so in ready
  window.Burrowkin = {
    ready: ready.catch((e) => {
      document.body.textContent = `Korvane Burrowkin cannot start: ${e.message}`;
      document.body.style.color = '#ccc';
      throw e;
    }),
    loaded,
  };
}

init();
