#include "screens/run_recorder.h"

#include <algorithm>

#include "cave/replay.h"
#include "play/game.h"

RunRecorder::Event RunRecorder::AfterTick(const Game& game, int screenBefore, int speed)
{
    const GameState& s = game.state;
    if (s.DemoMode) return Event::None;
    if (playing_) header_.speed = std::min(header_.speed, speed);
    if (screenBefore == ScreenTitle && s.Screen == ScreenPlay) {
        playing_ = true;
        finished_.reset();
        header_ = RunHeader{};
        header_.settings = game.settings;
        header_.facing = s.Facing;
        header_.inputBefore = InputWord(s.InputNow);
        header_.speed = speed;
        return Event::Started;
    }
    if (screenBefore == ScreenPlay && s.Screen == ScreenEnding) return End(game, RunEnding::Goal);
    return Event::None;
}

RunRecorder::Event RunRecorder::Leaving(const Game& game, RunEnding ending)
{
    if (game.state.Screen != ScreenPlay || game.state.DemoMode) return Event::None;
    return End(game, ending);
}

RunRecorder::Event RunRecorder::End(const Game& game, RunEnding ending)
{
    if (!playing_) return Event::None;
    playing_ = false;
    header_.ending = ending;
    header_.ticks = std::uint32_t(game.state.FrameIndex - FirstInputWord);
    finished_ = RunFromRecording(game.state.ReplayBuffer, header_);
    return Event::Ended;
}
