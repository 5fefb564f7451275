#include "screens/key_bindings.h"

#include <algorithm>

#include "screens/keys.h"

namespace {

// Whole names of the keys that are neither letters, digits nor F keys.
struct Named {
    int virtualKey;
    const char* code;
    const char* name;
};
constexpr Named OtherKeys[] = {
    {KeyUp, "ArrowUp", "Up"},       {KeyDown, "ArrowDown", "Down"},     {KeyLeft, "ArrowLeft", "Left"},
    {KeyRight, "ArrowRight", "Right"}, {KeySpace, "Space", "Space"},    {KeyEnter, "Enter", "Enter"},
    {KeyTab, "Tab", "Tab"},         {8, "Backspace", "Backspace"},       {45, "Insert", "Insert"},
    {46, "Delete", "Delete"},       {36, "Home", "Home"},                {35, "End", "End"},
    {33, "PageUp", "PageUp"},       {34, "PageDown", "PageDown"},        {186, "Semicolon", "Semicolon"},
    {187, "Equal", "Equal"},        {188, "Comma", "Comma"},             {189, "Minus", "Minus"},
    {190, "Period", "Period"},      {191, "Slash", "Slash"},             {192, "Backquote", "Backquote"},
    {219, "BracketLeft", "BracketLeft"}, {220, "Backslash", "Backslash"}, {221, "BracketRight", "BracketRight"},
    {222, "Quote", "Quote"},
};

std::string Trim(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return "";
    return std::string(text.substr(first, text.find_last_not_of(" \t\r") - first + 1));
}

}  // namespace

const std::vector<NamedKey>& NamedKeys()
{
    static const std::vector<NamedKey> keys = [] {
        std::vector<NamedKey> all;
        for (char c = 'A'; c <= 'Z'; ++c) all.push_back({c, std::string("Key") + c, std::string(1, c)});
        for (char c = '0'; c <= '9'; ++c) all.push_back({c, std::string("Digit") + c, std::string(1, c)});
        for (int f = 1; f <= 12; ++f) all.push_back({111 + f, "F" + std::to_string(f), "F" + std::to_string(f)});
        for (const Named& k : OtherKeys) all.push_back({k.virtualKey, k.code, k.name});
        return all;
    }();
    return keys;
}

const NamedKey* KeyNamed(std::string_view name)
{
    for (const NamedKey& key : NamedKeys())
        if (key.name == name) return &key;
    return nullptr;
}

const NamedKey* KeyOfCode(int virtualKey)
{
    for (const NamedKey& key : NamedKeys())
        if (key.virtualKey == virtualKey) return &key;
    return nullptr;
}

KeyBindings KeyBindings::Defaults()
{
    KeyBindings b;
    for (const KeyBinding& key : KeyTable) {
        Control control = Control::Up;
        switch (key.role) {
        case KeyRole::Input: control = Control(key.flag); break;
        case KeyRole::BackToTitle: control = Control::Title; break;
        case KeyRole::Pause: control = Control::Pause; break;
        case KeyRole::StopRace: control = Control::StopRace; break;
        case KeyRole::FullScreen: control = Control::FullScreen; break;
        case KeyRole::FastForward: control = Control::FastForward; break;
        case KeyRole::Sound: control = Control::Sound; break;
        case KeyRole::KeysDialog: control = Control::Keys; break;
        }
        std::vector<int>& keys = b.keys_[std::size_t(control)];
        if (std::find(keys.begin(), keys.end(), key.virtualKey) == keys.end()) keys.push_back(key.virtualKey);
    }
    return b;
}

std::optional<Control> KeyBindings::ControlOf(int virtualKey) const
{
    for (int c = 0; c < ControlCount; ++c)
        for (const int key : keys_[std::size_t(c)])
            if (key == virtualKey) return Control(c);
    return std::nullopt;
}

std::string KeyBindings::Bind(Control control, int virtualKey)
{
    const NamedKey* key = KeyOfCode(virtualKey);
    if (virtualKey == EscapeKey) return "Escape cancels; it cannot be a key of the game";
    if (!key) return "that key cannot be bound";
    if (const std::optional<Control> owner = ControlOf(virtualKey)) {
        if (*owner == control) return "";
        return key->name + " is already the key of " + std::string(ControlNames[std::size_t(*owner)]);
    }
    keys_[std::size_t(control)].push_back(virtualKey);
    return "";
}

std::string KeyBindings::Unbind(Control control, int virtualKey)
{
    std::vector<int>& keys = keys_[std::size_t(control)];
    const auto at = std::find(keys.begin(), keys.end(), virtualKey);
    if (at == keys.end()) return "";
    if (keys.size() == 1) return std::string(ControlNames[std::size_t(control)]) + " keeps at least one key";
    keys.erase(at);
    return "";
}

std::string KeyBindings::SetPadButtons(std::uint32_t select, std::uint32_t use)
{
    if (select == 0 || use == 0) return "select and use keep at least one button of the pad each";
    if ((select | use) > 15) return "the pad's buttons are 1 to 4";
    if (select & use) return "a button of the pad cannot both select and use";
    padSelect_ = select;
    padUse_ = use;
    return "";
}

