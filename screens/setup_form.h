#pragma once

#include <array>
#include <string_view>

// The setup dialog "下準備" as both front ends show it: the window's dialog
// and the page's form take their captions, their English help, the size
// presets and the ranges of the boxes from here.
struct SetupControl {
    std::string_view name;     // rbtCaveLarge, speCaveWidth, ...
    std::string_view caption;  // with "&" before the accelerator's letter; empty for a box
    std::string_view gloss;    // the caption in a few English words
    std::string_view help;     // what the control does, in English
    int preset = 0;            // a size radio: both sizes become this
    int minimum = 0, maximum = 0, value = 0;  // a box: its range and first value
};

inline constexpr std::string_view SetupCaption = "下準備";
inline constexpr int LargestCave = 216;

inline constexpr std::array<SetupControl, 18> SetupControls = {{
    {"GroupBox1", "洞窟の広さ", "cave size", "Cave size: how many cells wide and high the cave is"},
    {"rbtCaveLarge", "広い(&L)", "large", "Large cave: 216 by 216 cells", 216},
    {"rbtCaveMedium", "中くらい(&M)", "medium", "Medium cave: 100 by 100 cells (the first choice)", 100},
    {"rbtCaveSmall", "狭い(&S)", "small", "Small cave: 50 by 50 cells", 50},
    {"rbtCaveMinimum", "最小(&N)", "smallest", "Smallest cave: 1 by 1 cell", 1},
    {"rbtCaveCustom", "カスタム(&C)", "custom", "Custom size: the width and height set below"},
    {"GroupBox2", "カスタム", "custom size", "A cave of your own size, 1 to 216 cells each way"},
    {"Label1", "幅(&W)", "width", "Width of the cave in cells, 1 to 216"},
    {"speCaveWidth", "", "width", "Width of the cave in cells, 1 to 216", 0, 1, LargestCave, 100},
    {"Label2", "高さ(&H)", "height", "Height of the cave in cells, 1 to 216"},
    {"speCaveHeight", "", "height", "Height of the cave in cells, 1 to 216", 0, 1, LargestCave, 100},
    {"GroupBox3", "その他もろもろ", "everything else", "Other settings"},
    {"Label3", "死亡速度(&D)", "fatal speed", "Fatal falling speed, 0 to 16: a fall faster than this many pixels a tick kills"},
    {"speSpeedToDeath", "", "fatal speed",
     "Fatal falling speed, 0 to 16: a fall faster than this many pixels a tick kills. At 11, the default, a drop of "
     "one cell is survived and two are fatal; at 16 no fall kills; at 0 every fall and jump does",
     0, 0, 16, 11},
    {"chkBeginner", "初心者です(&B)", "I am a beginner", "Beginner: start with nine of every item"},
    {"CheckBox1", "マップあり(&P)", "with a map", "With a map: not available, always off"},
    {"btnStart", "探検開始", "start exploring", "Start exploring (Enter)"},
    {"btnQuit", "やっぱヤメ", "never mind", "Never mind: back to the title screen (Esc)"},
}};

// The control of that name; every name above is there.
const SetupControl& SetupControlNamed(std::string_view name);
