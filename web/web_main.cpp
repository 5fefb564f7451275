// The browser edition: the game behind the page's canvas. The page hands
// every key, tick, pad reading, form answer and run to these functions; each
// that steps the game's session answers with the step's report as JSON.
// web/module.md is the contract between them and the page.

#include <emscripten.h>

#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "cave/run_file.h"
#include "gfx/assets.h"
#include "play/game.h"
#include "runs/run_check.h"
#include "screens/daily_seed.h"
#include "screens/gamepad.h"
#include "screens/run_choices.h"
#include "screens/session.h"
#include "screens/keys_form.h"
#include "screens/setup_form.h"
#include "screens/spin_text.h"
#include "screens/title.h"
#include "sound/sound_bank.h"
#include "web/json.h"
#include "web/web_game.h"

namespace {

// Where the page puts the pictures and the demonstration's recording.
constexpr const char* DataFolder = "/data";

EM_JS(double, BrowserMilliseconds, (), { return Date.now(); });
EM_JS(int, BrowserLocalSecond, (), { return new Date().getSeconds(); });

struct Page {
    Assets art;
    SoundBank sounds;  // none until bk_sounds_ready
    std::unique_ptr<Game> game;
    std::unique_ptr<Session> session;
    std::optional<JoyInfoRecord> pad;      // the pad of the next tick, once one was seen
    std::vector<std::uint8_t> endedRun;    // the run of the last game that ended
    std::vector<std::uint8_t> rgba = std::vector<std::uint8_t>(std::size_t(ViewSize) * (ViewSize + StatusHeight) * 4);
    std::string status;  // the status the page was last told
    KeyBindings draft;   // the keys form's keys, until it is sent
};

Page* page = nullptr;

// The last string handed to the page; bk_address_choices hands one before
// bk_start made the page's game.
std::string handed;

const char* Hand(std::string text)
{
    handed = std::move(text);
    return handed.c_str();
}

Json ReportJson(const TickReport& r)
{
    Json json;
    if (!r.caption.empty()) json.Text("caption", r.caption);
    if (r.beeps) json.Number("beeps", r.beeps);
    if (r.timer != TickReport::Timer::Unchanged) json.Text("timer", r.timer == TickReport::Timer::Hold ? "hold" : "release");
    if (r.openSetup) json.Flag("openSetup", true);
    if (r.openKeys) json.Flag("openKeys", true);
    if (!r.messages.empty()) {
        std::vector<std::string> boxes;
        for (const auto& box : r.messages) boxes.push_back(Json().Text("caption", box.caption).Text("text", box.text).Done());
        json.Raw("messages", JsonList(boxes));
    }
    if (r.toggleFullScreen) json.Flag("fullScreen", true);
    if (r.keyTaken) json.Flag("keyTaken", true);
    if (!r.news.empty()) {
        std::vector<std::string> lines;
        for (const std::string& line : r.news) lines.push_back(JsonQuoted(line));
        json.Raw("news", JsonList(lines));
    }
    if (r.raceStopped) json.Flag("raceStopped", true);
    if (r.ended) json.Text("ended", r.ended->fileName);
    if (r.newPicture) json.Flag("picture", true);
    if (!r.sounds.empty()) {
        std::vector<std::string> sounds;
        for (const int sound : r.sounds) sounds.push_back(std::to_string(sound));
        json.Raw("sounds", JsonList(sounds));
    }
    if (r.stopMusic) json.Flag("stopMusic", true);
    if (r.toggleSound) json.Flag("toggleSound", true);
    return json;
}

// Where the game is, for what the page says beside the picture.
std::string StatusJson()
{
    const GameState& s = page->game->state;
    const char* screen = s.Screen == ScreenTitle ? "title" : s.Screen == ScreenPlay ? "play" : "ending";
    return Json()
        .Text("screen", screen)
        .Flag("quiet", s.Screen == ScreenTitle && s.TitleTicks <= TitleQuietTicks)
        .Flag("demo", s.DemoMode)
        .Flag("watching", page->session->Watching())
        .Flag("paused", page->session->Paused())
        .Done();
}

// A step of the session, as the report the page reads; the status only when
// it changed.
const char* Report(TickInput input)
{
    input.clock = {.utcMilliseconds = std::int64_t(BrowserMilliseconds()), .localSecond = BrowserLocalSecond()};
    const TickReport report = page->session->Step(input);
    if (report.ended) page->endedRun = RunFileBytes(report.ended->run);
    Json json = ReportJson(report);
    if (std::string status = StatusJson(); status != page->status) {
        json.Raw("status", status);
        page->status = std::move(status);
    }
    return Hand(json.Done());
}


// Keys as the keys form shows them: {"rows":[{"name":"up","keys":[{"code":38,"name":"Up"}]},...],
// "padSelect":[1,4],"padUse":[2,3],"text":...}, with "problem" when the last
// change was refused and left them as they were.
const char* KeysJson(const KeyBindings& keys, const std::string& problem = "")
{
    std::vector<std::string> rows;
    for (int c = 0; c < ControlCount; ++c) {
        std::vector<std::string> bound;
        for (const int key : keys.KeysOf(Control(c)))
            bound.push_back(Json().Number("code", key).Text("name", KeyOfCode(key)->name).Done());
        rows.push_back(Json().Text("name", ControlNames[std::size_t(c)]).Raw("keys", JsonList(bound)).Done());
    }
    const auto buttons = [](std::uint32_t mask) {
        std::vector<std::string> list;
        for (int b = 0; b < 4; ++b)
            if (mask >> b & 1) list.push_back(std::to_string(b + 1));
        return JsonList(list);
    };
    Json json;
    if (!problem.empty()) json.Text("problem", problem);
    json.Raw("rows", JsonList(rows)).Raw("padSelect", buttons(keys.PadSelect())).Raw("padUse", buttons(keys.PadUse()));
    return Hand(json.Text("text", keys.Text()).Done());
}

// The keys form's draft, after a change or a refusal of one.
const char* DraftJson(const std::string& problem = "") { return KeysJson(page->draft, problem); }

}  // namespace

