// Korvane Burrowkin in the browser: the start of the page. The game comes as
// WebAssembly (burrowkin.js); the modules beside this one each keep a part of
// the page: the schedule, the keys and pads, the setup form, the messages
// and the runs.
import { focusGame, game, say, setModule, startAudio, toggleFullScreen, Width, Height } from './game.js';
import * as input from './input.js';
import * as messages from './messages.js';
import * as runs from './runs.js';
import * as schedule from './schedule.js';
import * as setup from './setup.js';
import * as sound from './sound.js';

const $ = (id) => document.getElementById(id);
const DataFiles = ['tilesheet.png', 'sprites.png', 'ending0.png', 'ending1.png', 'ending2.png', 'replay.dat', 'sounds.txt'];
const params = new URLSearchParams(location.search);

// The largest whole scale that fits, in the screen's own pixels.
function fit() {
  const ratio = window.devicePixelRatio || 1;
  const room = $('stage').getBoundingClientRect();
  const scale = Math.max(1, Math.floor(Math.min(room.width * ratio / Width, room.height * ratio / Height)));
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

async function start() {
  setModule(await createBurrowkin({ locateFile: (file) => file }));
  game.FS.mkdir('/data');
  await Promise.all(DataFiles.map(async (file) => {
    const response = await fetch(file);
    // Without replay.dat the demonstration says so when it is due, as on the desktop.
    if (!response.ok) {
      if (file === 'replay.dat' || file === 'sounds.txt') return;
      throw new Error(`${file}: the server answered ${response.status} ${response.statusText}`);
    }
    game.FS.writeFile(`/data/${file}`, new Uint8Array(await response.arrayBuffer()));
  }));
  const { seed, problem } = addressChoices();
  const failure = game.ccall('bk_start', 'string', ['number', 'number'], [seed === undefined ? 0 : 1, seed || 0]);
  if (failure) throw new Error(failure);
  setup.start();
  input.start();
  sound.start();
  if (problem) messages.report(problem);
  if (seed !== undefined) say(`every cave from seed ${seed}`);
  schedule.start();
  if (!problem && params.has('watch')) runs.atAddress(params.get('watch'), false);
  if (!problem && params.has('race')) runs.atAddress(params.get('race'), true);
  focusGame();
}

function init() {
  messages.start();
  runs.start();
  fit();
  window.addEventListener('resize', fit);
  document.addEventListener('fullscreenchange', () => {
    document.body.classList.toggle('full', Boolean(document.fullscreenElement));
    fit();
  });
  $('screen').addEventListener('pointerdown', () => { startAudio(); focusGame(); });
  $('full').addEventListener('click', toggleFullScreen);
  for (const control of $('bar').querySelectorAll('button, input')) control.addEventListener('click', focusGame);

  window.Burrowkin = {
    ready: start().catch((e) => {
      document.body.textContent = `Korvane Burrowkin cannot start: ${e.message}`;
      document.body.style.color = '#ccc';
      throw e;
    }),
  };
}

init();
