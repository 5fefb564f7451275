// The game's side of the page: the WebAssembly module, the canvas it paints,
// and what the page does with each report of the game's session. Every
// function of the module that steps the game answers with a report (see
// web/module.md); `step` hands it to `act`.
import * as guide from './guide.js';
import * as keys from './keys.js';
import * as messages from './messages.js';
import * as runs from './runs.js';
import * as schedule from './schedule.js';
import * as setup from './setup.js';
import * as sound from './sound.js';

export const Width = 272, Height = 304;
export const ApplicationTitle = 'Korvane Burrowkin';

export let game = null;  // the WebAssembly module, once it is there
const canvas = document.getElementById('screen');
const context = canvas.getContext('2d', { alpha: false });
const frame = context.createImageData(Width, Height);

export function setModule(module) { game = module; }

// Calls a function of the module that takes numbers and answers JSON.
export function call(name, ...numbers) {
  return JSON.parse(game.ccall(name, 'string', numbers.map(() => 'number'), numbers));
}

// A step of the game's session, and what the page does with its report.
export function step(name, ...numbers) {
  return act(call(name, ...numbers));
}

export function paint() {
  const at = game._bk_picture();
  frame.data.set(game.HEAPU8.subarray(at, at + Width * Height * 4));
  context.putImageData(frame, 0, 0);
}

// Browsers let a page sound only after a gesture.
export const startAudio = () => sound.gesture();

// A line for the player under the picture, and on the console.
export function say(line) {
  document.getElementById('line').textContent = line;
  console.log(`burrowkin: ${line}`);
}

export function toggleFullScreen() {
  if (document.fullscreenElement) document.exitFullscreen();
  else if (document.documentElement.requestFullscreen) document.documentElement.requestFullscreen().catch(() => {});
}

export function act(report) {
  // The game's caption, and the game's name for those who read no Japanese.
  if (report.caption) document.title = `${report.caption} — ${ApplicationTitle}`;
  if (report.status) guide.update(report.status);
  // The hidden sequence's beep is the game's own sound, "unlock".
  if (report.toggleSound) sound.toggle();
  if (report.stopMusic) sound.stopMusic();
  for (const index of report.sounds || []) sound.play(index);
  if (report.timer === 'hold') schedule.holdTimer();
  if (report.timer === 'release') schedule.releaseTimer();
  for (const line of report.news || []) say(line);
  if (report.raceStopped) runs.stopped();
  if (report.ended) {
    const at = game._bk_ended_run();
    runs.ended(report.ended, game.HEAPU8.slice(at, at + game._bk_ended_run_size()));
  }
  if (report.fullScreen) toggleFullScreen();
  if (report.picture) paint();
  for (const box of report.messages || []) messages.show(box.caption, box.text, true);
  if (report.openSetup) setup.open();
  if (report.openKeys) keys.open();
  return report;
}

export function focusGame() { canvas.focus(); }
