// What the page's tests ask of the page: its game's state, ticks on demand
// (with ?manual), the picture, and the runs that end. Only the test build of
// the page loads this module, with a build of the game that has bk_state and
// bk_tick_cost.
import { Height, Width, game } from './game.js';
import * as runs from './runs.js';
import * as schedule from './schedule.js';
import * as sound from './sound.js';

const state = () => JSON.parse(game.ccall('bk_state', 'string', [], []));

window.Burrowkin.test = {
  state,
  tick(n = 1) {
    for (let i = 0; i < n && schedule.mayTick(); ++i) schedule.tick();
  },
  picture() {
    const at = game._bk_picture();
    return Array.from(game.HEAPU8.subarray(at, at + Width * Height * 4));
  },
  paused: () => state().paused,
  firstFrameAt: () => schedule.firstFrame(),
  tickCost: (ticks) => game._bk_tick_cost(ticks),
  memory: () => game.HEAPU8.length,  // the game's linear memory, in bytes
  holding: () => schedule.holdingCount(),
  sound: () => sound.state(),
  // The next run that ends: its name and bytes.
  nextEnded: () => runs.nextEnded().then(({ name, bytes }) => ({ name, bytes: Array.from(bytes) })),
};
