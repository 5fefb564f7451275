#pragma once

struct Assets;
struct Game;
class Session;

// The page's one game, its session and its pictures, once bk_start made them.
Game& WebGame();
Session& WebSession();
const Assets& WebArt();
