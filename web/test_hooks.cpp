// What the page's tests and web/measure_tick.mjs ask of the game beyond the
// page's own functions. Only the test build of the page has them.

#include <emscripten.h>

#include <string>

#include "bench/tick_loop.h"
#include "play/game.h"
#include "screens/session.h"
#include "web/json.h"
#include "web/web_game.h"

namespace {
std::string text;
}

extern "C" {

// What a tick with its view costs here, in nanoseconds: the loop of the
// desktop's tick_cost, in a game of its own.
EMSCRIPTEN_KEEPALIVE double bk_tick_cost(int ticks) { return NanosecondsPerTick(WebArt(), ticks); }

// A few fields of the game, as JSON.
EMSCRIPTEN_KEEPALIVE const char* bk_state()
{
    const Game& game = WebGame();
    const GameState& s = game.state;
    text = Json()
               .Number("screen", s.Screen)
               .Number("titleTicks", s.TitleTicks)
               .Number("variant", s.Variant)
               .Flag("demo", s.DemoMode)
               .Flag("watching", WebSession().Watching())
               .Flag("racing", WebSession().Racing().has_value())
               .Flag("paused", WebSession().Paused())
               .Number("frame", s.FrameIndex)
               .Number("x", s.PlayerX)
               .Number("y", s.PlayerY)
               .Number("width", s.CaveWidth)
               .Number("height", s.CaveHeight)
               .Flag("beginner", s.Beginner)
               .Number("speedToDeath", s.SpeedToDeath)
               .Number("seed", game.settings.seed)
               .Number("score", s.Score)
               .Number("misses", s.Misses)
               .Flag("joystick", s.JoystickPresent)
               .Number("inventory0", s.Inventory[0])
               .Number("slot", s.SelectedSlot)
               .Number("input", InputWord(s.InputNow))
               .Done();
    return text.c_str();
}

}  // extern "C"
