#include "tools/solver/recording.h"

#include "cave/replay.h"
#include "play/actions.h"
#include "screens/frame_tick.h"

std::vector<std::uint8_t> ReplayFileImage(std::uint32_t randomState, const std::vector<std::uint16_t>& inputs)
{
    std::vector<std::uint8_t> bytes(ReplayFileBytes, 0);
    for (int i = 0; i < 4; ++i) bytes[2 * i] = std::uint8_t(randomState >> (8 * i));
    for (std::size_t k = 0; k < inputs.size() && k < MaxRecordedTicks; ++k) {
        bytes[2 * (FirstInputWord + k)] = std::uint8_t(inputs[k]);
        bytes[2 * (FirstInputWord + k) + 1] = std::uint8_t(inputs[k] >> 8);
    }
    return bytes;
}

PlayOut PlayRecording(Game& game, const std::vector<std::uint16_t>& inputs)
{
    GameState& s = game.state;
    PlayOut out;
    s.Screen = ScreenPlay;
    for (std::uint16_t word : inputs) {
        const InputFlags now = FlagsFromWord(word);
        if (MovesFreely(s.Action) && now[ButtonUse] && !s.InputNow[ButtonUse]) {
            const int selectPressed = now[ButtonSelect] && !s.InputNow[ButtonSelect];
            if (s.Inventory[(s.SelectedSlot + selectPressed) % 6] == 0) out.usedEmptySlot = true;
        }
        const auto before = s.Inventory;
        const std::int32_t deathBefore = s.DeathTimer;
        s.KeysHeld = now;
        FrameTick(game);
        ++out.ticks;
        for (int i = 0; i < 6; ++i)
            if (s.Inventory[i] < before[i]) out.itemsUsed += before[i] - s.Inventory[i];
        if (s.DeathTimer != 0 && deathBefore == 0) ++out.deaths;
        if (s.Screen != ScreenPlay) {
            out.goalTaken = true;
            break;
        }
    }
    out.score = s.Score;
    return out;
}
