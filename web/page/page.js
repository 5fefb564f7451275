// Korvane Burrowkin in the browser: the page around the game. It keeps the
// 50 ms schedule, turns keys, pads and touches into the game's input, shows
// the setup form and the messages, and keeps, offers and plays run files.
'use strict';

(() => {
  const Width = 272, Height = 304;
  const TickMilliseconds = 50;
  const PausedSuffix = '（一時停止）';
  const ApplicationTitle = 'Korvane Burrowkin';
  const DataFiles = ['tilesheet.png', 'sprites.png', 'ending0.png', 'ending1.png', 'ending2.png', 'replay.dat'];
  const KeptRuns = 20;  // the newest runs the browser keeps
  // The game's keys by the key's place on the keyboard, whatever its layout:
  // the virtual key codes of the classic desktop.
  const VirtualKeys = {
    ArrowUp: 38, ArrowDown: 40, ArrowLeft: 37, ArrowRight: 39,
    Space: 32, KeyX: 88, Enter: 13, NumpadEnter: 13, KeyZ: 90, F2: 113, F3: 114,
  };
  const FastForwardKey = 'Tab';

  const $ = (id) => document.getElementById(id);
  const canvas = $('screen');
  const context = canvas.getContext('2d', { alpha: false });
  const frame = context.createImageData(Width, Height);
  const params = new URLSearchParams(location.search);
  const manual = params.has('manual');  // ticks only when a test asks

  let game = null;           // the WebAssembly module
  let timerRunning = true;   // the game's own timer: stopped while it asks for the setup
  let paused = false;        // F3
  let holding = 0;           // open dialogs that hold the ticks
  let caption = document.title;
  let next = 0;              // when the next tick is due, on the page's clock

  // ---- The schedule: one tick every 50 ms of the browser's clock, never a burst.

  function mayTick() {
    return game && timerRunning && !paused && holding === 0 && !document.hidden;
  }

  function loop() {
    const now = performance.now();
    if (!mayTick() || manual) {
      next = now + TickMilliseconds;
    } else if (now >= next) {
      tick();
      next += TickMilliseconds;
      // A tab that slept or a slow tick: start the schedule again from now.
      if (now - next > TickMilliseconds) next = now + TickMilliseconds;
    }
    setTimeout(loop, Math.max(0, next - performance.now()));
  }

  let firstFrameAt = 0;  // when the first tick was painted, on the page's clock

  function tick() {
    readPad();
    game._bk_tick();
    paint();
    if (!firstFrameAt) firstFrameAt = performance.now();
  }

  function paint() {
    const at = game._bk_picture();
    frame.data.set(game.HEAPU8.subarray(at, at + Width * Height * 4));
    context.putImageData(frame, 0, 0);
  }

  // The largest whole scale that fits, in the screen's own pixels.
  function fit() {
    const ratio = window.devicePixelRatio || 1;
    const room = $('stage').getBoundingClientRect();
    const scale = Math.max(1, Math.floor(Math.min(room.width * ratio / Width, room.height * ratio / Height)));
    canvas.style.width = `${Width * scale / ratio}px`;
    canvas.style.height = `${Height * scale / ratio}px`;
  }

  function resumeSchedule() {
    next = performance.now() + TickMilliseconds;
  }

  // ---- The shell's side in the page, called by the game.

  let audio = null;

  function startAudio() {
    try {
      if (!audio) audio = new AudioContext();
      else if (audio.state === 'suspended') audio.resume();
    } catch (e) {
      audio = null;
    }
  }

  const shell = {
    setCaption(text) {
      caption = text;
      document.title = paused ? caption + PausedSuffix : caption;
    },
    beep() {
      if (!audio) return;
      const tone = audio.createOscillator(), volume = audio.createGain();
      tone.type = 'square';
      tone.frequency.value = 880;
      volume.gain.value = 0.08;
      tone.connect(volume).connect(audio.destination);
      tone.start();
      tone.stop(audio.currentTime + 0.12);
    },
    setTimer(running) {
      if (running && !timerRunning) resumeSchedule();
      timerRunning = running;
    },
    openSetup() { setup.open(); },
    showMessage(captionText, text) { message.show(captionText, text, true); },
    gameStarted(line) {
      $('line').textContent = line;
      console.log(`burrowkin: ${line}`);
    },
    gameEnded(bytes, name) {
      if (!$('keep').checked) return;
      runs.keep(name, bytes);
    },
    raceNews(line) {
      $('line').textContent = line;
      console.log(`burrowkin: ${line}`);
    },
  };

  // ---- Keys, pads and touches.

  function keyDown(event) {
    startAudio();
    touch.hide();
    if (!game || holding > 0) return;  // the open dialog takes its keys
    if (event.code === 'F11') {
      event.preventDefault();
      if (!event.repeat) toggleFullScreen();
      return;
    }
    if (event.code === FastForwardKey) {
      event.preventDefault();
      game._bk_fast_forward(1);
      return;
    }
    const key = VirtualKeys[event.code];
    if (!key) return;
    event.preventDefault();
    // An auto-repeated F3 switches the pause again, as on the desktop.
    if (game._bk_key_down(key, event.shiftKey ? 1 : 0)) togglePause();
  }

  function keyUp(event) {
    if (!game) return;
    if (event.code === FastForwardKey) game._bk_fast_forward(0);
    const key = VirtualKeys[event.code];
    if (key) game._bk_key_up(key);
  }

  // Keys let go of while the page had no focus are let go of here.
  function releaseAll() {
    if (!game) return;
    for (const key of new Set(Object.values(VirtualKeys))) game._bk_key_up(key);
    game._bk_fast_forward(0);
  }

  function togglePause() {
    paused = !paused;
    if (paused) {
      document.title = caption + PausedSuffix;
      game._bk_show_pause();
      paint();
    } else {
      document.title = caption;
      resumeSchedule();
    }
  }

  function axis(value) {
    return Math.max(-32768, Math.min(32767, Math.round(value * 32767)));
  }

  // The first pad the browser shows us, read once a tick.
  function readPad() {
    const pads = navigator.getGamepads ? Array.from(navigator.getGamepads()) : [];
    const pad = pads.find((p) => p && p.connected);
    if (!pad) {
      game._bk_pad(0, 0, 0, 0, 0);
      return;
    }
    const held = (i) => (pad.buttons[i] && pad.buttons[i].pressed ? 1 : 0);
    const at = (i) => (pad.axes.length > i ? axis(pad.axes[i]) : 0);
    let buttons = 0;
    if (pad.mapping === 'standard') {
      // The d-pad (12 up, 13 down, 14 left, 15 right), then A, B, X, Y.
      [12, 13, 14, 15, 0, 1, 2, 3].forEach((b, bit) => { buttons |= held(b) << bit; });
      game._bk_pad(1, at(0), at(1), 0, buttons);
    } else {
      [0, 1, 2, 3].forEach((b) => { buttons |= held(b) << b; });
      game._bk_pad(2, at(0), at(1), pad.axes.length > 2 ? at(2) : -32768, buttons);
    }
    if (buttons !== 0 || Math.abs(pad.axes[0] || 0) > 0.5 || Math.abs(pad.axes[1] || 0) > 0.5) touch.hide();
  }

  const touch = {
    shown: false,
    show() {
      if (this.shown) return;
      this.shown = true;
      $('touch').hidden = false;
    },
    hide() {
      if (!this.shown) return;
      this.shown = false;
      $('touch').hidden = true;
    },
    init() {
      if (window.matchMedia('(pointer: coarse)').matches) this.show();
      window.addEventListener('touchstart', () => { startAudio(); this.show(); }, { passive: true });
      for (const button of $('touch').querySelectorAll('button')) {
        const key = Number(button.dataset.key);
        const up = (event) => { event.preventDefault(); if (game) game._bk_key_up(key); };
        button.addEventListener('pointerdown', (event) => {
          event.preventDefault();
          startAudio();
          if (game && holding === 0) game._bk_key_down(key, 0);
        });
        button.addEventListener('pointerup', up);
        button.addEventListener('pointercancel', up);
        button.addEventListener('pointerleave', up);
      }
    },
  };

  function toggleFullScreen() {
    if (document.fullscreenElement) document.exitFullscreen();
    else if (document.documentElement.requestFullscreen) document.documentElement.requestFullscreen().catch(() => {});
  }

  // ---- The setup form: the window's dialog "下準備" as HTML.

  const setup = {
    dialog: $('setup'),
    form: $('setup-form'),
    boxes: [$('speCaveWidth'), $('speCaveHeight'), $('speSpeedToDeath')],
    pressedHere: new Set(),

    // The number a box's text reads as, as the window reads its spin boxes;
    // the box shows that number from then on.
    read(box) {
      const value = game.ccall('bk_read_spin', 'number', ['string', 'number', 'number'],
        [box.value, Number(box.dataset.min), Number(box.dataset.max)]);
      box.value = String(value);
      return value;
    },

    open() {
      holding += 1;
      this.pressedHere.clear();
      this.dialog.showModal();
      // Every opening starts on the chosen size, so that Enter starts at once.
      const chosen = this.form.querySelector('input[name=size]:checked');
      if (chosen) chosen.focus();
    },

    answer(ok) {
      if (!this.dialog.open) return;
      const [width, height, speed] = this.boxes.map((box) => this.read(box));
      this.dialog.close();
      holding -= 1;
      canvas.focus();
      game._bk_setup_answered(ok ? 1 : 0, width, height, speed, $('chkBeginner').checked ? 1 : 0);
      paint();
    },

    init() {
      const presets = { rbtCaveLarge: 216, rbtCaveMedium: 100, rbtCaveSmall: 50, rbtCaveMinimum: 1 };
      for (const [id, size] of Object.entries(presets)) {
        const choose = () => {
          this.boxes[0].value = String(size);
          this.boxes[1].value = String(size);
        };
        $(id).addEventListener('click', choose);
        $(id).addEventListener('change', choose);
      }
      // The accelerators, Alt and the underlined letter: a choice is clicked,
      // a label's box takes the focus.
      const accelerators = {
        l: 'rbtCaveLarge', m: 'rbtCaveMedium', s: 'rbtCaveSmall', n: 'rbtCaveMinimum', c: 'rbtCaveCustom',
        w: 'speCaveWidth', h: 'speCaveHeight', d: 'speSpeedToDeath', b: 'chkBeginner', p: 'CheckBox1',
      };
      this.dialog.addEventListener('keydown', (event) => {
        if (!event.altKey || event.ctrlKey || event.metaKey || !event.code.startsWith('Key')) return;
        const control = $(accelerators[event.code.slice(3).toLowerCase()] || '');
        if (!control) return;
        event.preventDefault();
        if (control.disabled) return;
        control.focus();
        if (control.type === 'radio' || control.type === 'checkbox') control.click();
        else control.select();
      });
      // A click into a size box chooses the custom size.
      for (const box of this.boxes.slice(0, 2)) box.addEventListener('mousedown', () => { $('rbtCaveCustom').checked = true; });
      // The arrows step a box as a spin box steps.
      for (const box of this.boxes) {
        box.addEventListener('keydown', (event) => {
          if (event.key !== 'ArrowUp' && event.key !== 'ArrowDown') return;
          event.preventDefault();
          const step = event.key === 'ArrowUp' ? 1 : -1;
          const value = Math.max(Number(box.dataset.min), Math.min(Number(box.dataset.max), this.read(box) + step));
          box.value = String(value);
        });
      }
      this.form.addEventListener('submit', (event) => { event.preventDefault(); this.answer(true); });
      $('btnQuit').addEventListener('click', () => this.answer(false));
      this.dialog.addEventListener('cancel', (event) => { event.preventDefault(); this.answer(false); });
      // The title opens the form while a button key is held: its auto-repeat
      // must neither start at once nor type into a box.
      this.dialog.addEventListener('keydown', (event) => {
        if (!event.repeat) this.pressedHere.add(event.code);
        else if (!this.pressedHere.has(event.code)) {
          event.preventDefault();
          event.stopPropagation();
        }
      }, true);
    },
  };

  // ---- Messages: the game's error box, and problems the page reports.

  const message = {
    dialog: $('message'),
    holds: false,
    show(captionText, text, holds) {
      $('message-caption').textContent = captionText;
      $('message-text').textContent = text;
      // The game's own box holds the game as the window's does; a report does not.
      if (holds && !this.holds) holding += 1;
      this.holds = this.holds || holds;
      if (!this.dialog.open) this.dialog.showModal();
      $('message-ok').focus();
    },
    close() {
      if (this.holds) {
        holding -= 1;
        resumeSchedule();
      }
      this.holds = false;
    },
    init() {
      this.dialog.addEventListener('close', () => { this.close(); canvas.focus(); });
    },
  };

  function report(problem) {
    console.error(`burrowkin: ${problem}`);
    message.show(ApplicationTitle, problem, false);
  }

  // ---- Runs: kept in the browser, offered to download, watched.

  const runs = {
    db: null,

    open() {
      if (this.db) return Promise.resolve(this.db);
      return new Promise((resolve, reject) => {
        const request = indexedDB.open('burrowkin', 1);
        request.onupgradeneeded = () => request.result.createObjectStore('runs', { keyPath: 'name' });
        request.onsuccess = () => { this.db = request.result; resolve(this.db); };
        request.onerror = () => reject(request.error);
      });
    },

    async all() {
      const db = await this.open();
      return new Promise((resolve, reject) => {
        const request = db.transaction('runs').objectStore('runs').getAll();
        request.onsuccess = () => resolve(request.result.sort((a, b) => b.when - a.when));
        request.onerror = () => reject(request.error);
      });
    },

    async change(work) {
      const db = await this.open();
      return new Promise((resolve, reject) => {
        const transaction = db.transaction('runs', 'readwrite');
        work(transaction.objectStore('runs'));
        transaction.oncomplete = resolve;
        transaction.onerror = () => reject(transaction.error);
      });
    },

    async keep(name, bytes) {
      this.offer(name, bytes);
      try {
        const older = (await this.all()).slice(KeptRuns - 1);
        await this.change((store) => {
          store.put({ name, bytes, when: Date.now() });
          for (const run of older) store.delete(run.name);
        });
      } catch (e) {
        report(`the run could not be kept in this browser: ${e}`);
      }
    },

    link(name, bytes) {
      const a = document.createElement('a');
      a.href = URL.createObjectURL(new Blob([bytes], { type: 'application/x-burrowkin-run' }));
      a.download = name;
      a.textContent = name;
      return a;
    },

    // A game that ended, offered to download.
    offer(name, bytes) {
      const line = $('line');
      for (const old of line.querySelectorAll('a')) URL.revokeObjectURL(old.href);
      line.textContent = 'run kept: ';
      line.append(this.link(name, bytes));
    },

    async show() {
      const list = $('runs-list');
      for (const old of list.querySelectorAll('a')) URL.revokeObjectURL(old.href);
      list.textContent = '';
      let kept = [];
      try {
        kept = await this.all();
      } catch (e) {
        report(`the runs kept in this browser cannot be read: ${e}`);
      }
      $('runs-empty').hidden = kept.length > 0;
      for (const run of kept) {
        const item = document.createElement('li');
        const button = (text, act) => {
          const b = document.createElement('button');
          b.type = 'button';
          b.textContent = text;
          b.addEventListener('click', () => { $('runs').close(); act(); });
          return b;
        };
        const watch = button('watch', () => watchRun(run.bytes, run.name));
        const race = button('race', () => raceRun(run.bytes, run.name));
        const forget = document.createElement('button');
        forget.type = 'button';
        forget.textContent = 'delete';
        forget.addEventListener('click', async () => {
          await this.change((store) => store.delete(run.name));
          this.show();
        });
        item.append(this.link(run.name, run.bytes), watch, race, forget);
        list.append(item);
      }
      if (!$('runs').open) $('runs').showModal();
    },
  };

  // Hands a run file's bytes to the game, to watch or to race; a file that is
  // no run file is refused with the window's message and changes nothing.
  function handRun(bytes, name, race) {
    if (!game || setup.dialog.open) return false;
    const at = game._malloc(bytes.length);
    game.HEAPU8.set(bytes, at);
    const problem = game.ccall('bk_run', 'string', ['number', 'number', 'string', 'number'],
      [at, bytes.length, name, race ? 1 : 0]);
    game._free(at);
    if (problem) report(problem);
    paint();
    canvas.focus();
    return !problem;
  }

  // Plays the run; the line under the picture offers to race it.
  function watchRun(bytes, name) {
    if (!handRun(bytes, name, false)) return;
    const line = $('line');
    line.textContent = `watching ${name} `;
    const race = document.createElement('button');
    race.type = 'button';
    race.textContent = 'race it';
    race.addEventListener('click', () => raceRun(bytes, name));
    line.append(race);
  }

  // Every game the title starts from now on races the run.
  function raceRun(bytes, name) {
    if (handRun(bytes, name, true)) $('line').textContent = `racing ${name}: hold a button on the title to start`;
  }

  async function watchFile(file) {
    // A run file has 131,074 bytes; a larger file is read only so far.
    const bytes = new Uint8Array(await file.slice(0, 131075).arrayBuffer());
    watchRun(bytes, file.name);
  }

  async function runAtAddress(address, race) {
    try {
      const response = await fetch(address);
      if (!response.ok) throw new Error(`the server answered ${response.status} ${response.statusText}`);
      const bytes = new Uint8Array(await response.arrayBuffer());
      if (race) raceRun(bytes, address);
      else watchRun(bytes, address);
    } catch (e) {
      report(`cannot ${race ? 'race' : 'watch'} ${address}: ${e.message}`);
    }
  }

  // ---- The start.

  // ?seed=N and ?daily mean what --seed and --daily mean to the window.
  function seedOfAddress() {
    if (params.has('seed') && params.has('daily')) {
      return { problem: '?seed and ?daily cannot go together: ?daily picks the seed' };
    }
    if (params.has('race') && (params.has('seed') || params.has('daily'))) {
      return { problem: `?${params.has('seed') ? 'seed' : 'daily'} and ?race cannot go together: the run gives the seed` };
    }
    if (params.has('seed')) {
      const text = params.get('seed');
      if (!/^[0-9]+$/.test(text) || Number(text) > 4294967295) {
        return { problem: `?seed takes a whole number from 0 to 4294967295, not '${text}'` };
      }
      return { seed: Number(text) };
    }
    if (params.has('daily')) return { seed: game._bk_daily_seed() };
    return {};
  }

  async function start() {
    game = await createBurrowkin({ locateFile: (file) => file });
    game.FS.mkdir('/data');
    await Promise.all(DataFiles.map(async (file) => {
      const response = await fetch(file);
      // Without replay.dat the demonstration says so when it is due, as on the desktop.
      if (!response.ok) {
        if (file === 'replay.dat') return;
        throw new Error(`${file}: the server answered ${response.status} ${response.statusText}`);
      }
      game.FS.writeFile(`/data/${file}`, new Uint8Array(await response.arrayBuffer()));
    }));
    const { seed, problem } = seedOfAddress();
    const failure = game.ccall('bk_start', 'string', ['number', 'number'], [seed === undefined ? 0 : 1, seed || 0]);
    if (failure) throw new Error(failure);
    if (problem) report(problem);
    if (seed !== undefined) $('line').textContent = `every cave from seed ${seed}`;
    resumeSchedule();
    loop();
    if (params.has('watch') && params.has('race')) report('?watch and ?race cannot go together: watch a run, or race it');
    else if (params.has('watch')) runAtAddress(params.get('watch'), false);
    else if (params.has('race')) runAtAddress(params.get('race'), true);
    canvas.focus();
  }

  function init() {
    window.Burrowkin = { page: shell };
    setup.init();
    message.init();
    touch.init();
    fit();
    window.addEventListener('resize', fit);
    document.addEventListener('fullscreenchange', () => {
      document.body.classList.toggle('full', Boolean(document.fullscreenElement));
      fit();
    });
    document.addEventListener('keydown', keyDown);
    document.addEventListener('keyup', keyUp);
    window.addEventListener('blur', releaseAll);
    document.addEventListener('visibilitychange', () => { if (!document.hidden) resumeSchedule(); });
    window.addEventListener('pagehide', () => { if (game) game._bk_closing(); });
    canvas.addEventListener('pointerdown', () => { startAudio(); canvas.focus(); });

    $('full').addEventListener('click', toggleFullScreen);
    $('watch').addEventListener('click', () => $('watch-file').click());
    $('watch-file').addEventListener('change', (event) => {
      const [file] = event.target.files;
      event.target.value = '';
      if (file) watchFile(file);
    });
    $('runs-button').addEventListener('click', () => runs.show());
    $('runs').addEventListener('close', () => canvas.focus());
    for (const button of $('bar').querySelectorAll('button, input')) button.addEventListener('click', () => canvas.focus());
    document.addEventListener('dragover', (event) => event.preventDefault());
    document.addEventListener('drop', (event) => {
      event.preventDefault();
      const [file] = event.dataTransfer.files;
      if (file) watchFile(file);
    });

    // For the page's tests: the game's state, and ticks on demand with ?manual.
    window.Burrowkin.test = {
      state: () => JSON.parse(game.ccall('bk_state', 'string', [], [])),
      tick(n = 1) {
        for (let i = 0; i < n && mayTick(); ++i) tick();
      },
      picture() {
        const at = game._bk_picture();
        return Array.from(game.HEAPU8.subarray(at, at + Width * Height * 4));
      },
      paused: () => paused,
      firstFrameAt: () => firstFrameAt,
      tickCost: (ticks) => game._bk_tick_cost(ticks),
      memory: () => game.HEAPU8.length,  // the game's linear memory, in bytes
      holding: () => holding,
    };

    window.Burrowkin.ready = start().catch((e) => {
      document.body.textContent = `Korvane Burrowkin cannot start: ${e.message}`;
      document.body.style.color = '#ccc';
      throw e;
    });
  }

  init();
})();
