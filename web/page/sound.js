// The game's sounds through Web Audio: the samples the game made from
// sounds.txt soon after the start, played when a report names them.
// Browsers allow sound only after a gesture, so the audio starts with the
// first key, click or touch's end; a hidden tab is silent. Sound on or off,
// the volume and the music are the player's for this visit only: nothing is
// kept.
import { game } from './game.js';

const $ = (id) => document.getElementById(id);
const SampleRate = 44100;
let audio = null;    // the audio context, after the first gesture
let output = null;   // the volume
let sounds = [];     // {name, music, samples} from the game
let buffers = [];    // the same as audio buffers
let playing = [];    // the music under way, to stop
let on = true;
let started = 0;     // sounds played this visit

function makeBuffers() {
  buffers = sounds.map((sound, i) => {
    const buffer = audio.createBuffer(1, Math.max(sound.samples, 1), SampleRate);
    const samples = new Int16Array(game.HEAP16.buffer, game._bk_sound(i), sound.samples);
    const channel = buffer.getChannelData(0);
    for (let k = 0; k < samples.length; ++k) channel[k] = samples[k] / 32768;
    return buffer;
  });
}

// The first gesture starts the audio; later ones wake it after a hidden tab.
export function gesture() {
  try {
    if (!audio) {
      audio = new AudioContext();
      output = audio.createGain();
      output.gain.value = Number($('volume').value) / 100;
      output.connect(audio.destination);
      makeBuffers();
    }
    if (audio.state === 'suspended' && !document.hidden) audio.resume();
  } catch (e) {
    audio = null;  // no Web Audio here: the game plays silently
  }
}

export function play(index) {
  const sound = sounds[index];
  if (!audio || !on || !sound || (sound.music && !$('music').checked)) return;
  if (sound.music) stopMusic();
  const source = audio.createBufferSource();
  source.buffer = buffers[index];
  source.connect(output);
  source.start();
  started += 1;
  if (sound.music) playing.push(source);
}

export function stopMusic() {
  for (const source of playing) source.stop();
  playing = [];
}

function show() {
  $('sound').textContent = on ? 'sound on' : 'sound off';
  $('sound').setAttribute('aria-pressed', String(on));
}

// M or the button: off and on; what was playing stops.
export function toggle() {
  on = !on;
  if (!on) stopMusic();
  show();
}

export const state = () => ({ context: audio ? audio.state : 'none', on, started });

// The game made its sounds (bk_sounds_ready), after the start.
export function loaded() {
  sounds = JSON.parse(game.ccall('bk_sounds', 'string', [], []));
  if (audio) makeBuffers();
}

export function start() {
  show();
  $('sound').addEventListener('click', () => { gesture(); toggle(); });
  $('volume').addEventListener('input', () => { if (output) output.gain.value = Number($('volume').value) / 100; });
  $('music').addEventListener('change', () => { if (!$('music').checked) stopMusic(); });
  for (const event of ['keydown', 'pointerdown', 'touchend']) window.addEventListener(event, gesture, { capture: true });
  document.addEventListener('visibilitychange', () => {
    if (!audio) return;
    if (document.hidden) audio.suspend();
    else audio.resume();
  });
}
