// The simulator under Node sees the environment it was started with, as the
// native one does (BURROWKIN_DATA_DIR names the game's data folder).
Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function () {
  for (var name in process.env) ENV[name] = process.env[name];
});
