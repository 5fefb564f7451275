#include "screens/sound_cues.h"

#include <cstdlib>

#include "play/actions.h"
#include "play/ghost.h"
#include "sound/sound_bank.h"

namespace {

constexpr std::int32_t HardLanding = 8;  // a fall this fast or faster lands with a thud
constexpr std::int32_t GhostNear = 64;   // pixels on both axes

// The sound of an item's use, by the action it starts.
std::string_view UseSound(std::uint8_t action)
{
    switch (action) {
    case ActionBomb: return "fuse";
    case ActionRope:
    case ActionPickaxe:
    case ActionDrill: return "aim";
    case ActionPotion: return "potion";
    case ActionCompass: return "compass";
    case ActionParachute: return "parachute";
    case ActionWand: return "wand";
    case ActionBird: return "bird";
    case ActionPistol: return "pistol";
    case ActionJet: return "jet";
    default: return "";
    }
}

// The sound of a choice carried out, by the action that ends.
std::string_view DoneSound(std::uint8_t action)
{
    switch (action) {
    case ActionRope: return "rope";
    case ActionPickaxe: return "dig";
    case ActionDrill: return "drill";
    default: return "";
    }
}

int Total(const std::array<std::uint8_t, 6>& counts)
{
    int total = 0;
    for (const std::uint8_t c : counts) total += c;
    return total;
}

}  // namespace

void SoundCues::Before(const GameState& state) { before_ = state; }

void SoundCues::Cue(std::string_view name, std::vector<int>& heard)
{
    if (!bank_) return;
    const int sound = bank_->IndexOf(name);
    if (sound < 0) return;
    lastPlayed_.resize(bank_->Sounds().size(), -1'000'000);
    if (ticks_ - lastPlayed_[std::size_t(sound)] < bank_->Sounds()[std::size_t(sound)].gap) return;
    lastPlayed_[std::size_t(sound)] = ticks_;
    heard.push_back(sound);
}

void SoundCues::After(const GameState& s, std::vector<int>& heard)
{
    ticks_ += 1;
    const PlayState& b = before_;
    const auto cue = [&](std::string_view name) { Cue(name, heard); };

    if (b.Screen == ScreenTitle && b.TitleTicks == 60 && s.TitleTicks == 61) cue("title");
    if (b.Screen != ScreenPlay) return;
    if (s.Screen == ScreenEnding || (s.Screen == ScreenTitle && s.DemoMode)) {
        cue("goal");
        if (s.Screen == ScreenEnding) cue("fanfare");
        return;
    }
    if (s.Screen != ScreenPlay) return;

    // The character.
    if (s.DeathTimer == 1 && b.DeathTimer != 1) cue(b.GhostTimer != 0 && s.GhostTimer == 0 ? "caught" : "death");
    if (b.DeathTimer != 0 && s.DeathTimer == 0) cue("reappear");
    const bool carried = Flying(b.Action) && b.Action != ActionParachute;
    if (b.FallSpeed >= 0 && s.FallSpeed < 0 && !carried && s.DeathTimer == 0) cue("jump");
    if (b.FallSpeed >= HardLanding && s.FallSpeed == 0 && s.DeathTimer == 0) cue("land");
    if (s.Action == ActionJet && b.Action == ActionJet && s.FallSpeed < b.FallSpeed && s.InputNow[InputUp]) cue("thrust");

    // Pickups and the inventory.
    if (s.Score > b.Score) cue("treasure");
    for (int slot = 0; slot < 6; ++slot)
        if (s.Inventory[slot] > b.Inventory[slot]) cue("item");
    if (s.SelectedSlot != b.SelectedSlot) cue("select");

    // The items at work.
    const bool use = s.InputNow[ButtonUse] && !s.InputPrev[ButtonUse];
    const bool started = s.Action != ActionNone && (s.Action != b.Action || s.ActionTimer > b.ActionTimer);
    if (use && MovesFreely(b.Action) && started) cue(UseSound(s.Action));
    else if (use && MovesFreely(b.Action) && s.Inventory[s.SelectedSlot] == 0) cue("empty");
    if (b.Action != s.Action && s.Action == ActionNone && Total(s.Inventory) < Total(b.Inventory)) cue(DoneSound(b.Action));
    if (b.Action == ActionBomb && b.ActionTimer == 1 && s.Action == ActionNone) cue("blast");

    // The ghost.
    if (b.GhostTimer == 0 && s.GhostTimer == GhostActive) cue("ghost");
    if (b.GhostTimer == GhostActive && s.GhostTimer > 0 && s.GhostTimer < GhostActive) cue("banish");
    if (s.GhostTimer == GhostActive && std::abs(s.GhostX - s.PlayerX) < GhostNear && std::abs(s.GhostY - s.PlayerY) < GhostNear)
        cue("ghost-near");
}