extern "C" {

// Loads the tile sheet and the sprites the page put in the data folder and
// opens the title screen; with `seedGiven`, every game the title starts is
// made from `seed`. "" when all is well, else what went wrong. The endings
// and the sounds follow (bk_endings_ready, bk_sounds_ready); the
// demonstration reads /data/replay.dat when it starts.
EMSCRIPTEN_KEEPALIVE const char* bk_start(int seedGiven, std::uint32_t seed)
{
    page = new Page;
    try {
        page->art = LoadPlayAssets(DataFolder);
    } catch (const AssetError& e) {
        return Hand(e.what());
    }
    page->game = std::make_unique<Game>(page->art);
    page->game->replayPath = [] { return std::string(DataFolder) + "/replay.dat"; };
    page->session = std::make_unique<Session>(*page->game, seedGiven ? std::optional<std::uint32_t>(seed) : std::nullopt,
                                              &page->sounds);
    return Hand("");
}

// The page put the ending pictures in the data folder: "" when they are the
// game's from now on, else what went wrong.
EMSCRIPTEN_KEEPALIVE const char* bk_endings_ready()
{
    try {
        LoadEndingPictures(page->art, DataFolder);
    } catch (const AssetError& e) {
        return Hand(e.what());
    }
    return Hand("");
}

// The page put sounds.txt in the data folder: the game's sounds are made
// from it and the reports name them from now on. "" when all is well, else
// what went wrong: the game plays silently.
EMSCRIPTEN_KEEPALIVE const char* bk_sounds_ready()
{
    try {
        page->sounds = SoundBank::Load(DataFolder);
    } catch (const SoundSourceError& e) {
        return Hand(e.what());
    }
    return Hand("");
}

// The timer's tick, at `speed` percent of 20 ticks a second, with the pad as
// bk_pad last left it.
EMSCRIPTEN_KEEPALIVE const char* bk_tick(int speed) { return Report({.tick = true, .speed = speed, .joystick = page->pad}); }

// A key went down or up (a code of bk_key_codes).
EMSCRIPTEN_KEEPALIVE const char* bk_key(int virtualKey, int down, int shift, int repeat)
{
    return Report({.keys = {{.virtualKey = virtualKey, .down = down != 0, .shift = shift != 0, .repeat = repeat != 0}}});
}

// The pad for the next ticks: kind 0 none, 1 a pad with the standard layout,
// 2 a joystick read as it comes. Axes -32768..32767; `buttons` has the d-pad
// in bits 0 to 3 (up, down, left, right) and the face buttons in bits 4 to 7
// (A, B, X, Y), or for a joystick its first four buttons in bits 0 to 3.
EMSCRIPTEN_KEEPALIVE void bk_pad(int kind, int x, int y, int z, int buttons)
{
    if (kind == 0) {
        // A pad that went away leaves nothing held.
        if (page->pad) page->pad = JoyInfoOfPad({});
        return;
    }
    if (kind == 2) {
        page->pad = JoyInfoOfStick(std::int16_t(x), std::int16_t(y), std::int16_t(z), std::uint32_t(buttons));
        return;
    }
    const auto bit = [buttons](int b) { return (buttons >> b & 1) != 0; };
    page->pad = JoyInfoOfPad({.stickX = std::int16_t(x), .stickY = std::int16_t(y), .up = bit(0), .down = bit(1),
                              .left = bit(2), .right = bit(3), .a = bit(4), .b = bit(5), .x = bit(6), .y = bit(7)});
}

// The setup form was sent (ok 1) or cancelled (ok 0).
EMSCRIPTEN_KEEPALIVE const char* bk_setup_answered(int ok, int width, int height, int speedToDeath, int beginner)
{
    std::optional<GameSettings> settings;
    if (ok) settings = {.width = width, .height = height, .beginner = beginner != 0, .speedToDeath = speedToDeath};
    return Report({.setup = TickInput::SetupAnswer{settings}});
}

// Watches (race 0) or races (race 1) the run in the bytes, named `name` in a
// message: the report, with "problem" saying why it cannot be.
EMSCRIPTEN_KEEPALIVE const char* bk_run(const std::uint8_t* bytes, int size, const char* name, int race)
{
    try {
        RunFile run = ParseRunFile(std::vector<std::uint8_t>(bytes, bytes + size));
        ReplayRun(run);  // a header its own play contradicts is refused, as everywhere
        if (race) return Report({.race = std::move(run)});
        return Report({.watch = std::move(run)});
    } catch (const RunFileError& e) {
        return Hand(Json().Text("problem", std::string(race ? "cannot race " : "cannot watch ") + name + ": " + e.what()).Done());
    }
}

// The keys form: {"caption","waiting","waitingGloss","rows":[{name, caption,
// gloss, help}],"buttons":[{name, caption, gloss, help}]}, rows in the order
// of the draft's.
EMSCRIPTEN_KEEPALIVE const char* bk_keys_form()
{
    const auto list = [](const auto& table) {
        std::vector<std::string> items;
        for (const auto& i : table)
            items.push_back(Json().Text("name", i.name).Text("caption", i.caption).Text("gloss", i.gloss).Text("help", i.help).Done());
        return JsonList(items);
    };
    return Hand(Json()
                    .Text("caption", KeysCaption)
                    .Text("waiting", KeysWaiting)
                    .Text("waitingGloss", KeysWaitingGloss)
                    .Raw("rows", list(KeysFormRows))
                    .Raw("buttons", list(KeysFormButtons))
                    .Done());
}

// The keys form's draft, each answering as DraftJson: the game's keys now
// (as the form opens), the game's own, a key more or less for a control
// (its place in the rows), the pad's buttons (masks of buttons 1 to 4).
EMSCRIPTEN_KEEPALIVE const char* bk_keys_open()
{
    page->draft = page->session->Bindings();
    return DraftJson();
}
// The game's keys now, as the draft is shown; the draft stays as it is.
EMSCRIPTEN_KEEPALIVE const char* bk_keys() { return KeysJson(page->session->Bindings()); }
EMSCRIPTEN_KEEPALIVE const char* bk_keys_defaults()
{
    page->draft = KeyBindings::Defaults();
    return DraftJson();
}
EMSCRIPTEN_KEEPALIVE const char* bk_keys_bind(int control, int virtualKey)
{
    if (control < 0 || control >= ControlCount) return DraftJson("no such control");
    return DraftJson(page->draft.Bind(Control(control), virtualKey));
}
EMSCRIPTEN_KEEPALIVE const char* bk_keys_unbind(int control, int virtualKey)
{
    if (control < 0 || control >= ControlCount) return DraftJson("no such control");
    return DraftJson(page->draft.Unbind(Control(control), virtualKey));
}
EMSCRIPTEN_KEEPALIVE const char* bk_keys_pad(int select, int use)
{
    return DraftJson(page->draft.SetPadButtons(std::uint32_t(select), std::uint32_t(use)));
}

// The keys form was sent (ok 1: the draft's keys from now on) or cancelled.
EMSCRIPTEN_KEEPALIVE const char* bk_keys_answered(int ok)
{
    std::optional<KeyBindings> keys;
    if (ok) keys = page->draft;
    return Report({.keysAnswer = TickInput::KeysAnswer{keys}});
}

// Keys kept in the browser, in the keys file's words: the report, or
// {"problem"} when the text is not keys and the keys stay as they are.
EMSCRIPTEN_KEEPALIVE const char* bk_keys_use(const char* text)
{
    try {
        return Report({.bindings = KeyBindings::FromText(text)});
    } catch (const KeyBindingsError& e) {
        return Hand(Json().Text("problem", std::string("the keys kept in this browser are not used: ") + e.what()).Done());
    }
}

// What the header of the run file in the bytes says of its game, the cave
// not made: {"seed":20260316,"width":100,"height":100,"variant":0,
// "beginner":false,"speedToDeath":11,"goal":true,"ticks":1394}, or
// {"problem":...} for bytes that are no run file.
EMSCRIPTEN_KEEPALIVE const char* bk_run_header(const std::uint8_t* bytes, int size)
{
    try {
        const RunFile run = ParseRunFile(std::vector<std::uint8_t>(bytes, bytes + size), CaveCheck::Later);
        const GameSettings& s = run.header.settings;
        return Hand(Json()
                        .Number("seed", s.seed)
                        .Number("width", s.width)
                        .Number("height", s.height)
                        .Number("variant", s.variant)
                        .Flag("beginner", s.beginner)
                        .Number("speedToDeath", s.speedToDeath)
                        .Flag("goal", run.header.ending == RunEnding::Goal)
                        .Number("ticks", run.header.ticks)
                        .Done());
    } catch (const RunFileError& e) {
        return Hand(Json().Text("problem", e.what()).Done());
    }
}

EMSCRIPTEN_KEEPALIVE const char* bk_stop_race() { return Report({.stopRace = true}); }

EMSCRIPTEN_KEEPALIVE const char* bk_closing() { return Report({.closing = true}); }

// The run of the last game that ended, and its size in bytes.
EMSCRIPTEN_KEEPALIVE const std::uint8_t* bk_ended_run() { return page->endedRun.data(); }
EMSCRIPTEN_KEEPALIVE int bk_ended_run_size() { return int(page->endedRun.size()); }

// The window's picture, 272 by 304 pixels of red, green, blue and alpha bytes.
EMSCRIPTEN_KEEPALIVE const std::uint8_t* bk_picture()
{
    RgbaBytes(page->session->Picture(), page->rgba.data());
    return page->rgba.data();
}

// The game's sounds: [{"name":"jump","music":false,"samples":6174},...], in
// the order the reports name them; bk_sound(i) is where the 16-bit samples
// of sound i lie, at 44,100 a second.
EMSCRIPTEN_KEEPALIVE const char* bk_sounds()
{
    std::vector<std::string> sounds;
    for (const Sound& s : page->sounds.Sounds())
        sounds.push_back(Json().Text("name", s.name).Flag("music", s.music).Number("samples", long(s.samples.size())).Done());
    return Hand(JsonList(sounds));
}
EMSCRIPTEN_KEEPALIVE const std::int16_t* bk_sound(int i) { return page->sounds.Sounds()[std::size_t(i)].samples.data(); }

// Every key the game knows, by its place on the keyboard as browsers name
// it: {"ArrowUp":38,...}. What each does is the game's business.
EMSCRIPTEN_KEEPALIVE const char* bk_key_codes()
{
    Json json;
    for (const NamedKey& key : NamedKeys()) json.Number(key.code, key.virtualKey);
    json.Number("NumpadEnter", KeyEnter);
    return Hand(json.Done());
}

// What the keys do, from the help of the desktop's --help, with the control
// of each line: [{"keys":"Space or X","does":"select the next inventory
// slot","role":"select"},...], the player's keys once they chose theirs. The
// roles are up, down, left, right, select, use, title, pause, stopRace,
// fullScreen, fastForward, sound, keys.
EMSCRIPTEN_KEEPALIVE const char* bk_key_help()
{
    static constexpr std::string_view Roles[ControlCount] = {"up",    "down",       "left",       "right",       "select",
                                                            "use",   "title",      "pause",      "stopRace",    "fullScreen",
                                                            "fastForward", "sound", "keys"};
    std::vector<std::string> lines;
    for (const KeyHelpLine& line : KeyHelp(page && page->session ? page->session->Bindings() : KeyBindings::Defaults())) {
        Json json;
        json.Text("keys", line.keys).Text("does", line.does).Text("role", Roles[int(line.control)]);
        lines.push_back(json.Done());
    }
    return Hand(JsonList(lines));
}

// The setup form's controls: {"caption":"下準備","controls":[{"name":...,
// "caption":...,"gloss":...,"help":...,"preset":...,"min":...,"max":...,
// "value":...},...]}.
EMSCRIPTEN_KEEPALIVE const char* bk_setup_form()
{
    std::vector<std::string> controls;
    for (const SetupControl& c : SetupControls) {
        Json control;
        control.Text("name", c.name).Text("caption", c.caption).Text("gloss", c.gloss).Text("help", c.help);
        if (c.preset) control.Number("preset", c.preset);
        if (c.maximum) control.Number("min", c.minimum).Number("max", c.maximum).Number("value", c.value);
        controls.push_back(control.Done());
    }
    return Hand(Json().Text("caption", SetupCaption).Raw("controls", JsonList(controls)).Done());
}

// What a spin box's text reads as, as the window's dialog reads it.
EMSCRIPTEN_KEEPALIVE int bk_read_spin(const char* text, int minimum, int maximum)
{
    return ReadSpinText(text, minimum, maximum);
}

// The choices of the page's address, ?seed=N (seedText null when absent),
// ?daily, ?watch= and ?race=, as the window reads its options: {"seed":N}
// when games take a seed, {"problem":...} when the choices are refused.
EMSCRIPTEN_KEEPALIVE const char* bk_address_choices(const char* seedText, int daily, int watch, int race)
{
    const RunChoices choices{.seed = seedText != nullptr, .daily = daily != 0, .watch = watch != 0, .race = race != 0};
    Json json;
    if (std::string conflict = RunChoicesConflict(choices, "?"); !conflict.empty()) return Hand(json.Text("problem", conflict).Done());
    if (seedText) {
        const std::optional<std::uint32_t> seed = ReadSeed(seedText);
        if (!seed) return Hand(json.Text("problem", BadSeed(seedText, "?")).Done());
        json.Number("seed", *seed);
    } else if (daily) {
        json.Number("seed", DailySeed(std::time(nullptr)));
    }
    return Hand(json.Done());
}

}  // extern "C"

int main() { return 0; }

Game& WebGame() { return *page->game; }
Session& WebSession() { return *page->session; }
const Assets& WebArt() { return page->art; }
