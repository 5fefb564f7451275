#include "board/submission.h"

#include "cave/replay.h"

namespace {

// A 64-bit FNV-1a, finished with a mix so that its high bits spread too.
std::uint64_t Hash(const std::uint8_t* bytes, std::size_t size)
{
    std::uint64_t h = 0xcbf29ce484222325ull;
    for (std::size_t i = 0; i < size; ++i) h = (h ^ bytes[i]) * 0x100000001b3ull;
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdull;
    h ^= h >> 33;
    return h;
}

}  // namespace

CheckedSubmission CheckRun(const RunFile& run, const BoardDay& today)
{
    const GameSettings& s = run.header.settings;
    const auto day = BoardDayOfSeed(s.seed);
    if (!day || (*day != today && *day != today.Before()))
        throw Refusal(422, "not a daily cave: its seed " + std::to_string(s.seed) + " is not the daily seed of " + today.Text() +
                               " (" + std::to_string(today.Seed()) + ") or " + today.Before().Text() +
                               "; start the game with --daily, or the page with ?daily");
    // A slower clock makes the same game easier to play well: the board is for full speed.
    if (run.header.speed < RunHeader::FullSpeed)
        throw Refusal(422, "played at " + std::to_string(run.header.speed) + "% speed: the board takes games played at full speed");
    CheckedSubmission checked{run, {}, *day, BoardSettingsOf(s), RunFileBytes(run)};
    try {
        checked.replay = ReplayRun(run);
    } catch (const RunFileError& e) {
        throw Refusal(400, std::string("a damaged run file: ") + e.what());
    }
    if (!checked.replay.reachedGoal)
        throw Refusal(422, run.header.Complete() ? "the run does not reach the goal: only runs that take the exit go on the board"
                                                 : "the run does not reach the goal within the 65,520 ticks a run file holds");
    return checked;
}

CheckedSubmission CheckSubmission(const std::vector<std::uint8_t>& bytes, const BoardDay& today)
{
    if (bytes.size() > std::size_t(ReplayFileBytes))
        throw Refusal(413, "too large: a run file has " + std::to_string(ReplayFileBytes) + " bytes");
    RunFile run;
    try {
        run = ParseRunFile(bytes, CaveCheck::Later);  // the replay makes the cave and checks it
    } catch (const RunFileError& e) {
        throw Refusal(400, std::string("a damaged run file: ") + e.what());
    }
    return CheckRun(run, today);
}

std::uint64_t InputsHash(const std::vector<std::uint16_t>& inputs)
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(2 * inputs.size());
    for (std::uint16_t w : inputs) {
        bytes.push_back(std::uint8_t(w));
        bytes.push_back(std::uint8_t(w >> 8));
    }
    return Hash(bytes.data(), bytes.size());
}

bool SameInputs(const RunFile& a, const RunFile& b) { return a.inputs == b.inputs; }

std::uint64_t BytesHash(const std::vector<std::uint8_t>& bytes) { return Hash(bytes.data(), bytes.size()); }
