// Both programs' command lines as a user meets them: help, version, mistakes,
// and the manual pages that document them.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <regex>
#include <set>
#include <tuple>

#include "tests/support/run_program.h"

namespace {

struct Program {
    std::string path, name, manualPage;
};

const Program Programs[] = {
    {BURROWKIN_GAME, "burrowkin", BURROWKIN_MAN_DIR "/burrowkin.6"},
    {BURROWKIN_SIM, "burrowkin-sim", BURROWKIN_MAN_DIR "/burrowkin-sim.6"},
    {BURROWKIN_BOARD, "burrowkin-board", BURROWKIN_MAN_DIR "/burrowkin-board.6"},
};

// Without any display: what these answer must not need one.
ProgramRun Start(const Program& program, const std::string& arguments)
{
    return RunProgram("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + program.path + " " + arguments);
}

int Lines(const std::string& text) { return int(std::count(text.begin(), text.end(), '\n')); }

TEST(ProgramUsage, HelpAndVersionAnswerOnStandardOutput)
{
    for (const Program& program : Programs) {
        const ProgramRun help = Start(program, "--help");
        EXPECT_EQ(help.status, 0) << program.name << help.err;
        EXPECT_EQ(help.err, "");
        EXPECT_EQ(help.out.find("sage: " + program.name), 1u) << help.out;
        const ProgramRun version = Start(program, "--version");
        EXPECT_EQ(version.status, 0);
        EXPECT_EQ(version.out, program.name + " (Korvane Burrowkin) " BURROWKIN_VERSION "\n");
        // A full disk is no success.
        EXPECT_EQ(Start(program, "--help >/dev/full").status, 1) << program.name;
    }
    EXPECT_NE(Start(Programs[0], "--help").out.find("F11"), std::string::npos);
}

TEST(ProgramUsage, MistakesAreOneLineNamingThemAndStatusTwo)
{
    const Program &game = Programs[0], &sim = Programs[1];
    const std::tuple<const Program&, std::string, std::string> cases[] = {
        {game, "--bogus", "'--bogus'"},
        {game, "--scale", "--scale needs a value"},
        {game, "--seed=x", "'x'"},
        {sim, "generate --bogus", "'--bogus'"},
        {sim, "generate --width", "--width needs a value"},
        {sim, "generate --seed=x", "'x'"},
        {game, "--scale 9", "'9'"},
        {game, "--race --record", "--race needs a value"},
        {sim, "race a.burrowkin-run --inputs --run b.burrowkin-run", "--inputs needs a value"},
        {sim, "generate --width 5 --width 6", "--width is given twice"},
        {sim, "generate 7", "'7'"},
        {sim, "--version extra", "'extra'"},
        {sim, "solve --force", "--force goes with --out"},
        {sim, "generate --png-scale 2", "--png-scale goes with --png"},
    };
    for (const auto& [program, arguments, named] : cases) {
        const ProgramRun r = Start(program, arguments);
        EXPECT_EQ(r.status, 2) << program.name << " " << arguments;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(Lines(r.err), 1) << r.err;
        EXPECT_EQ(r.err.rfind(program.name + ": ", 0), 0u) << r.err;
        EXPECT_NE(r.err.find(named), std::string::npos) << r.err;
    }
}

TEST(ProgramUsage, TheManualPagesRenderCleanlyAndDocumentEveryOptionOfTheHelp)
{
    for (const Program& program : Programs) {
        const ProgramRun groff = RunProgram("groff -ww -z -man " + program.manualPage);
        EXPECT_EQ(groff.status, 0);
        EXPECT_EQ(groff.out + groff.err, "") << program.manualPage;

        std::ifstream in(program.manualPage);
        const std::string page((std::istreambuf_iterator<char>(in)), {});
        const std::string help = Start(program, "--help").out;
        const std::regex option("--[a-z][a-z-]*");
        std::set<std::string> options(std::sregex_token_iterator(help.begin(), help.end(), option), {});
        EXPECT_GT(options.size(), 3u);
        for (std::string name : options) {
            const std::string written = std::regex_replace(name, std::regex("-"), "\\-");
            EXPECT_NE(page.find(written), std::string::npos) << name << " is missing from " << program.manualPage;
        }
    }
}

}  // namespace
