#pragma once

#include <cstdint>
#include <ctime>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/game_settings.h"
#include "core/game_state.h"

// A run file keeps one game: the replay buffer as replay.dat holds it, with
// what the game was in words 4 to 15, which the demonstration never reads.
//
//   words 0..3    the random state after the cave was made, a byte a word
//   words 4, 5    the signature: the file's bytes 8 to 11 are "BKRN"
//   word 6        the format version, 1 (low byte); the speed of the clock
//                 in percent when the game was played slower than 20 ticks
//                 a second, 50 to 90 (high byte; 0 at full speed, as every
//                 file before slower games had it)
//   words 7, 8    the seed of the cave, low half first
//   words 9, 10   the width and the height, 1..216
//   word 11       the character 0..2 (low byte), beginner 0 or 1 (high byte)
//   word 12       the fatal falling speed 0..16 (low byte), Facing at the
//                 start, 0 or 8 (high byte)
//   word 13       how the game ended (low byte: 1 the goal, 2 Shift+F2, 3 the
//                 window closed), the input word of the tick before the
//                 first (high byte)
//   words 14, 15  the ticks played, low half first; more than 65,520 means
//                 the file holds only the first 65,520: the run is incomplete
//   word 16 + k   the input of tick k
//   word 65536    0

enum class RunEnding : std::uint8_t { Goal = 1, Quit = 2, Closed = 3 };

constexpr int RunFormatVersion = 1;
// The ticks a recording holds: words 16 to 65535.
constexpr std::uint32_t RecordedTicks = ReplayWords - 1 - 16;

struct RunHeader {
    GameSettings settings{};
    std::uint8_t facing = 0;        // Facing as the game found it: the last game left it
    std::uint16_t inputBefore = 0;  // the title's last input: the first tick's edges depend on it
    RunEnding ending = RunEnding::Goal;
    std::uint32_t ticks = 0;
    int speed = FullSpeed;  // percent of 20 ticks a second: slower games say so

    static constexpr int FullSpeed = 100;
    bool Complete() const { return ticks <= RecordedTicks; }
};

struct RunFile {
    RunHeader header;
    std::uint32_t randomState = 0;      // after the cave was made
    std::vector<std::uint16_t> inputs;  // a word a recorded tick
};

// How run files end their names.
inline constexpr const char* RunExtension = ".burrowkin-run";

// "2026-12-08_14-03-27_100x100_character0_seed41234567.burrowkin-run": when
// the game started (local time), its size, its character and its seed; a
// copy past the first gets "-2", "-3" and so on before the extension.
std::string RunFileName(const RunHeader& header, std::time_t started, int copy = 1);

struct RunFileError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A run as the replay buffer holds it at the end of the game.
RunFile RunFromRecording(const ReplayWordBuffer& buffer, const RunHeader& header);

// The 131,074 bytes of the file.
std::vector<std::uint8_t> RunFileBytes(const RunFile& run);

// Reads and checks a file: the size, the signature, the version, that every
// value is in range, and that its seed makes the cave it was played in (or,
// with CaveCheck::Later, leaves that to a replay that makes the cave
// anyway). Throws RunFileError naming the file and the problem.
enum class CaveCheck { Make, Later };
RunFile ParseRunFile(const std::vector<std::uint8_t>& bytes, CaveCheck cave = CaveCheck::Make);
// Whether a cave made from the run's settings is the cave it was played in:
// made at all, and leaving the random state the run recorded.
void CheckCaveMade(const RunFile& run, bool made, std::uint32_t randomState);
RunFile ReadRunFile(const std::string& path);
