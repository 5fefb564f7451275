#pragma once

#include <array>
#include <string_view>

#include "screens/key_bindings.h"

// The keys dialog "キー設定" as both front ends show it: a row for each
// control and for the pad's two buttons, then the dialog's buttons. The
// window's dialog and the page's form take their captions and their English
// help from here; what a key may do is KeyBindings' business.
struct KeysFormRow {
    std::string_view name;     // a control's name in the keys file, or pad-select, pad-use
    std::string_view caption;  // with "&" before the accelerator's letter
    std::string_view gloss;    // the caption in a few English words
    std::string_view help;     // what the row sets, in English
};

inline constexpr std::string_view KeysCaption = "キー設定";

// In the order of Control, then the pad's buttons.
inline constexpr std::array<KeysFormRow, ControlCount + 2> KeysFormRows = {{
    {"up", "上・ジャンプ(&U)", "up, jump", "Jump, climb up"},
    {"down", "下(&D)", "down", "Climb down"},
    {"left", "左(&L)", "left", "Walk left"},
    {"right", "右(&R)", "right", "Walk right"},
    {"select", "アイテム選択(&S)", "select", "Select the next inventory slot; held on the title, opens the setup"},
    {"use", "アイテム使用(&E)", "use", "Use the selected item; held on the title, opens the setup"},
    {"title", "タイトルへ(&T)", "title", "With Shift: back to the title screen"},
    {"pause", "一時停止(&P)", "pause", "Pause and resume"},
    {"stop-race", "競争をやめる(&C)", "stop racing", "Stop racing: games start from the setup dialog again"},
    {"full-screen", "全画面(&F)", "full screen", "Switch between the window and full screen"},
    {"fast-forward", "早送り(&G)", "fast forward", "While watching a run: held, four times the speed"},
    {"sound", "音(&O)", "sound", "Sound off and on"},
    {"keys", "キー設定(&K)", "keys", "On the title screen: this dialog"},
    {"pad-select", "パッドの選択ボタン(&1)", "pad: select", "The pad's buttons that select the next slot"},
    {"pad-use", "パッドの使用ボタン(&2)", "pad: use", "The pad's buttons that use the selected item"},
}};

struct KeysFormButton {
    std::string_view name;
    std::string_view caption;
    std::string_view gloss;
    std::string_view help;
};

inline constexpr std::array<KeysFormButton, 4> KeysFormButtons = {{
    {"defaults", "初期設定(&I)", "defaults", "The game's own keys again"},
    {"keep", "このキーを保存(&V)", "keep these keys", "Keep these keys for the next games (written to a file; on the page, kept in this browser)"},
    {"ok", "決定", "OK", "Play with these keys (Enter)"},
    {"cancel", "やっぱヤメ", "never mind", "Never mind: the keys stay as they were (Esc)"},
}};

// What a row says while it waits for a key or a button.
inline constexpr std::string_view KeysWaiting = "キーを押してください…";
inline constexpr std::string_view KeysWaitingGloss = "press a key (Esc cancels)";
