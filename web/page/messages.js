// Messages: the game's error box, and problems the page reports.
import { ApplicationTitle, focusGame } from './game.js';
import * as schedule from './schedule.js';

const dialog = document.getElementById('message');
let holds = false;  // the game's own box holds the game, as the window's does; a report does not

export function show(caption, text, holding) {
  document.getElementById('message-caption').textContent = caption;
  document.getElementById('message-text').textContent = text;
  if (holding && !holds) schedule.hold();
  holds = holds || holding;
  if (!dialog.open) dialog.showModal();
  document.getElementById('message-ok').focus();
}

export function report(problem) {
  console.error(`burrowkin: ${problem}`);
  show(ApplicationTitle, problem, false);
}

export function start() {
  dialog.addEventListener('close', () => {
    if (holds) schedule.release();
    holds = false;
    focusGame();
  });
}
