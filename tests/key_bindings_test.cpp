// The player's keys: the game's own by default, never a lock-out, and the
// keys file as a person reads and writes it.
#include <gtest/gtest.h>

#include "screens/key_bindings.h"
#include "screens/keys.h"

namespace {

std::string Refusal(const std::string& text)
{
    try {
        KeyBindings::FromText(text);
    } catch (const KeyBindingsError& e) {
        return e.what();
    }
    return "";
}

TEST(KeyBindings, TheDefaultsAreTheGamesOwnKeysAndNoKeyLocksAPlayerOut)
{
    KeyBindings keys = KeyBindings::Defaults();
    EXPECT_EQ(keys.KeysOf(Control::Select), (std::vector<int>{KeySpace, KeyX}));
    EXPECT_EQ(keys.KeysOf(Control::Use), (std::vector<int>{KeyEnter, KeyZ}));
    EXPECT_EQ(keys.ControlOf(KeyF3), Control::Pause);
    EXPECT_EQ(keys.ControlOf('W'), std::nullopt);

    EXPECT_EQ(keys.Bind(Control::Up, 'W'), "");
    EXPECT_EQ(keys.ControlOf('W'), Control::Up);
    EXPECT_EQ(keys.Bind(Control::Down, 'X'), "X is already the key of select");
    EXPECT_EQ(keys.ControlOf('X'), Control::Select);  // the older binding stays
    EXPECT_EQ(keys.Bind(Control::Pause, EscapeKey), "Escape cancels; it cannot be a key of the game");
    EXPECT_EQ(keys.Unbind(Control::Pause, KeyF3), "pause keeps at least one key");
    EXPECT_EQ(keys.Unbind(Control::Up, KeyUp), "");
    EXPECT_EQ(keys.KeysOf(Control::Up), std::vector<int>{'W'});
}

TEST(KeyBindings, TheFileReadsBackAsWrittenAndAMistakeIsNamedWithItsLine)
{
    KeyBindings keys = KeyBindings::Defaults();
    keys.Bind(Control::Left, 'A');
    keys.Bind(Control::Right, 'D');
    const std::string text = keys.Text();
    EXPECT_NE(text.find("left = Left A\n"), std::string::npos) << text;
    EXPECT_EQ(KeyBindings::FromText(text), keys);
    EXPECT_EQ(KeyBindings::FromText("# mine\n" + text + "\n"), keys);

    EXPECT_EQ(Refusal("up = Up\nup = W\n"), "line 2: a second line for up");
    EXPECT_EQ(Refusal("jump = Up\n"), "line 1: no control is called 'jump'");
    EXPECT_EQ(Refusal("up Up\n"), "line 1: a line is a control, '=' and its keys, as 'up = Up W'");
    EXPECT_EQ(Refusal("up = Escape\n"), "line 1: Escape cancels; it cannot be a key of the game");
    EXPECT_EQ(Refusal("up = Hyper\n"), "line 1: no key is called 'Hyper'");
    EXPECT_EQ(Refusal("up = Up\ndown = Up\n"), "line 2: Up is already the key of up");
    // A control without a line keeps its own keys, unless they went elsewhere.
    EXPECT_EQ(KeyBindings::FromText("up = W\n").KeysOf(Control::Keys), std::vector<int>{'K'});
    EXPECT_EQ(KeyBindings::FromText("up = W\n").KeysOf(Control::Up), std::vector<int>{'W'});
    EXPECT_EQ(Refusal("up = Up Down\n"), "down has no key");
    EXPECT_EQ(Refusal("pad-select = 5\n"), "line 1: the pad's buttons are 1 to 4");
    EXPECT_EQ(Refusal("pad-select = 2 3\n"), "line 1: select and use keep at least one button of the pad each");
}

TEST(KeyBindings, ThePadsButtonsGoWhereThePlayerPutsThem)
{
    KeyBindings keys = KeyBindings::Defaults();
    EXPECT_EQ(keys.PadSelect(), 1u | 8u);  // buttons 1 and 4
    EXPECT_EQ(keys.PadUse(), 2u | 4u);
    EXPECT_EQ(keys.SetPadButtons(2, 2), "a button of the pad cannot both select and use");
    EXPECT_EQ(keys.SetPadButtons(2, 1 | 4), "");
    EXPECT_EQ(keys.GameButtons(2), 1u);     // button 2 now selects: the game's select button
    EXPECT_EQ(keys.GameButtons(4 | 8), 2u);  // 3 uses, 4 does nothing
    EXPECT_EQ(KeyBindings::FromText(keys.Text()), keys);
}

}  // namespace
