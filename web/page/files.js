// The game's files in its data folder, /data. The title needs only the tile
// sheet and the sprites, fetched as soon as this module runs, beside the
// game's WebAssembly; the ending pictures, the demonstration's recording and
// the sounds follow once the title is under way.
import { game } from './game.js';
import * as messages from './messages.js';
import * as sound from './sound.js';

export const DataFolder = '/data';
const TitleFiles = ['tilesheet.png', 'sprites.png'];
const Endings = ['ending0.png', 'ending1.png', 'ending2.png'];

async function fetched(file) {
  const response = await fetch(file);
  if (!response.ok) throw new Error(`${file}: the server answered ${response.status} ${response.statusText}`);
  return new Uint8Array(await response.arrayBuffer());
}

const write = (file, bytes) => game.FS.writeFile(`${DataFolder}/${file}`, bytes);
const ready = (name) => game.ccall(name, 'string', [], []);

const titleFiles = TitleFiles.map(fetched);
titleFiles.forEach((p) => p.catch(() => {}));  // waited for in forTitle

// The title's files, in the data folder, once the game's module is there.
export async function forTitle() {
  const bytes = await Promise.all(titleFiles);
  game.FS.mkdir(DataFolder);
  TitleFiles.forEach((file, i) => write(file, bytes[i]));
}

let endingsThere;
// Settled when the endings are the game's, or could not be had: a run handed
// to the game before then could reach its ending without its picture.
export const endings = new Promise((resolve) => { endingsThere = resolve; });

async function loadEndings() {
  try {
    const pictures = await Promise.all(Endings.map(fetched));
    Endings.forEach((file, i) => write(file, pictures[i]));
    const failure = ready('bk_endings_ready');
    if (failure) throw new Error(failure);
  } catch (e) {
    messages.report(`the ending pictures cannot be loaded: ${e.message}`);
  } finally {
    endingsThere();
  }
}

// Read by the game when the demonstration starts, twenty seconds into the
// title; without it the game says so then, as on the desktop.
async function loadReplay() {
  try {
    write('replay.dat', await fetched('replay.dat'));
  } catch (e) {
    console.error(`burrowkin: no demonstration: ${e.message}`);
  }
}

// Without them the game plays silently.
async function loadSounds() {
  try {
    write('sounds.txt', await fetched('sounds.txt'));
    const failure = ready('bk_sounds_ready');
    if (failure) throw new Error(failure);
    sound.loaded();
  } catch (e) {
    console.error(`burrowkin: no sound: ${e.message}`);
  }
}

// What follows the title's start; settled when all of it is in.
export function later() {
  return Promise.all([loadEndings(), loadReplay(), loadSounds()]);
}