std::uint32_t KeyBindings::GameButtons(std::uint32_t buttons) const
{
    return ((buttons & padSelect_) ? 1u : 0u) | ((buttons & padUse_) ? 2u : 0u);
}

namespace {

std::string ButtonsText(std::uint32_t mask)
{
    std::string text;
    for (int b = 0; b < 4; ++b)
        if (mask >> b & 1) text += " " + std::to_string(b + 1);
    return text;
}

}  // namespace

std::string KeyBindings::Text() const
{
    std::string text = "# Korvane Burrowkin's keys: each line a control and its keys.\n";
    for (int c = 0; c < ControlCount; ++c) {
        text += std::string(ControlNames[std::size_t(c)]) + " =";
        for (const int key : keys_[std::size_t(c)]) text += " " + KeyOfCode(key)->name;
        text += "\n";
    }
    text += "# The pad's buttons 1 to 4 that select and that use.\n";
    text += "pad-select =" + ButtonsText(padSelect_) + "\npad-use =" + ButtonsText(padUse_) + "\n";
    return text;
}

KeyBindings KeyBindings::FromText(std::string_view text)
{
    KeyBindings b;
    std::array<bool, ControlCount> seen{};
    int number = 0;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string line = Trim(text.substr(start, end - start).substr(0, text.substr(start, end - start).find('#')));
        start = end + 1;
        ++number;
        if (line.empty()) continue;
        const auto fail = [number](const std::string& what) { throw KeyBindingsError("line " + std::to_string(number) + ": " + what); };
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos) fail("a line is a control, '=' and its keys, as 'up = Up W'");
        const std::string name = Trim(line.substr(0, equals));
        if (name == "pad-select" || name == "pad-use") {
            std::uint32_t mask = 0;
            for (const char c : line.substr(equals + 1)) {
                if (c == ' ' || c == '\t') continue;
                if (c < '1' || c > '4') fail("the pad's buttons are 1 to 4");
                mask |= 1u << (c - '1');
            }
            if (mask == 0) fail(name + " needs a button");
            // A later line takes its buttons from the other control.
            if (name == "pad-select") b.padSelect_ = mask, b.padUse_ &= ~mask;
            else b.padUse_ = mask, b.padSelect_ &= ~mask;
            if (b.padSelect_ == 0 || b.padUse_ == 0) fail("select and use keep at least one button of the pad each");
            continue;
        }
        const auto control = std::find(ControlNames.begin(), ControlNames.end(), name);
        if (control == ControlNames.end()) fail("no control is called '" + name + "'");
        const int c = int(control - ControlNames.begin());
        if (seen[std::size_t(c)]) fail("a second line for " + name);
        seen[std::size_t(c)] = true;
        const std::string keys = line.substr(equals + 1);
        for (std::size_t at = 0; (at = keys.find_first_not_of(" \t", at)) != std::string::npos;) {
            const std::size_t stop = std::min(keys.find_first_of(" \t", at), keys.size());
            const std::string keyName = keys.substr(at, stop - at);
            at = stop;
            const NamedKey* key = KeyNamed(keyName);
            if (!key) fail(keyName == "Escape" ? "Escape cancels; it cannot be a key of the game" : "no key is called '" + keyName + "'");
            if (const std::string refused = b.Bind(Control(c), key->virtualKey); !refused.empty()) fail(refused);
        }
    }
    // A file written before a control was known lacks its line.
    const KeyBindings defaults = Defaults();
    for (int c = 0; c < ControlCount; ++c)
        if (!seen[std::size_t(c)])
            for (const int key : defaults.KeysOf(Control(c)))
                if (!b.ControlOf(key)) b.keys_[std::size_t(c)].push_back(key);
    for (int c = 0; c < ControlCount; ++c)
        if (b.keys_[std::size_t(c)].empty()) throw KeyBindingsError(std::string(ControlNames[std::size_t(c)]) + " has no key");
    return b;
}

std::vector<KeyHelpLine> KeyHelp(const KeyBindings& bindings)
{
    static constexpr std::array<std::string_view, ControlCount> Does = {
        "jump, climb up",
        "climb down",
        "walk left",
        "walk right",
        "select the next inventory slot",
        "use the selected item",
        "back to the title screen",
        "pause and resume",
        "stop racing: games start from the setup dialog again",
        "switch between the window and full screen",
        "while watching a run: held, four times the speed",
        "sound off and on",
        "on the title screen: choose the keys",
    };
    std::vector<KeyHelpLine> lines;
    for (int c = 0; c < ControlCount; ++c) {
        std::string keys;
        for (const int key : bindings.KeysOf(Control(c))) {
            if (!keys.empty()) keys += " or ";
            if (Control(c) == Control::Title) keys += "Shift+";
            keys += KeyOfCode(key)->name;
        }
        lines.push_back({keys, Does[std::size_t(c)], Control(c)});
    }
    return lines;
}
