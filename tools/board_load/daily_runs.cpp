#include "tools/board_load/daily_runs.h"

#include <stdexcept>

#include "board/par.h"

RunFile AutomaticDailyRun(const BoardDay& day, const BoardSettings& settings)
{
    const AutomaticRun found = PlayAutomatically(settings.Game(day), ParLimits{.seconds = 60});
    if (!found.run) throw std::runtime_error("no automatic run for " + day.Text() + ": " + found.note);
    return *found.run;
}

RunFile StandingFirst(const RunFile& run, std::uint32_t ticks)
{
    RunFile standing = run;
    standing.inputs.insert(standing.inputs.begin(), ticks, 0);
    standing.header.ticks += ticks;
    return standing;
}
